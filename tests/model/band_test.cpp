// EQ band records: addresses inside dspBlock, the 7-byte encoding, ReadBand and WriteBand's block write.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "../common/recording_sender.h"
#include "model/band.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

using Bytes7 = std::array<std::uint8_t, 7>;

TEST(EqBandAddress, KnownAddresses) {
  EXPECT_EQ(EqBandAddress(1, 0), 0);
  EXPECT_EQ(EqBandAddress(1, 19), 133);
  EXPECT_EQ(EqBandAddress(2, 0), 140);
  EXPECT_EQ(EqBandAddress(2, 13), 231);
  EXPECT_EQ(EqBandAddress(3, 0), 238);
  EXPECT_EQ(EqBandAddress(3, 13), 329);
  EXPECT_EQ(EqBandAddress(4, 0), 336);
  EXPECT_EQ(EqBandAddress(4, 9), 399);
  EXPECT_EQ(EqBandAddress(5, 0), 406);
  EXPECT_EQ(EqBandAddress(5, 14), 504);
  EXPECT_EQ(EqBandAddress(6, 0), 511);
  EXPECT_EQ(EqBandAddress(12, 0), 1141);
  EXPECT_EQ(EqBandAddress(12, 14), 1239);
  EXPECT_EQ(EqBandAddress(13, 0), 1246);
  // Groups the machine does not know address like the microphone group.
  for (int g : {0, 14, -3, 99}) {
    EXPECT_EQ(EqBandAddress(g, 0), 0) << g;
    EXPECT_EQ(EqBandAddress(g, 5), 35) << g;
  }
}

TEST(EqBandAddress, GroupsTileTheDspBlockExactly) {
  const std::array<int, 14> bandsOfGroup{0, 20, 14, 14, 10, 15, 15, 15, 15, 15, 15, 15, 15, 1};
  std::vector<int> owner(kDspBlockBytes, 0);
  int records = 0;
  for (int g = 1; g <= 13; ++g) {
    for (int b = 0; b < bandsOfGroup[static_cast<std::size_t>(g)]; ++b) {
      const int address = EqBandAddress(g, b);
      ASSERT_EQ(address % 7, 0);
      ASSERT_GE(address, 0);
      ASSERT_LE(address + 7, static_cast<int>(kDspBlockBytes));
      for (int i = 0; i < 7; ++i) ++owner[static_cast<std::size_t>(address + i)];
      ++records;
    }
  }
  EXPECT_EQ(records, kBandCount);
  for (std::size_t i = 0; i < owner.size(); ++i) ASSERT_EQ(owner[i], 1) << "byte " << i;
}

TEST(BandRecordCodec, EncodesTheSpecimenBand) {
  EXPECT_EQ(EncodeBandRecord({3.0f, 5000, 0.707f, 5}), (Bytes7{0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05}));
  EXPECT_EQ(EncodeBandRecord({0.0f, 31, 1.414f, 1}), (Bytes7{0x00, 0x96, 0x00, 0x1F, 0x05, 0x86, 0x01}));
  EXPECT_EQ(EncodeBandRecord({-6.0f, 20000, 0.7071f, 2}), (Bytes7{0x00, 0x5A, 0x4E, 0x20, 0x02, 0xC3, 0x02}));
}

TEST(BandRecordCodec, GainRangeEnds) {
  EXPECT_EQ(EncodeBandRecord({-15.0f, 100, 1.0f, 1})[1], 0x00);
  const auto top = EncodeBandRecord({15.0f, 100, 1.0f, 1});
  EXPECT_EQ(top[0], 0x01);
  EXPECT_EQ(top[1], 0x2C);  // 300
  const Bytes7 bottom{0x00, 0x00, 0x00, 0x64, 0x03, 0xE8, 0x01};
  EXPECT_FLOAT_EQ(DecodeBandRecord(bottom.data()).gain, -15.0f);
  const Bytes7 high{0x01, 0x2C, 0x00, 0x64, 0x03, 0xE8, 0x01};
  EXPECT_FLOAT_EQ(DecodeBandRecord(high.data()).gain, 15.0f);
  // Values the fields cannot hold stick at the field's ends instead of wrapping.
  const auto low = EncodeBandRecord({-40.0f, -5, -1.0f, 1});
  EXPECT_EQ(low, (Bytes7{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}));
  const auto huge = EncodeBandRecord({10000.0f, 100000, 100.0f, 1});
  EXPECT_EQ(huge, (Bytes7{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}));
}

TEST(BandRecordCodec, EveryGainCodeRoundTrips) {
  for (int code = 0; code <= 300; ++code) {
    const Bytes7 bytes{
        static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code), 0x03, 0xE8, 0x05, 0x86, 0x01};
    const BandRecord decoded = DecodeBandRecord(bytes.data());
    ASSERT_EQ(EncodeBandRecord(decoded), bytes) << "gain code " << code;
  }
}

TEST(BandRecordCodec, EveryQCodeRoundTripsThroughItsFloat) {
  for (int code = 100; code <= 30000; ++code) {
    const Bytes7 bytes{
        0x00, 0x96, 0x03, 0xE8, static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code), 0x01};
    ASSERT_EQ(EncodeBandRecord(DecodeBandRecord(bytes.data())), bytes) << "Q code " << code;
  }
  EXPECT_EQ(EncodeBandRecord({0.0f, 1000, 1.41f, 1})[5], 0x82);  // 1410, not 1409
}

TEST(BandRecordCodec, DecodesEveryField) {
  const Bytes7 bytes{0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05};
  const BandRecord band = DecodeBandRecord(bytes.data());
  EXPECT_FLOAT_EQ(band.gain, 3.0f);
  EXPECT_EQ(band.frequency, 5000);
  EXPECT_FLOAT_EQ(band.q, 0.707f);
  EXPECT_EQ(band.type, 5);
  const Bytes7 big{0x01, 0x2C, 0xFF, 0xFF, 0xFF, 0xFF, 0x03};
  EXPECT_EQ(DecodeBandRecord(big.data()).frequency, 65535);
  EXPECT_FLOAT_EQ(DecodeBandRecord(big.data()).q, 65.535f);
}

TEST(WriteBand, StoresAndSendsTheRecordWithOneBlockWrite) {
  ParameterStore store;
  test::RecordingSender sender;
  const int address = EqBandAddress(9, 5);  // 7 * (135 + 5 - 17) = 861 = 0x035D
  ASSERT_EQ(address, 861);
  EXPECT_EQ(WriteBand(store, sender, 9, 5, {3.0f, 5000, 0.707f, 5}), 61);

  std::array<std::uint8_t, 9> around{};
  store.ReadBytes(Region::dspBlock, 860, around);
  EXPECT_EQ(around, (std::array<std::uint8_t, 9>{0, 0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05, 0}));

  ASSERT_EQ(sender.paced.size(), 1u);
  EXPECT_TRUE(sender.unpaced.empty());
  Report expected{};
  const std::array<std::uint8_t, 12> head{0x02, 0x85, 0x03, 0x5D, 0x07, 0x00,
                                          0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05};
  std::copy(head.begin(), head.end(), expected.begin());
  EXPECT_EQ(sender.paced[0], expected);

  const BandRecord back = ReadBand(store, 9, 5);
  EXPECT_FLOAT_EQ(back.gain, 3.0f);
  EXPECT_EQ(back.frequency, 5000);
  EXPECT_FLOAT_EQ(back.q, 0.707f);
  EXPECT_EQ(back.type, 5);
}

TEST(WriteBand, GroupThirteenAndOutsideTheBlock) {
  ParameterStore store;
  test::RecordingSender sender;
  EXPECT_EQ(WriteBand(store, sender, 13, 0, {0.0f, 150, 0.7071f, 2}), 61);
  ASSERT_EQ(sender.paced.size(), 1u);
  EXPECT_EQ(sender.paced[0][2], 0x04);  // 1246 = 0x04DE
  EXPECT_EQ(sender.paced[0][3], 0xDE);
  EXPECT_EQ(store.Byte(Region::dspBlock, 1252), 2);

  // Band 1 of group 13 would reach past the block: nothing is stored or sent.
  EXPECT_EQ(WriteBand(store, sender, 13, 1, {0.0f, 150, 0.7071f, 2}), 0);
  EXPECT_EQ(WriteBand(store, sender, 1, -1, {0.0f, 150, 0.7071f, 2}), 0);
  EXPECT_EQ(sender.paced.size(), 1u);
  EXPECT_EQ(ReadBand(store, 13, 1).type, 0);
  EXPECT_EQ(ReadBand(store, 13, 1).frequency, 0);
}

}  // namespace
}  // namespace vireo
