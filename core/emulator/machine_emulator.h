// The machine's side of the protocol: memories, mode slots, identity, meters, keys, with fault injection.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/clock.h"
#include "emulator/emulator_options.h"
#include "emulator/working_set.h"
#include "emulator/zwave_controller.h"
#include "model/report.h"

namespace vireo::emulator {

inline constexpr std::uint8_t kInputReportId = 0x01;
inline constexpr std::uint8_t kResetConfirmation = 170;

// Every request the machine receives is answered. Requests without an answer of their own (3, 4, 5,
// 6, 97, 99, 104, 133, 138, 145 and unknown codes) get a two-byte acknowledgement: the request's code
// and a zero status. The host's dispatcher ignores those codes, but its pacing counts every report,
// so a long run of block writes is paced by the machine instead of a 2000 ms time-out each.
class MachineEmulator {
 public:
  explicit MachineEmulator(Clock& clock, EmulatorOptions options = {});

  // --- the USB side (thread-safe) ---
  // One output report from the host (61 bytes, byte 0 the report id); queues the replies.
  void Receive(std::span<const std::uint8_t> report);
  // The earliest queued reply whose time has come.
  std::optional<Report> TakeDueReply();
  // When the earliest queued reply falls due; nothing when the queue is empty.
  std::optional<std::int64_t> NextDueMs() const;
  // The cable went: replies in flight are lost, learning stops.
  void DiscardQueuedReplies();
  std::size_t requestCount() const;

  // --- state set-up ---
  // Replaces the working set with what a machine holds after receiving `store` (a mode file's contents).
  void LoadWorkingSet(const ParameterStore& store);
  // The same from a mode file loaded over the store defaults; false with the reader's reason.
  bool LoadModeFile(const std::string& path, std::string* reason);
  // Changes the identity or faults from now on (e.g. a model name that differs on the next query).
  void SetOptions(const EmulatorOptions& options);
  EmulatorOptions options() const;
  // How many model-name queries answer an empty name before the real one (a slow-waking machine).
  void SetModelNameMisses(int count);

  // --- inspection (tests, demo) ---
  // The requests received, in order. A demo that runs for days would grow this without end, so only
  // the newest kRequestTraceLimit are kept; requestCount() still counts every one.
  static constexpr std::size_t kRequestTraceLimit = 100000;
  std::vector<Report> Requests() const;
  void ClearRequests();
  std::optional<std::vector<std::uint32_t>> Param(int module, int param) const;
  std::vector<std::uint8_t> Block(int address, int length) const;
  WorkingSet workingSet() const;
  WorkingSet slotContents(int slot) const;
  int currentMode() const;
  std::array<std::uint8_t, 13> machineSettings() const;
  std::array<std::uint8_t, 18> remoteKeyTable() const;
  std::u16string modeName(int slot) const;
  // A copy of the Z-Wave controller: its nodes and the smart-home memory.
  ZWaveController zwave() const;

 private:
  struct Pending {
    std::int64_t due;
    Report report;
    bool learning;
    bool addRemoveMode = false;  // taken back when the host stops add or remove mode
  };
  void Handle(const Report& request);
  void Queue(Report reply, int extraDelayMs = 0, bool learning = false, bool addRemoveMode = false);
  void OnZWaveFrame(const Report& request);
  void Ack(std::uint8_t requestCode);
  void ReplyParam(const Report& request);
  void WriteParamMemory(const Report& request);
  void WriteBlockMemory(const Report& request);
  void ReplyBlock(const Report& request);
  void ReplyText(std::uint8_t replyCode, const std::string& text);
  void ReplyModeNames();
  void ReplyMeters();
  void SelectSlot(std::uint8_t requestCode, int slot);
  void FactoryReset();
  void ApplyFaults(Report& reply, bool* drop);

  Clock& clock_;
  mutable std::mutex lock_;
  EmulatorOptions options_;
  int modelNameMisses_ = 0;
  WorkingSet working_;
  std::array<WorkingSet, 4> slots_;
  std::array<std::uint8_t, kBlockSpaceBytes - kWorkingBlockBytes> nameBlock_{};
  std::array<std::uint8_t, 13> settings_{};
  std::array<std::uint8_t, 18> keys_{};
  ZWaveController zwave_;
  int currentMode_ = 0;
  std::uint32_t meterTick_ = 0;
  std::uint64_t repliesQueued_ = 0;
  std::uint32_t garbleState_ = 0;
  std::deque<Pending> outbox_;
  std::vector<Report> requests_;
  std::size_t requestsDropped_ = 0;
};

}  // namespace vireo::emulator
