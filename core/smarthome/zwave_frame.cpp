// Z-Wave Serial API frame codec and the smart-home report builders.
#include "smarthome/zwave_frame.h"

#include <algorithm>

namespace vireo::zwave {
namespace {

// LEN counts itself, the type, the function and the parameters.
constexpr std::size_t kLenOverhead = 3;
// SOF, LEN, type, function, checksum.
constexpr std::size_t kSmallestFrame = 5;

}  // namespace

std::uint8_t Checksum(std::span<const std::uint8_t> lengthToLastParameter) {
  std::uint8_t sum = 0xFF;
  for (std::uint8_t b : lengthToLastParameter) sum ^= b;
  return sum;
}

std::vector<std::uint8_t> EncodeFrame(std::uint8_t function, std::span<const std::uint8_t> params,
                                      std::uint8_t type) {
  const std::size_t total = params.size() + kSmallestFrame;
  if (total > kMaxFrameBytes) return {};
  std::vector<std::uint8_t> frame;
  frame.reserve(total);
  frame.push_back(kSof);
  frame.push_back(static_cast<std::uint8_t>(params.size() + kLenOverhead));
  frame.push_back(type);
  frame.push_back(function);
  frame.insert(frame.end(), params.begin(), params.end());
  frame.push_back(Checksum(std::span(frame).subspan(1)));
  return frame;
}

DecodeStatus DecodeFrame(std::span<const std::uint8_t> bytes, Frame* out) {
  if (bytes.empty()) return DecodeStatus::empty;
  switch (bytes[0]) {
    case kAck:
      return DecodeStatus::ack;
    case kNak:
      return DecodeStatus::nak;
    case kCan:
      return DecodeStatus::can;
    case kSof:
      break;
    default:
      return DecodeStatus::badStart;
  }
  if (bytes.size() < kSmallestFrame) return DecodeStatus::tooShort;
  const std::size_t len = bytes[1];
  if (len < kLenOverhead || len + 2 > kMaxFrameBytes) return DecodeStatus::badLength;
  if (bytes.size() < len + 2) return DecodeStatus::tooShort;
  if (Checksum(bytes.subspan(1, len)) != bytes[len + 1]) return DecodeStatus::badChecksum;
  if (out != nullptr) {
    out->type = bytes[2];
    out->function = bytes[3];
    out->params.assign(bytes.begin() + 4, bytes.begin() + static_cast<std::ptrdiff_t>(len + 1));
  }
  return DecodeStatus::frame;
}

Report MakeFrameReport(std::span<const std::uint8_t> frameBytes) {
  const std::size_t n = std::min(frameBytes.size(), kMaxFrameBytes);
  Report r{};
  r[0] = kOutputReportId;
  r[1] = code::zwaveFrame;
  r[2] = static_cast<std::uint8_t>(n);
  std::copy_n(frameBytes.begin(), n, r.begin() + 3);
  return r;
}

Report MakeAckReport() {
  const std::uint8_t ack[] = {kAck};
  return MakeFrameReport(ack);
}

Report MakeMemoryWrite(int address, std::span<const std::uint8_t> data) {
  const std::size_t n = std::min<std::size_t>(data.size(), kMaxBlockChunk);
  Report r{};
  r[0] = kOutputReportId;
  r[1] = code::smartHomeWrite;
  r[2] = static_cast<std::uint8_t>(address >> 8);
  r[3] = static_cast<std::uint8_t>(address);
  r[4] = static_cast<std::uint8_t>(n);
  std::copy_n(data.begin(), n, r.begin() + 5);
  return r;
}

Report MakeMemoryRead(int address, int length) {
  return MakeCommand(code::smartHomeRead,
                     {static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                      static_cast<std::uint8_t>(std::clamp(length, 0, kMaxBlockChunk))});
}

std::vector<std::uint8_t> NodeListRequest() {
  return EncodeFrame(fn::nodeList, {});
}

std::vector<std::uint8_t> BasicSetRequest(std::uint8_t node, std::uint8_t value) {
  const std::uint8_t callback = value >= 128 && value <= 254 ? kCallbackKeyValue : kCallbackValue;
  const std::uint8_t params[] = {node, 3, kCommandClassBasic, kBasicSet, value, kGetOptions, callback};
  return EncodeFrame(fn::sendData, params);
}

std::vector<std::uint8_t> BasicGetRequest(std::uint8_t node) {
  const std::uint8_t params[] = {node, 2, kCommandClassBasic, kBasicGet, kGetOptions, kGetOptions};
  return EncodeFrame(fn::sendData, params);
}

std::vector<std::uint8_t> ResetRequest() {
  const std::uint8_t params[] = {0x02};
  return EncodeFrame(fn::setDefault, params);
}

std::vector<std::uint8_t> AddNodeRequest() {
  const std::uint8_t params[] = {0x01, 0x30};
  return EncodeFrame(fn::addNode, params);
}

std::vector<std::uint8_t> RemoveNodeRequest() {
  const std::uint8_t params[] = {0x01, 0x09};
  return EncodeFrame(fn::removeNode, params);
}

std::vector<std::uint8_t> AbortRequest(std::uint8_t function) {
  const std::uint8_t params[] = {0x05, 0x00};
  return EncodeFrame(function, params);
}

std::vector<std::uint8_t> RemoveStopRequest() {
  const std::uint8_t params[] = {0x05};
  return EncodeFrame(fn::removeNode, params);
}

}  // namespace vireo::zwave
