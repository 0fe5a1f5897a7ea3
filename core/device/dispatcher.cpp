// Reply dispatcher: every reply code the machine sends, decoded into the store with bounds on every copy.
#include "device/dispatcher.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "device/debug_log.h"
#include "model/field_ranges.h"
#include "model/report.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

// Reply codes the dispatcher acts on (those not shared with request codes).
namespace reply {
inline constexpr std::uint8_t mode = 7;
inline constexpr std::uint8_t writeAck = 9;
inline constexpr std::uint8_t param = 10;
inline constexpr std::uint8_t meters = 14;
inline constexpr std::uint8_t zwave = 18;
inline constexpr std::uint8_t smartHomeMemory = 20;
inline constexpr std::uint8_t keyLearned = 96;
inline constexpr std::uint8_t keyTable = 98;
inline constexpr std::uint8_t secondDate = 126;
inline constexpr std::uint8_t kind = 127;
inline constexpr std::uint8_t model = 128;
inline constexpr std::uint8_t firmwareDate = 129;
inline constexpr std::uint8_t block = 134;
inline constexpr std::uint8_t settings = 146;
inline constexpr std::uint8_t modeName = 219;
}  // namespace reply

constexpr std::size_t kBlockDataAt = 5;
constexpr std::size_t kBlockDataRoom = kReportBytes - kBlockDataAt;  // 56
constexpr int kModeNameAddresses[kModeSlots] = {0xF00, 0xF40, 0xF80, 0xFC0};

std::span<const std::uint8_t> Bytes(const std::uint8_t* at, std::size_t n) {
  return {at, n};
}

// Identity strings: one byte per character up to the first zero, at most `capacity - 1` characters.
std::u16string ByteString(const std::uint8_t* b, int capacity) {
  std::u16string text;
  for (std::size_t i = 2; i < kReportBytes && text.size() + 1 < static_cast<std::size_t>(capacity); ++i) {
    if (b[i] == 0) break;
    text.push_back(static_cast<char16_t>(b[i]));
  }
  return text;
}

void LogSmartHomeReply(const std::uint8_t* b) {
  // Bounded: the code and the first 16 payload bytes.
  std::string line = "smart-home reply " + std::to_string(b[1]) + ":";
  char hex[4];
  for (std::size_t i = 2; i < 18; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", b[i]);
    line += hex;
  }
  line += "\n";
  DebugLog(line);
}

const SlotField* FieldBySecondAddress(int module, int param) {
  for (const auto& f : SlotFields()) {
    if (f.param2 != 0 && !f.perChannel() && f.module == module && f.param2 == param) return &f;
  }
  return nullptr;
}

// A reply that decodes outside the field's range is stored at the nearest end of it.
void StoreClamped(ParameterStore& store, int slotIndex, std::uint32_t bits) {
  const SlotField* field = FindSlotFieldBySlot(slotIndex, nullptr);
  store.SetBits(slotIndex, field != nullptr ? ClampSlotWord(*field, bits) : bits);
}

void DecodeIntoField(ParameterStore& store, const SlotField& field, int element, std::uint32_t wire) {
  std::uint32_t bits = 0;
  if (!DecodeField(field, wire, &bits)) return;
  const int slotIndex = field.SlotOf(element);
  store.SetBits(slotIndex, ClampSlotWord(field, bits));
  if (slotIndex == slot::micBoostOn) store.SetBits(slot::micBoostOnCopy, store.Bits(slot::micBoostOn));
}

}  // namespace

ReplyDispatcher::ReplyDispatcher(ParameterStore& store, EventSink* events) : store_(store), events_(events) {}

void ReplyDispatcher::DispatchReply(std::span<const std::uint8_t> report) {
  Report r{};  // shorter input reads as zero-padded
  std::copy_n(report.begin(), std::min(report.size(), r.size()), r.begin());
  const std::uint8_t* b = r.data();

  switch (b[1]) {
    case reply::mode:
      store_.setCurrentMode(b[2]);
      break;
    case reply::writeAck:
      store_.setWriteAck(1);
      break;
    case reply::param:
      OnParamReply(b);
      break;
    case reply::meters:
      store_.WriteBytes(Region::levelMeters, 0, Bytes(b + 2, kLevelMeterBytes));
      break;
    case reply::zwave:
    case reply::smartHomeMemory: {
      LogSmartHomeReply(b);
      std::lock_guard guard(smartHomeLock_);
      if (smartHome_) smartHome_(r);
      break;
    }
    case reply::keyLearned:
      OnKeyLearned(b);
      break;
    case reply::keyTable:
      store_.WriteBytes(Region::remoteKeyTable, 0, Bytes(b + 2, 16));
      break;
    case reply::secondDate:
      store_.setSecondDate(ByteString(b, kDateChars));
      break;
    case reply::kind:
      store_.setDeviceKind(b[2]);
      break;
    case reply::model:
      store_.setModelName(ByteString(b, kModelNameChars));
      break;
    case reply::firmwareDate:
      store_.setFirmwareDate(ByteString(b, kDateChars));
      break;
    case reply::block:
      OnBlockReply(b);
      break;
    case reply::settings:
      store_.WriteBytes(Region::machineSettings, 0, Bytes(b + 2, kMachineSettingsBytes));
      store_.WriteBytes(Region::machineSettingsEdit, 0, Bytes(b + 2, kMachineSettingsBytes));
      break;
    case reply::modeName:
      OnModeNameReply(b);
      break;
    default:
      break;
  }
}

void ReplyDispatcher::SetSmartHomeHandler(SmartHomeHandler handler) {
  std::lock_guard guard(smartHomeLock_);
  smartHome_ = std::move(handler);
}

void ReplyDispatcher::OnKeyLearned(const std::uint8_t* b) {
  // An index beyond the table means a garbled reply: it neither touches the table nor reports a key.
  if (b[3] >= kRemoteKeyTableBytes) return;
  store_.SetByte(Region::remoteKeyTable, 0, b[2]);
  store_.SetByte(Region::remoteKeyTable, b[3], b[4]);
  if (events_ != nullptr) events_->Send(event::keyLearned, b[4], 0);
}

void ReplyDispatcher::OnParamReply(const std::uint8_t* b) {
  const int status = b[2];
  const int module = b[3];
  const int param = b[4];
  if (status != 0 && !parameterErrorShown_.exchange(true, std::memory_order_relaxed) && events_ != nullptr) {
    events_->Post(event::parameterError, (status << 16) | (module << 8) | param, 0);
  }
  if (module < 1 || module > 12) return;

  const std::uint32_t first = GetBigEndian32(b + 6);
  const std::uint8_t lowByte = b[9];
  const bool output = module >= 5;
  const int channel = module - 5;

  if (module == 1 && (param == 33 || param == 56)) {
    const bool channelB = param == 56;
    store_.SetInt(channelB ? slot::shiftOffB : slot::shiftOffA, lowByte);
    if (lowByte == 1) store_.SetInt(channelB ? slot::shiftFreqB : slot::shiftFreqA, 1);
    return;
  }
  if (module == 1 && (param == 31 || param == 54)) {
    StoreClamped(store_, param == 54 ? slot::shiftFreqB : slot::shiftFreqA,
                 static_cast<std::uint32_t>(ShiftFrequencyFromWire(BitsFloat(first))));
    return;
  }
  if (module == 1 && (param == 32 || param == 55)) return;  // the shift delay follows from the frequency

  if ((module == 4 && param == 14) || (output && param == 27)) {
    std::array<std::uint32_t, 7> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = GetBigEndian32(b + 6 + 4 * i);
    const CompressorSettings c = DecodeCompressorRecord(values);
    const bool music = module == 4;
    StoreClamped(store_, music ? slot::musicCompThreshold : slot::chCompThreshold[channel],
                 FloatBits(c.threshold));
    StoreClamped(store_, music ? slot::musicCompRatio : slot::chCompRatio[channel], FloatBits(c.ratio));
    StoreClamped(store_, music ? slot::musicCompAttack : slot::chCompAttack[channel], FloatBits(c.attackMs));
    StoreClamped(store_, music ? slot::musicCompRelease : slot::chCompRelease[channel],
                 FloatBits(c.releaseMs));
    return;
  }
  if (output && param == 17) {
    store_.SetInt(slot::chDelayMode[channel], DelayModeFromWire(BitsFloat(GetBigEndian32(b + 10))));
    return;
  }
  if (module == 4 && param == 21) {
    StoreClamped(store_, slot::musicPitch, static_cast<std::uint32_t>(lowByte - 5));
    return;
  }

  int element = 0;
  if (const SlotField* field = FindSlotFieldByAddress(module, param, &element)) {
    DecodeIntoField(store_, *field, element, first);
  } else if (const SlotField* second = FieldBySecondAddress(module, param)) {
    DecodeIntoField(store_, *second, 0, first);
  }
}

void ReplyDispatcher::OnBlockReply(const std::uint8_t* b) {
  const int address = (b[2] << 8) | b[3];
  // The length byte may claim more than the report carries: never read past the report.
  const std::size_t length = std::min<std::size_t>(b[4], kBlockDataRoom);
  const auto data = Bytes(b + kBlockDataAt, length);

  if (address < kChLocationGainAddress) {
    if (b[5] == 0xFF && b[6] == 0xFF) {
      store_.Fill(Region::dspBlock, 0);  // the machine's block is blank
    } else {
      store_.WriteBytes(Region::dspBlock, static_cast<std::size_t>(address), data);  // clipped at 1253
    }
  } else if (address == kChLocationGainAddress) {
    store_.WriteBytes(Region::chLocationGain, 0, data);
  } else if (address == kLocationSettingsAddress) {
    // A short reply updates the bytes it carries; record and working geometry are always replaced
    // together so they never disagree.
    std::array<std::uint8_t, kLocationSettingsBytes> record{};
    store_.ReadBytes(Region::locationSettings, 0, record);
    std::copy_n(data.begin(), std::min(data.size(), record.size()), record.begin());
    store_.SetLocationRecord(record);
  } else if (address == kMicBoostLevelAddress) {
    store_.WriteBytes(Region::micBoostLevel, 0, data);
  }
}

void ReplyDispatcher::OnModeNameReply(const std::uint8_t* b) {
  const int address = (b[2] << 8) | b[3];
  const auto slotIt = std::find(std::begin(kModeNameAddresses), std::end(kModeNameAddresses), address);
  if (slotIt == std::end(kModeNameAddresses)) return;
  if (b[5] == 0xFF && b[6] == 0xFF && b[7] == 0xFF && b[8] == 0xFF) return;  // no name stored

  const std::size_t byteCount = std::min<std::size_t>(b[4], kBlockDataRoom);
  std::u16string name;
  for (std::size_t i = 0; i + 1 < byteCount && name.size() < static_cast<std::size_t>(kModeNameChars);
       i += 2) {
    const auto c = static_cast<char16_t>((b[kBlockDataAt + i] << 8) | b[kBlockDataAt + i + 1]);
    if (c == 0) break;
    name.push_back(c);
  }
  store_.setModeName(static_cast<int>(slotIt - std::begin(kModeNameAddresses)), name);
}

}  // namespace vireo
