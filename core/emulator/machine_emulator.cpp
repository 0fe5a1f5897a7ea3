// Request handling of the emulated machine: memories, mode slots, settings, keys and the reply queue.
#include "emulator/machine_emulator.h"

#include <algorithm>

namespace vireo::emulator {
namespace {

constexpr std::array<std::u16string_view, 4> kFactoryModeNames{u"电影", u"K歌", u"游戏", u"AV"};

int Address(const Report& r) {
  return (r[2] << 8) | r[3];
}
int ClampSlot(int s) {
  return std::clamp(s, 0, 3);
}

std::array<std::uint8_t, 13> FactorySettings() {
  // Volume save by power, start volumes enabled at 60, maximum volumes 99, reserved bytes as shipped.
  return {0, 0, 0, 60, 60, 99, 99, 0, 0, 0x12, 0x34, 0, 0};
}

std::array<std::uint8_t, 18> FactoryKeys() {
  std::array<std::uint8_t, 18> keys{};
  keys[0] = 0x00;  // the remote's customer code
  for (std::size_t i = 1; i < keys.size(); ++i) keys[i] = static_cast<std::uint8_t>(0x40 + i);
  return keys;
}

void PutName(std::span<std::uint8_t> area, std::u16string_view name) {
  std::fill(area.begin(), area.end(), 0);
  for (std::size_t i = 0; i < name.size() && 2 * i + 1 < area.size(); ++i) {
    area[2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
    area[2 * i + 1] = static_cast<std::uint8_t>(name[i]);
  }
}

}  // namespace

MachineEmulator::MachineEmulator(Clock& clock, EmulatorOptions options)
    : clock_(clock), options_(std::move(options)), garbleState_(options_.garbleSeed | 1u) {
  FactoryReset();
}

void MachineEmulator::FactoryReset() {
  working_ = FactoryWorkingSet();
  slots_.fill(working_);
  settings_ = FactorySettings();
  keys_ = FactoryKeys();
  currentMode_ = 0;
  for (std::size_t s = 0; s < kFactoryModeNames.size(); ++s) {
    PutName(std::span(nameBlock_).subspan(s * kModeNameStride, kModeNameStride), kFactoryModeNames[s]);
  }
}

void MachineEmulator::Receive(std::span<const std::uint8_t> report) {
  Report request{};
  std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
  std::lock_guard guard(lock_);
  if (requests_.size() >= kRequestTraceLimit) {
    // Drop the older half at once so trimming stays cheap per request.
    const std::size_t drop = kRequestTraceLimit / 2;
    requests_.erase(requests_.begin(), requests_.begin() + static_cast<std::ptrdiff_t>(drop));
    requestsDropped_ += drop;
  }
  requests_.push_back(request);
  Handle(request);
}

void MachineEmulator::Handle(const Report& r) {
  const std::uint8_t requestCode = r[1];
  switch (requestCode) {
    case code::setMode:
      currentMode_ = ClampSlot(r[2]);
      return Ack(requestCode);
    case code::storeMode:
    case code::recallMode:
    case code::restoreMode:
      SelectSlot(requestCode, ClampSlot(r[2]));
      return Ack(requestCode);
    case code::queryMode:
      return Queue(MakeCommand(code::queryMode, {static_cast<std::uint8_t>(currentMode_)}));
    case code::writeParam:
      WriteParamMemory(r);
      return Queue(MakeCommand(code::writeParam, {0, r[3], r[4]}));
    case code::readParam:
      return ReplyParam(r);
    case code::levelMeters:
      return ReplyMeters();
    case code::learnKey: {
      const auto index = static_cast<std::uint8_t>(std::clamp<int>(r[2], 1, 17));
      const auto learned = static_cast<std::uint8_t>(0x80 + index);
      keys_[index] = learned;
      return Queue(MakeCommand(code::learnKey, {keys_[0], index, learned}), options_.learnDelayMs, true);
    }
    case code::stopLearning:
      std::erase_if(outbox_, [](const Pending& p) { return p.learning; });
      return Ack(requestCode);
    case code::readKeyTable:
      return Queue(MakeCommand(code::readKeyTable, std::span(keys_.data(), 16)));
    case code::writeKeyTable:
      std::copy_n(r.begin() + 2, keys_.size(), keys_.begin());
      return Ack(requestCode);
    case code::reset:
      if (r[2] == kResetConfirmation) FactoryReset();
      return Ack(requestCode);
    case code::queryKind:
      return Queue(MakeCommand(code::queryKind, {options_.kind}));
    case code::queryModel:
      if (modelNameMisses_ > 0) {
        --modelNameMisses_;
        return ReplyText(code::queryModel, "");
      }
      return ReplyText(code::queryModel, options_.modelName);
    case code::queryFirmware:
      return ReplyText(code::queryFirmware, options_.firmwareDate);
    case code::writeBlock:
      WriteBlockMemory(r);
      return Ack(requestCode);
    case code::readBlock:
      return ReplyBlock(r);
    case code::applySettings:
      std::copy_n(r.begin() + 2, settings_.size(), settings_.begin());
      return Ack(requestCode);
    case code::readSettings:
      return Queue(MakeCommand(code::readSettings, settings_));
    case code::zwaveFrame:
      return OnZWaveFrame(r);
    case code::smartHomeWrite:
      zwave_.WriteMemory(r);
      return Ack(requestCode);
    case code::smartHomeRead:
      return Queue(zwave_.ReadMemory(r));
    case code::identityDone:
      ReplyText(code::secondDate, options_.secondDate);
      return ReplyModeNames();
    default:
      return Ack(requestCode);
  }
}

void MachineEmulator::OnZWaveFrame(const Report& r) {
  // Stopping add or remove mode (0x4A / 0x4B with 0x05) takes back what the held button would bring.
  const bool stop = r[2] >= 5 && r[3] == 0x01 && (r[6] == 0x4A || r[6] == 0x4B) && r[7] == 0x05;
  if (stop && std::erase_if(outbox_, [](const Pending& p) { return p.addRemoveMode; }) > 0) zwave_.TakeBack();
  for (const ZWaveReply& reply : zwave_.OnFrameReport(r, options_)) {
    Queue(reply.report, reply.delayMs, false, reply.addRemoveMode);
  }
}

void MachineEmulator::SelectSlot(std::uint8_t requestCode, int slot) {
  const auto s = static_cast<std::size_t>(slot);
  if (requestCode == code::storeMode) slots_[s] = working_;
  if (requestCode == code::restoreMode) slots_[s] = FactoryWorkingSet();
  if (requestCode != code::storeMode) working_ = slots_[s];
  currentMode_ = slot;
}

void MachineEmulator::Ack(std::uint8_t requestCode) {
  Queue(MakeCommand(requestCode, {0}));
}

void MachineEmulator::WriteParamMemory(const Report& r) {
  const int count = std::min<int>(r[5], kMaxParamValues);
  std::vector<std::uint32_t> values(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) values[static_cast<std::size_t>(i)] = GetBigEndian32(&r[6 + 4 * i]);
  working_.params[{r[3], r[4]}] = std::move(values);
}

void MachineEmulator::ReplyParam(const Report& r) {
  const int module = r[3];
  const int param = r[4];
  const int count = std::min<int>(r[5], kMaxParamValues);
  Report reply = MakeCommand(code::readParam, {0, r[3], r[4], static_cast<std::uint8_t>(count)});
  if (module < 1 || module > 12) {
    reply[2] = 1;  // the machine knows no such module
  } else if (auto it = working_.params.find({module, param}); it != working_.params.end()) {
    const auto n = std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < n; ++i) PutBigEndian32(&reply[6 + 4 * i], it->second[i]);
  }
  Queue(reply);
}

void MachineEmulator::WriteBlockMemory(const Report& r) {
  const int address = Address(r);
  const int length = std::min<int>(r[4], kMaxBlockChunk);
  for (int i = 0; i < length && address + i < kBlockSpaceBytes; ++i) {
    const int at = address + i;
    const std::uint8_t byte = r[static_cast<std::size_t>(5 + i)];
    if (at < kWorkingBlockBytes) {
      working_.blocks[static_cast<std::size_t>(at)] = byte;
    } else {
      nameBlock_[static_cast<std::size_t>(at - kWorkingBlockBytes)] = byte;
    }
  }
}

void MachineEmulator::ReplyBlock(const Report& r) {
  const int address = Address(r);
  const int length = std::min<int>(r[4], kMaxBlockChunk);
  Report reply = MakeCommand(code::readBlock, {r[2], r[3], static_cast<std::uint8_t>(length)});
  for (int i = 0; i < length && address + i < kBlockSpaceBytes; ++i) {
    const int at = address + i;
    reply[static_cast<std::size_t>(5 + i)] =
        at < kWorkingBlockBytes ? working_.blocks[static_cast<std::size_t>(at)]
                                : nameBlock_[static_cast<std::size_t>(at - kWorkingBlockBytes)];
  }
  Queue(reply);
}

void MachineEmulator::ReplyText(std::uint8_t replyCode, const std::string& text) {
  Report reply = MakeCommand(replyCode);
  std::copy_n(text.begin(), std::min(text.size(), kReportBytes - 3), reply.begin() + 2);
  Queue(reply);
}

void MachineEmulator::ReplyModeNames() {
  for (int s = 0; s < 4; ++s) {
    const int address = kModeNameAddress + s * kModeNameStride;
    const auto area = std::span(nameBlock_).subspan(static_cast<std::size_t>(s * kModeNameStride), 48);
    Report reply = MakeCommand(code::modeNameReply, {static_cast<std::uint8_t>(address >> 8),
                                                     static_cast<std::uint8_t>(address), 48});
    std::copy(area.begin(), area.end(), reply.begin() + 5);
    Queue(reply);
  }
}

}  // namespace vireo::emulator
