// Byte layout of the parameter store: slot offsets, region sizes, little-endian slot images, clipping.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "reference_slots.h"

namespace vireo {
namespace {

TEST(StoreLayout, EveryNamedSlotSitsAtItsOffset) {
  for (const auto& ref : test::kReferenceSlots) {
    SCOPED_TRACE(ref.name);
    EXPECT_EQ(ref.codeSlot, ref.slot);
    EXPECT_EQ(SlotOffset(ref.codeSlot), static_cast<std::size_t>(ref.offset));
  }
  // Indexed fields: element i is the slot after element i - 1.
  EXPECT_EQ(SlotOffset(slot::micToChannelA[3]), 16u);
  EXPECT_EQ(SlotOffset(slot::micInputVolume[3]), 88u);
  EXPECT_EQ(SlotOffset(slot::chDelay[0]), 612u);
  EXPECT_EQ(SlotOffset(slot::chDelay[7]), 640u);
  EXPECT_EQ(SlotOffset(slot::chPhase[7]), 768u);
  EXPECT_EQ(SlotOffset(slot::chTrim[7]), 824u);
  EXPECT_EQ(SlotOffset(slot::echoTimeA), 128u);
  EXPECT_EQ(SlotOffset(slot::musicCompOff), 860u);
  EXPECT_EQ(SlotOffset(slot::musicCompOff) + 4, kMainParamsBytes);
}

TEST(StoreLayout, RegionSizes) {
  EXPECT_EQ(RegionSize(Region::mainParams), 864u);
  EXPECT_EQ(RegionSize(Region::micBoostLevel), 2u);
  EXPECT_EQ(RegionSize(Region::levelMeters), 16u);
  EXPECT_EQ(RegionSize(Region::chLocationGain), 32u);
  EXPECT_EQ(RegionSize(Region::dspBlock), 1253u);
  EXPECT_EQ(RegionSize(Region::locationSettings), 20u);
  EXPECT_EQ(RegionSize(Region::remoteKeyTable), 18u);
  EXPECT_EQ(RegionSize(Region::machineSettingsEdit), 13u);
  EXPECT_EQ(RegionSize(Region::machineSettings), 13u);
  EXPECT_EQ(kMainSlotCount * 4, static_cast<int>(kMainParamsBytes));
  EXPECT_EQ(kBandCount * kBandRecordBytes, static_cast<int>(kDspBlockBytes));
  EXPECT_EQ(kChLocationGainAddress, 1253);
  EXPECT_EQ(kLocationSettingsAddress, 1285);
  EXPECT_EQ(kMicBoostLevelAddress, 1305);
}

TEST(StoreLayout, MainParamsBytesAreLittleEndianSlotImages) {
  ParameterStore store;
  store.SetInt(slot::micVolume, 0x11223344);
  store.SetInt(slot::chTrim[7], -2);        // FE FF FF FF
  store.SetFloat(slot::echoTimeA, 217.0f);  // 0x43590000
  std::array<std::uint8_t, 4> word{};
  ASSERT_EQ(store.ReadBytes(Region::mainParams, 0, word), 4u);
  EXPECT_EQ(word, (std::array<std::uint8_t, 4>{0x44, 0x33, 0x22, 0x11}));
  ASSERT_EQ(store.ReadBytes(Region::mainParams, 824, word), 4u);
  EXPECT_EQ(word, (std::array<std::uint8_t, 4>{0xFE, 0xFF, 0xFF, 0xFF}));
  ASSERT_EQ(store.ReadBytes(Region::mainParams, 128, word), 4u);
  EXPECT_EQ(word, (std::array<std::uint8_t, 4>{0x00, 0x00, 0x59, 0x43}));

  // And the other way: bytes written into the image land in the slot.
  const std::array<std::uint8_t, 8> image{0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0xC0, 0x3F};
  ASSERT_EQ(store.WriteBytes(Region::mainParams, SlotOffset(slot::chDelay[0]), image), 8u);
  EXPECT_EQ(store.Int(slot::chDelay[0]), 0x12345678);
  EXPECT_EQ(store.Float(slot::chDelay[1]), 1.5f);
  EXPECT_EQ(store.Bits(slot::chDelay[1]), 0x3FC00000u);
}

TEST(StoreLayout, UnalignedImageWritesTouchOnlyTheirBytes) {
  ParameterStore store;
  store.SetInt(1, 0x44332211);
  store.SetInt(2, 0x88776655);
  const std::array<std::uint8_t, 3> in{0xAA, 0xBB, 0xCC};
  ASSERT_EQ(store.WriteBytes(Region::mainParams, 7, in), 3u);  // last byte of slot 1, two of slot 2
  EXPECT_EQ(store.Bits(1), 0xAA332211u);
  EXPECT_EQ(store.Bits(2), 0x8877CCBBu);
  std::array<std::uint8_t, 5> out{};
  ASSERT_EQ(store.ReadBytes(Region::mainParams, 6, out), 5u);
  EXPECT_EQ(out, (std::array<std::uint8_t, 5>{0x33, 0xAA, 0xBB, 0xCC, 0x77}));
}

TEST(StoreLayout, ByteCopiesClipAtTheRegionEnd) {
  ParameterStore store;
  const std::vector<std::uint8_t> ten(10, 0x5A);
  EXPECT_EQ(store.WriteBytes(Region::chLocationGain, 28, ten), 4u);
  EXPECT_EQ(store.WriteBytes(Region::chLocationGain, 32, ten), 0u);
  EXPECT_EQ(store.WriteBytes(Region::dspBlock, 1250, ten), 3u);
  EXPECT_EQ(store.WriteBytes(Region::mainParams, 860, ten), 4u);
  EXPECT_EQ(store.WriteBytes(Region::mainParams, 864, ten), 0u);
  EXPECT_EQ(store.WriteBytes(Region::micBoostLevel, 1, ten), 1u);
  EXPECT_EQ(store.WriteBytes(Region::levelMeters, 1000000, ten), 0u);
  EXPECT_EQ(store.Bits(slot::musicCompOff), 0x5A5A5A5Au);
  EXPECT_EQ(store.Byte(Region::chLocationGain, 27), 0);
  EXPECT_EQ(store.Byte(Region::chLocationGain, 28), 0x5A);
  EXPECT_EQ(store.Byte(Region::micBoostLevel, 0), 0);

  std::vector<std::uint8_t> out(10, 0xEE);
  EXPECT_EQ(store.ReadBytes(Region::dspBlock, 1250, out), 3u);
  EXPECT_EQ(out[2], 0x5A);
  EXPECT_EQ(out[3], 0xEE);  // nothing written past the count
  EXPECT_EQ(store.ReadBytes(Region::dspBlock, 1253, out), 0u);
  EXPECT_EQ(store.ReadBytes(Region::mainParams, 862, out), 2u);
  EXPECT_EQ(store.ReadBytes(Region::remoteKeyTable, 0, std::span<std::uint8_t>()), 0u);
  EXPECT_EQ(store.WriteBytes(Region::remoteKeyTable, 0, std::span<const std::uint8_t>()), 0u);
  EXPECT_EQ(store.WriteBytes(Region::mainParams, 0, std::span<const std::uint8_t>()), 0u);
}

TEST(StoreLayout, OutOfRangeAccessIsHarmless) {
  ParameterStore store;
  store.Fill(Region::mainParams, 0x11);
  store.SetInt(-1, 99);
  store.SetInt(kMainSlotCount, 99);
  store.SetFloat(100000, 1.0f);
  EXPECT_EQ(store.Int(-1), 0);
  EXPECT_EQ(store.Int(kMainSlotCount), 0);
  EXPECT_EQ(store.Float(kMainSlotCount + 5), 0.0f);
  EXPECT_EQ(store.Bits(0), 0x11111111u);
  EXPECT_EQ(store.Bits(kMainSlotCount - 1), 0x11111111u);
  store.SetByte(Region::machineSettings, 13, 7);
  EXPECT_EQ(store.Byte(Region::machineSettings, 13), 0);
  EXPECT_EQ(store.modeName(4), u"");
  EXPECT_EQ(store.modeName(-1), u"");
}

TEST(StoreLayout, FillAndSingleBytes) {
  ParameterStore store;
  store.Fill(Region::mainParams, 0xA5);
  EXPECT_EQ(store.Bits(0), 0xA5A5A5A5u);
  EXPECT_EQ(store.Bits(215), 0xA5A5A5A5u);
  store.Fill(Region::dspBlock, 0xFF);
  EXPECT_EQ(store.Byte(Region::dspBlock, 0), 0xFF);
  EXPECT_EQ(store.Byte(Region::dspBlock, 1252), 0xFF);
  EXPECT_EQ(store.Byte(Region::chLocationGain, 0), 0);  // a neighbouring region is untouched
  store.SetByte(Region::mainParams, 5, 0x00);
  EXPECT_EQ(store.Bits(1), 0xA5A500A5u);
}

TEST(StoreTexts, IdentityTextsAreClippedToTheirCapacity) {
  ParameterStore store;
  store.setModelName(std::u16string(40, u'M'));
  EXPECT_EQ(store.modelName(), std::u16string(29, u'M'));
  store.setFirmwareDate(u"2012-10-03-and-more");
  EXPECT_EQ(store.firmwareDate(), u"2012-10-03");
  store.setSecondDate(std::u16string(u"2012\0junk", 9));
  EXPECT_EQ(store.secondDate(), u"2012");
  store.setModeName(2, std::u16string(30, u'N'));
  EXPECT_EQ(store.modeName(2), std::u16string(24, u'N'));
  store.setModeName(4, u"ignored");
  EXPECT_EQ(store.modeName(3), u"");
}

TEST(StoreTexts, FlagsAndScalars) {
  ParameterStore store;
  EXPECT_EQ(store.connected(), 0);
  EXPECT_EQ(store.writeAck(), 0);
  store.setConnected(1);
  store.setWriteAck(1);
  store.setCurrentMode(3);
  store.setDeviceKind(18);
  EXPECT_EQ(store.connected(), 1);
  EXPECT_EQ(store.writeAck(), 1);
  EXPECT_EQ(store.currentMode(), 3);
  EXPECT_EQ(store.deviceKind(), 18);
}

}  // namespace
}  // namespace vireo
