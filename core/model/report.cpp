// Request builders: byte layout of every report this system writes.
#include "model/report.h"

#include <algorithm>
#include <bit>

namespace vireo {

void PutBigEndian32(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 24);
  at[1] = static_cast<std::uint8_t>(value >> 16);
  at[2] = static_cast<std::uint8_t>(value >> 8);
  at[3] = static_cast<std::uint8_t>(value);
}

std::uint32_t GetBigEndian32(const std::uint8_t* at) {
  return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
         (static_cast<std::uint32_t>(at[2]) << 8) | static_cast<std::uint32_t>(at[3]);
}

std::uint32_t FloatBits(float value) { return std::bit_cast<std::uint32_t>(value); }
float BitsFloat(std::uint32_t bits) { return std::bit_cast<float>(bits); }

namespace {
Report Blank(std::uint8_t requestCode) {
  Report r{};
  r[0] = kOutputReportId;
  r[1] = requestCode;
  return r;
}
}  // namespace

Report MakeCommand(std::uint8_t requestCode, std::span<const std::uint8_t> args) {
  Report r = Blank(requestCode);
  const std::size_t n = std::min<std::size_t>(args.size(), kReportBytes - 2);
  std::copy_n(args.begin(), n, r.begin() + 2);
  return r;
}

Report MakeCommand(std::uint8_t requestCode, std::initializer_list<std::uint8_t> args) {
  return MakeCommand(requestCode, std::span<const std::uint8_t>(args.begin(), args.size()));
}

Report MakeWriteParam(int module, int param, std::span<const std::uint32_t> values) {
  Report r = Blank(code::writeParam);
  const std::size_t n = std::min<std::size_t>(values.size(), kMaxParamValues);
  r[3] = static_cast<std::uint8_t>(module);
  r[4] = static_cast<std::uint8_t>(param);
  r[5] = static_cast<std::uint8_t>(n);
  for (std::size_t i = 0; i < n; ++i) PutBigEndian32(&r[6 + 4 * i], values[i]);
  return r;
}

Report MakeWriteParamRepeated(int module, int param, std::uint32_t value, int count) {
  std::array<std::uint32_t, kMaxParamValues> values{};
  const int n = std::clamp(count, 0, kMaxParamValues);
  std::fill_n(values.begin(), n, value);
  return MakeWriteParam(module, param, std::span(values.data(), static_cast<std::size_t>(n)));
}

Report MakeReadParam(int module, int param, int count) {
  Report r = Blank(code::readParam);
  r[3] = static_cast<std::uint8_t>(module);
  r[4] = static_cast<std::uint8_t>(param);
  r[5] = static_cast<std::uint8_t>(count);
  return r;
}

Report MakeWriteBlock(int address, std::span<const std::uint8_t> data) {
  Report r = Blank(code::writeBlock);
  const std::size_t n = std::min<std::size_t>(data.size(), kMaxBlockChunk);
  r[2] = static_cast<std::uint8_t>(address >> 8);
  r[3] = static_cast<std::uint8_t>(address);
  r[4] = static_cast<std::uint8_t>(n);
  std::copy_n(data.begin(), n, r.begin() + 5);
  return r;
}

Report MakeReadBlock(int address, int length) {
  Report r = Blank(code::readBlock);
  r[2] = static_cast<std::uint8_t>(address >> 8);
  r[3] = static_cast<std::uint8_t>(address);
  r[4] = static_cast<std::uint8_t>(std::clamp(length, 0, kMaxBlockChunk));
  return r;
}

}  // namespace vireo
