// Builds machine replies for dispatcher tests: a 61-byte report with id 0, the code, then the bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "model/report.h"

namespace vireo::test {

inline Report Reply(std::uint8_t replyCode, std::initializer_list<std::uint8_t> fromByte2 = {}) {
  Report r{};
  r[1] = replyCode;
  std::size_t i = 2;
  for (std::uint8_t b : fromByte2) {
    if (i < r.size()) r[i++] = b;
  }
  return r;
}

// Reply 10: status, module, param, count, then the values big-endian.
inline Report ParamReply(int module, int param, std::initializer_list<std::uint32_t> values, int status = 0) {
  Report r = Reply(10, {static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(module),
                        static_cast<std::uint8_t>(param), static_cast<std::uint8_t>(values.size())});
  std::size_t at = 6;
  for (std::uint32_t v : values) {
    PutBigEndian32(&r[at], v);
    at += 4;
  }
  return r;
}

// Reply 134 / 219 header: address, length, then data from byte 5.
inline Report AddressedReply(std::uint8_t replyCode, int address, int length,
                             const std::vector<std::uint8_t>& data) {
  Report r = Reply(replyCode, {static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                               static_cast<std::uint8_t>(length)});
  for (std::size_t i = 0; i < data.size() && 5 + i < r.size(); ++i) r[5 + i] = data[i];
  return r;
}

}  // namespace vireo::test
