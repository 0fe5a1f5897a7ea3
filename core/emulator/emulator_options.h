// How the emulated machine presents itself and which faults it injects.
#pragma once

#include <cstdint>
#include <string>

namespace vireo::emulator {

// Which replies get lost or mangled: none, every Nth reply (counting from 1), or all of them.
enum class FaultPattern { none, everyNth, all };

struct EmulatorOptions {
  int replyLatencyMs = 0;           // time from a request to its reply, through the clock
  std::string modelName = "Calyx";  // reply 128 (bytes, NUL-terminated on the wire)
  std::uint8_t kind = 18;           // reply 127
  std::string firmwareDate = "2013-06-21";
  std::string secondDate = "2013-07-02";
  FaultPattern dropReplies = FaultPattern::none;
  int dropEvery = 0;
  FaultPattern garbleReplies = FaultPattern::none;
  int garbleEvery = 0;
  std::uint32_t garbleSeed = 0x5eed;
  int unplugAfterReports = 0;  // 0 = never; otherwise the cable goes after this many requests
  int learnDelayMs = 1500;     // remote-key learning: time until the "pressed key" reply
  // The Z-Wave controller and its plugs.
  int zwaveSilentNode = 0;         // a node that acknowledges every frame but never reports its value
  bool zwaveAddFails = false;      // add mode ends with status 7
  bool zwaveRemoveFails = false;   // remove mode ends with status 7
  bool zwaveNoNodeList = false;    // the node list request goes unanswered
  int zwaveJoinDelayMs = 1500;     // add / remove: time until the plug's button has been held
  int zwaveIrLearnDelayMs = 1000;  // an infrared plug: time until the remote's key has been seen
};

}  // namespace vireo::emulator
