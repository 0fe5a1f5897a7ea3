// The emulated machine's reply queue with latency and injected faults, its meters and its inspection.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "emulator/machine_emulator.h"
#include "model/mode_file.h"

namespace vireo::emulator {
namespace {

bool Hits(FaultPattern pattern, int every, std::uint64_t n) {
  if (pattern == FaultPattern::all) return true;
  return pattern == FaultPattern::everyNth && every > 0 && n % static_cast<std::uint64_t>(every) == 0;
}

std::uint8_t Wave(std::uint32_t tick, int period, int low, int high) {
  const double phase = 2.0 * 3.14159265358979 *
                       static_cast<double>(tick % static_cast<std::uint32_t>(period)) /
                       static_cast<double>(period);
  return static_cast<std::uint8_t>(low + (high - low) * (0.5 + 0.5 * std::sin(phase)));
}

}  // namespace

void MachineEmulator::Queue(Report reply, int extraDelayMs, bool learning, bool addRemoveMode) {
  reply[0] = kInputReportId;
  bool drop = false;
  ApplyFaults(reply, &drop);
  if (drop) return;
  const std::int64_t due = clock_.NowMs() + options_.replyLatencyMs + extraDelayMs;
  // Keep the queue ordered by due time; equal times keep their order.
  const auto at = std::upper_bound(outbox_.begin(), outbox_.end(), due,
                                   [](std::int64_t t, const Pending& p) { return t < p.due; });
  outbox_.insert(at, Pending{due, reply, learning, addRemoveMode});
}

void MachineEmulator::ApplyFaults(Report& reply, bool* drop) {
  const std::uint64_t n = ++repliesQueued_;
  if (Hits(options_.dropReplies, options_.dropEvery, n)) {
    *drop = true;
    return;
  }
  if (!Hits(options_.garbleReplies, options_.garbleEvery, n)) return;
  for (std::size_t i = 1; i < reply.size(); ++i) {  // xorshift32: repeatable noise
    garbleState_ ^= garbleState_ << 13;
    garbleState_ ^= garbleState_ >> 17;
    garbleState_ ^= garbleState_ << 5;
    reply[i] = static_cast<std::uint8_t>(garbleState_);
  }
}

std::optional<Report> MachineEmulator::TakeDueReply() {
  std::lock_guard guard(lock_);
  if (outbox_.empty() || outbox_.front().due > clock_.NowMs()) return std::nullopt;
  Report r = outbox_.front().report;
  outbox_.pop_front();
  return r;
}

std::optional<std::int64_t> MachineEmulator::NextDueMs() const {
  std::lock_guard guard(lock_);
  if (outbox_.empty()) return std::nullopt;
  return outbox_.front().due;
}

void MachineEmulator::DiscardQueuedReplies() {
  std::lock_guard guard(lock_);
  outbox_.clear();
}

std::size_t MachineEmulator::requestCount() const {
  std::lock_guard guard(lock_);
  return requestsDropped_ + requests_.size();
}

void MachineEmulator::ReplyMeters() {
  // Slowly moving levels, a stable wireless pair on two channels, and a format flag that cycles.
  const std::uint32_t t = meterTick_++;
  Report reply = MakeCommand(code::levelMeters);
  for (int i = 0; i < 4; ++i)
    reply[static_cast<std::size_t>(2 + i)] = Wave(t + 3 * static_cast<std::uint32_t>(i), 17, 0, 200);
  reply[6] = Wave(t, 23, 10, 230);
  reply[7] = Wave(t + 5, 23, 10, 230);
  reply[8] = static_cast<std::uint8_t>(static_cast<std::int8_t>(-20 + Wave(t, 29, 0, 16)));
  constexpr std::array<std::uint8_t, 4> kFormats{0, 1, 2, 4};
  reply[9] = kFormats[(t / 20) % kFormats.size()];
  reply[10] = Wave(t, 31, 150, 250);  // microphone 1: RF, AF, channel, battery
  reply[11] = Wave(t, 11, 0, 15);
  reply[12] = 37;
  reply[13] = Wave(t / 10, 50, 190, 210);
  reply[14] = Wave(t + 9, 31, 140, 240);  // microphone 2
  reply[15] = Wave(t + 4, 11, 0, 15);
  reply[16] = 120;
  reply[17] = Wave(t / 10 + 25, 50, 160, 205);
  Queue(reply);
}

void MachineEmulator::LoadWorkingSet(const ParameterStore& store) {
  WorkingSet set = WorkingSetFromStore(store);
  std::lock_guard guard(lock_);
  working_ = std::move(set);
}

bool MachineEmulator::LoadModeFile(const std::string& path, std::string* reason) {
  ParameterStore state;
  ResetStoreDefaults(state);
  const ModeFileResult loaded = ReadModeFile(state, path);
  if (!loaded.ok) {
    if (reason != nullptr) *reason = loaded.errorCode != 0 ? std::strerror(loaded.errorCode) : loaded.reason;
    return false;
  }
  LoadWorkingSet(state);
  return true;
}

void MachineEmulator::SetOptions(const EmulatorOptions& options) {
  std::lock_guard guard(lock_);
  options_ = options;
}

EmulatorOptions MachineEmulator::options() const {
  std::lock_guard guard(lock_);
  return options_;
}

void MachineEmulator::SetModelNameMisses(int count) {
  std::lock_guard guard(lock_);
  modelNameMisses_ = std::max(0, count);
}

std::vector<Report> MachineEmulator::Requests() const {
  std::lock_guard guard(lock_);
  return requests_;
}

void MachineEmulator::ClearRequests() {
  std::lock_guard guard(lock_);
  requests_.clear();
  requestsDropped_ = 0;
}

std::optional<std::vector<std::uint32_t>> MachineEmulator::Param(int module, int param) const {
  std::lock_guard guard(lock_);
  const auto it = working_.params.find({module, param});
  if (it == working_.params.end()) return std::nullopt;
  return it->second;
}

std::vector<std::uint8_t> MachineEmulator::Block(int address, int length) const {
  std::lock_guard guard(lock_);
  std::vector<std::uint8_t> out;
  for (int at = std::max(0, address); at < address + length && at < kBlockSpaceBytes; ++at) {
    out.push_back(at < kWorkingBlockBytes ? working_.blocks[static_cast<std::size_t>(at)]
                                          : nameBlock_[static_cast<std::size_t>(at - kWorkingBlockBytes)]);
  }
  return out;
}

WorkingSet MachineEmulator::workingSet() const {
  std::lock_guard guard(lock_);
  return working_;
}

WorkingSet MachineEmulator::slotContents(int slot) const {
  std::lock_guard guard(lock_);
  return slots_[static_cast<std::size_t>(std::clamp(slot, 0, 3))];
}

int MachineEmulator::currentMode() const {
  std::lock_guard guard(lock_);
  return currentMode_;
}

std::array<std::uint8_t, 13> MachineEmulator::machineSettings() const {
  std::lock_guard guard(lock_);
  return settings_;
}

std::array<std::uint8_t, 18> MachineEmulator::remoteKeyTable() const {
  std::lock_guard guard(lock_);
  return keys_;
}

ZWaveController MachineEmulator::zwave() const {
  std::lock_guard guard(lock_);
  return zwave_;
}

std::u16string MachineEmulator::modeName(int slot) const {
  std::lock_guard guard(lock_);
  std::u16string name;
  const auto base = static_cast<std::size_t>(std::clamp(slot, 0, 3) * kModeNameStride);
  for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(kModeNameStride); i += 2) {
    const auto ch = static_cast<char16_t>((nameBlock_[base + i] << 8) | nameBlock_[base + i + 1]);
    if (ch == 0) break;
    name.push_back(ch);
  }
  return name;
}

}  // namespace vireo::emulator
