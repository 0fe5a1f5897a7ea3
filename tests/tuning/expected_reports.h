// Expected reports laid out by hand from the protocol's byte layout, and a store to edit.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "../common/recording_sender.h"
#include "model/parameter_store.h"

namespace vireo::test {

using Record = std::array<std::uint8_t, 7>;

// A store with its defaults whose DSP-block band records the tests put and read by address.
class DspBlockFixture : public ::testing::Test {
 protected:
  DspBlockFixture() { ResetStoreDefaults(store_); }
  void Put(int address, const Record& r) {
    store_.WriteBytes(Region::dspBlock, static_cast<std::size_t>(address), r);
  }
  Record At(int address) const {
    Record r{};
    store_.ReadBytes(Region::dspBlock, static_cast<std::size_t>(address), r);
    return r;
  }

  ParameterStore store_;
};

// 02 09 00 module param count, then each word big-endian.
inline Report Param(int module, int param, std::initializer_list<std::uint32_t> words) {
  Report r{0x02,
           0x09,
           0x00,
           static_cast<std::uint8_t>(module),
           static_cast<std::uint8_t>(param),
           static_cast<std::uint8_t>(words.size())};
  std::size_t at = 6;
  for (std::uint32_t w : words) {
    for (int shift = 24; shift >= 0; shift -= 8) r[at++] = static_cast<std::uint8_t>(w >> shift);
  }
  return r;
}

// 02 85 address-high address-low 07, then the seven record bytes.
inline Report Block(int address, const std::array<std::uint8_t, 7>& record) {
  Report r{0x02, 0x85, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), 7};
  for (std::size_t i = 0; i < 7; ++i) r[5 + i] = record[i];
  return r;
}

// The record of a Peaking band at 0 dB and Q 1.41: 00 96, the frequency, 05 82, 01.
inline std::array<std::uint8_t, 7> FlatRecord(int hz) {
  return {0x00, 0x96, static_cast<std::uint8_t>(hz >> 8), static_cast<std::uint8_t>(hz), 0x05, 0x82, 0x01};
}

inline float WordFloat(const Report& r, int i) {
  const std::size_t at = 6 + 4 * static_cast<std::size_t>(i);
  return std::bit_cast<float>(
      static_cast<std::uint32_t>(r[at] << 24 | r[at + 1] << 16 | r[at + 2] << 8 | r[at + 3]));
}

// A coefficient message (module, param, five words) of a Peaking section, checked against the cookbook
// terms worked out here: -a1, -a2, b0, b1, b2 with a0 = 1 + alpha / A.
inline void ExpectPeaking(const Report& r, int module, int param, double gainDb, double hz, double q) {
  ASSERT_EQ((std::vector<int>{r[1], r[3], r[4], r[5]}), (std::vector<int>{9, module, param, 5}));
  const double w = 2 * std::numbers::pi * hz / 48000, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  const double a = std::pow(10.0, gainDb / 40), a0 = 1 + alpha / a;
  const double words[5] = {2 * c / a0, -(1 - alpha / a) / a0, (1 + alpha * a) / a0, -2 * c / a0,
                           (1 - alpha * a) / a0};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(WordFloat(r, i), words[i], 2e-7) << "word " << i;
}

}  // namespace vireo::test
