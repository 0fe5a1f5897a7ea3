// Paced senders of the request layouts and the store-driven send of one slot.
#include "device/protocol.h"

#include <algorithm>

#include "model/field_ranges.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

int SendSingle(ReportSender& sender, const ParameterStore& store, const SlotField& field, int element) {
  const int slotIndex = field.SlotOf(element);
  std::uint32_t wire = 0;
  if (!EncodeField(field, store.Bits(slotIndex), &wire)) return 0;
  const int module = field.ModuleOf(element);
  int bytes = WriteParam(sender, module, field.ParamOf(element), wire, field.wireCount);
  if (field.param2 != 0) bytes += WriteParam(sender, module, field.param2, wire, field.wireCount);
  return bytes;
}

int SendCompressor(ReportSender& sender, const ParameterStore& store, const SlotField& field, int element) {
  const CompressorSettings c = StoredCompressor(store, field.perChannel() ? element : -1);
  const auto record = CompressorRecord(c);
  return WriteParamValues(sender, field.ModuleOf(element), field.ParamOf(element), record);
}

}  // namespace

int WriteParam(ReportSender& sender, int module, int param, std::uint32_t value, int count) {
  return sender.SendPaced(MakeWriteParamRepeated(module, param, value, count));
}

int WriteParamValues(ReportSender& sender, int module, int param, std::span<const std::uint32_t> values) {
  return sender.SendPaced(MakeWriteParam(module, param, values));
}

int ReadParam(ReportSender& sender, int module, int param, int count) {
  return sender.SendPaced(MakeReadParam(module, param, count));
}

int WriteBlock(ReportSender& sender, int address, std::span<const std::uint8_t> data) {
  int bytes = 0;
  std::size_t offset = 0;
  do {
    const std::size_t n = std::min<std::size_t>(data.size() - offset, kMaxBlockChunk);
    bytes += sender.SendPaced(MakeWriteBlock(address + static_cast<int>(offset), data.subspan(offset, n)));
    offset += n;
  } while (offset < data.size());
  return bytes;
}

int ReadBlock(ReportSender& sender, int address, int length) {
  return sender.SendPaced(MakeReadBlock(address, length));
}

int SendCommand(ReportSender& sender, std::uint8_t requestCode, std::span<const std::uint8_t> args) {
  return sender.SendPaced(MakeCommand(requestCode, args));
}

int SendCommand(ReportSender& sender, std::uint8_t requestCode, std::initializer_list<std::uint8_t> args) {
  return sender.SendPaced(MakeCommand(requestCode, args));
}

int SendField(ReportSender& sender, const ParameterStore& store, const SlotField& field, int element) {
  if (field.param == 0 || field.rule == WireRule::none || element < 0 || element >= field.count) return 0;
  switch (field.rule) {
    case WireRule::shift: {
      const bool channelB = field.firstSlot == slot::shiftFreqB;
      int bytes = 0;
      for (const auto& m : ShiftMessages(store.Int(field.SlotOf(element)), channelB)) {
        bytes += WriteParamValues(sender, m.module, m.param, m.values);
      }
      return bytes;
    }
    case WireRule::delaymode: {
      const auto pair = DelayModePair(store.Int(field.SlotOf(element)));
      return WriteParamValues(sender, field.ModuleOf(element), field.ParamOf(element), pair);
    }
    case WireRule::comp:
      return SendCompressor(sender, store, field, element);
    default:
      return SendSingle(sender, store, field, element);
  }
}

}  // namespace vireo
