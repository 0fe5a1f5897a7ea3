// The machine's Z-Wave controller with a small network of plugs, and its smart-home memory.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "emulator/emulator_options.h"
#include "model/report.h"

namespace vireo::emulator {

inline constexpr int kSmartHomeMemoryBytes = 6860;

// A reply report with the time it takes, and whether it belongs to add or remove mode (an abort
// takes those back).
struct ZWaveReply {
  Report report;
  int delayMs = 0;
  bool addRemoveMode = false;
};

class ZWaveController {
 public:
  enum class PlugKind { switchPlug, knobPlug, infrared };
  struct Node {
    PlugKind kind = PlugKind::switchPlug;
    std::uint8_t value = 0;
    std::bitset<63> learnedKeys;
  };

  // The demo network: controller 1, "Lamp" (2, switch), "Dimmer" (3, knob), "IR Plug" (4, infrared
  // with keys 1..3 learned), their records and three scenes in the memory.
  ZWaveController();

  // Request 18 (one frame). Frames of the host are acknowledged; the host's acknowledgements get
  // nothing.
  std::vector<ZWaveReply> OnFrameReport(const Report& request, const EmulatorOptions& options);
  // Requests 19 and 20.
  void WriteMemory(const Report& request);
  Report ReadMemory(const Report& request) const;
  // An abort took back queued add / remove replies: the join or removal they announced did not happen.
  void TakeBack();

  bool present(int node) const { return nodes_.count(node) != 0; }
  int value(int node) const;
  const std::map<int, Node>& nodes() const { return nodes_; }
  std::vector<std::uint8_t> Memory(int address, int length) const;

 private:
  ZWaveReply Frame(std::uint8_t type, std::uint8_t function, std::vector<std::uint8_t> params,
                   int delayMs = 0, bool addRemoveMode = false) const;
  ZWaveReply NodeReport(int node, std::uint8_t value, int delayMs) const;
  void SendData(const std::vector<std::uint8_t>& p, const EmulatorOptions& options,
                std::vector<ZWaveReply>& out);
  void PutRecord(int node, std::uint8_t type, std::u16string_view name);

  std::map<int, Node> nodes_;
  std::array<std::uint8_t, kSmartHomeMemoryBytes> memory_{};
  int joinedNode_ = 0;                   // the node the last add announced
  std::pair<int, Node> removed_{0, {}};  // the node the last removal announced
};

}  // namespace vireo::emulator
