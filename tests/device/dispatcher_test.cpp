// Every reply code other than 10: what it writes into the store, and that nothing exceeds a region.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dispatcher_fixture.h"
#include "log_capture.h"
#include "model/band.h"
#include "model/location.h"
#include "model/store_layout.h"
#include "reply_builder.h"
#include "store_snapshot.h"

namespace vireo {
namespace {

using test::AddressedReply;
using test::Reply;

std::vector<std::uint8_t> Region_(const ParameterStore& s, Region r) {
  std::vector<std::uint8_t> bytes(RegionSize(r));
  s.ReadBytes(r, 0, bytes);
  return bytes;
}

std::vector<std::uint8_t> Sequence(std::size_t n, std::uint8_t first) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
  return v;
}

using DispatcherTest = test::DispatcherFixture;

TEST_F(DispatcherTest, ModeAckKindAndSettings) {
  Dispatch(Reply(7, {0x02}));  // 07 02: current mode 2
  EXPECT_EQ(store.currentMode(), 2);
  Dispatch(Reply(9));  // 09: a parameter write was acknowledged
  EXPECT_EQ(store.writeAck(), 1);
  Dispatch(Reply(127, {18}));  // 7F 12: machine kind 18
  EXPECT_EQ(store.deviceKind(), 18);
  // 92 then 13 settings bytes; byte 15 is beyond the settings and must not be taken.
  Dispatch(Reply(146, {1, 2, 1, 99, 98, 97, 96, 0, 1, 0xAA, 0xBB, 3, 4, 0xEE}));
  const std::vector<std::uint8_t> settings{1, 2, 1, 99, 98, 97, 96, 0, 1, 0xAA, 0xBB, 3, 4};
  EXPECT_EQ(Region_(store, Region::machineSettings), settings);
  EXPECT_EQ(Region_(store, Region::machineSettingsEdit), settings);
}

TEST_F(DispatcherTest, LevelMetersTakeSixteenBytes) {
  Report r = Reply(14);
  for (std::size_t i = 2; i < r.size(); ++i) r[i] = static_cast<std::uint8_t>(i);  // 02 03 .. 11 12 ..
  Dispatch(r);
  EXPECT_EQ(Region_(store, Region::levelMeters), Sequence(16, 2));
}

TEST_F(DispatcherTest, LearnedKeyStoresAndIsDeliveredSynchronously) {
  Dispatch(Reply(96, {0xA5, 5, 0x3C}));   // 60 A5 05 3C: header A5, key 5 learned as 3C
  Dispatch(Reply(96, {0xA6, 17, 0x41}));  // the last key of the table
  auto table = Region_(store, Region::remoteKeyTable);
  EXPECT_EQ(table[0], 0xA6);
  EXPECT_EQ(table[5], 0x3C);
  EXPECT_EQ(table[17], 0x41);
  const std::vector<test::DeliveredEvent> expected{{true, event::keyLearned, 0x3C, 0},
                                                   {true, event::keyLearned, 0x41, 0}};
  EXPECT_EQ(events.events(), expected);
}

TEST_F(DispatcherTest, LearnedKeyWithAnIndexBeyondTheTableIsIgnored) {
  const test::StoreSnapshot before(store);
  Dispatch(Reply(96, {0xA5, 18, 0x3C}));
  Dispatch(Reply(96, {0xA5, 0xFF, 0x3C}));
  EXPECT_EQ(test::StoreSnapshot(store), before);
  EXPECT_TRUE(events.events().empty());
}

TEST_F(DispatcherTest, KeyTableReplyFillsTheFirstSixteenBytes) {
  store.SetByte(Region::remoteKeyTable, 16, 0x77);
  store.SetByte(Region::remoteKeyTable, 17, 0x88);
  Report r = Reply(98);
  for (std::size_t i = 2; i < r.size(); ++i) r[i] = static_cast<std::uint8_t>(0x40 + i);
  Dispatch(r);
  auto expected = Sequence(16, 0x42);
  expected.push_back(0x77);
  expected.push_back(0x88);
  EXPECT_EQ(Region_(store, Region::remoteKeyTable), expected);
}

TEST_F(DispatcherTest, IdentityStringsOneCharacterPerByte) {
  Dispatch(Reply(128, {'C', 'a', 'l', 'y', 'x', 0, 'Z'}));  // 80 "Calyx" 00: stops at the zero
  EXPECT_EQ(store.modelName(), u"Calyx");
  Dispatch(Reply(129, {'2', '0', '1', '3', '-', '0', '1', '-', '0', '2'}));
  EXPECT_EQ(store.firmwareDate(), u"2013-01-02");
  Dispatch(Reply(126, {'2', '0', '1', '3', '-', '0', '5', '-', '0', '6'}));
  EXPECT_EQ(store.secondDate(), u"2013-05-06");
  Dispatch(Reply(128, {0xB0, 0xE9}));  // bytes above 0x7F become the characters U+00B0 U+00E9
  EXPECT_EQ(store.modelName(), std::u16string({0xB0, 0xE9}));
}

TEST_F(DispatcherTest, OverLongStringsAreClippedToTheirCapacity) {
  Report r = Reply(128);
  for (std::size_t i = 2; i < r.size(); ++i) r[i] = 'A';  // 59 characters, no terminator
  Dispatch(r);
  EXPECT_EQ(store.modelName(), std::u16string(29, u'A'));
  r[1] = 129;
  Dispatch(r);
  EXPECT_EQ(store.firmwareDate(), std::u16string(10, u'A'));
  r[1] = 126;
  Dispatch(r);
  EXPECT_EQ(store.secondDate(), std::u16string(10, u'A'));
}

TEST_F(DispatcherTest, BlockReplyCopiesIntoTheDspBlock) {
  const auto band = EncodeBandRecord({3.0f, 5000, 0.707f, 5});  // 00 B4 13 88 02 C3 05
  // 86 01 96 07 00 B4 13 88 02 C3 05: group 5 band 0 at address 406.
  Dispatch(AddressedReply(134, 406, 7, {band.begin(), band.end()}));
  EXPECT_EQ(ReadBand(store, 5, 0), (BandRecord{3.0f, 5000, 0.707f, 5}));
  EXPECT_EQ(Region_(store, Region::dspBlock)[405], 0);
  EXPECT_EQ(Region_(store, Region::dspBlock)[413], 0);
}

TEST_F(DispatcherTest, BlankMachineBlockClearsTheWholeDspBlock) {
  store.Fill(Region::dspBlock, 0x5A);
  Dispatch(AddressedReply(134, 0x0230, 56, {0xFF, 0xFF, 0x01}));  // 86 02 30 38 FF FF 01 ...
  EXPECT_EQ(Region_(store, Region::dspBlock), std::vector<std::uint8_t>(kDspBlockBytes, 0));
}

TEST_F(DispatcherTest, BlockReplyNeverWritesPastItsRegion) {
  store.Fill(Region::chLocationGain, 0x11);
  // 86 04 E2 38 ...: 56 bytes claimed at 1250, only 1250..1252 belong to the DSP block.
  Dispatch(AddressedReply(134, 1250, 56, Sequence(56, 1)));
  const auto dsp = Region_(store, Region::dspBlock);
  EXPECT_EQ((std::vector<std::uint8_t>(dsp.end() - 3, dsp.end())), Sequence(3, 1));
  EXPECT_EQ(Region_(store, Region::chLocationGain), std::vector<std::uint8_t>(32, 0x11));

  // A length byte above what a report can carry reads only the report's 56 data bytes.
  Dispatch(AddressedReply(134, 0, 255, Sequence(56, 100)));
  const auto head = Region_(store, Region::dspBlock);
  EXPECT_EQ((std::vector<std::uint8_t>(head.begin(), head.begin() + 56)), Sequence(56, 100));
  EXPECT_EQ(head[56], 0);

  // 86 04 E5 38: 56 bytes for the 32-byte channel gains.
  store.Fill(Region::locationSettings, 0x22);
  Dispatch(AddressedReply(134, kChLocationGainAddress, 56, Sequence(56, 7)));
  EXPECT_EQ(Region_(store, Region::chLocationGain), Sequence(32, 7));
  EXPECT_EQ(Region_(store, Region::locationSettings), std::vector<std::uint8_t>(20, 0x22));

  // 86 05 19 38: 56 bytes for the 2-byte boost level.
  Dispatch(AddressedReply(134, kMicBoostLevelAddress, 56, {0xC1, 0x20, 0x55}));
  EXPECT_EQ(Region_(store, Region::micBoostLevel), (std::vector<std::uint8_t>{0xC1, 0x20}));
}

TEST_F(DispatcherTest, LocationRecordReplyReplacesRecordAndGeometry) {
  // 86 05 05 14, then W=6 L=5, listener (+0.5, -1.2), loudspeakers.
  const std::vector<std::uint8_t> record{0x06, 0x05, 0x05, 0x8C, 0x94, 0x14, 0x80, 0x14, 0x14, 0x14,
                                         0x94, 0x94, 0x80, 0x94, 0x14, 0x94, 0x8F, 0x80, 0x0F, 0x80};
  Dispatch(AddressedReply(134, kLocationSettingsAddress, 20, record));
  EXPECT_EQ(Region_(store, Region::locationSettings), record);
  const LocationGeometry g = store.geometry();
  EXPECT_EQ(g.roomWidth, 6);
  EXPECT_EQ(g.roomLength, 5);
  EXPECT_FLOAT_EQ(g.listener.x, 0.5f);
  EXPECT_FLOAT_EQ(g.listener.y, -1.2f);
  EXPECT_FLOAT_EQ(g.speakers[0].x, -2.0f);
  EXPECT_EQ(g, DecodeLocation(std::span<const std::uint8_t, 20>(record.data(), 20)));
}

TEST_F(DispatcherTest, ShortLocationReplyKeepsRecordAndGeometryInStep) {
  store.SetLocationRecord(kDefaultLocationRecord);
  Dispatch(AddressedReply(134, kLocationSettingsAddress, 2, {0x08, 0x09}));  // only W and L
  auto expected = std::vector<std::uint8_t>(kDefaultLocationRecord.begin(), kDefaultLocationRecord.end());
  expected[0] = 0x08;
  expected[1] = 0x09;
  const auto record = Region_(store, Region::locationSettings);
  EXPECT_EQ(record, expected);
  EXPECT_EQ(store.geometry(), DecodeLocation(std::span<const std::uint8_t, 20>(record.data(), 20)));
  EXPECT_EQ(store.geometry().roomWidth, 8);
}

TEST_F(DispatcherTest, BlockRepliesAtOtherAddressesAreIgnored) {
  const test::StoreSnapshot before(store);
  for (int address : {1254, 1284, 1286, 1304, 1306, 0xF00, 0xFFFF}) {
    Dispatch(AddressedReply(134, address, 8, Sequence(8, 1)));
  }
  EXPECT_EQ(test::StoreSnapshot(store), before);
}

TEST_F(DispatcherTest, ModeNamesAreBigEndianWideCharacters) {
  // DB 0F 40 06 5B A2 53 85 00 41: "客厅A" for mode slot 2 (address 0xF40).
  Dispatch(AddressedReply(219, 0xF40, 6, {0x5B, 0xA2, 0x53, 0x85, 0x00, 0x41}));
  EXPECT_EQ(store.modeName(1), u"客厅A");
  // The byte count ends the name: 5 bytes hold two whole characters.
  Dispatch(AddressedReply(219, 0xFC0, 5, {0x00, 0x4D, 0x00, 0x34, 0x00, 0x35}));
  EXPECT_EQ(store.modeName(3), u"M4");
  // A zero character ends it too.
  Dispatch(AddressedReply(219, 0xF00, 8, {0x00, 0x4B, 0x00, 0x00, 0x00, 0x5A}));
  EXPECT_EQ(store.modeName(0), u"K");
}

TEST_F(DispatcherTest, BlankOrMisaddressedModeNamesAreIgnored) {
  store.setModeName(2, u"游戏");
  const test::StoreSnapshot before(store);
  Dispatch(AddressedReply(219, 0xF80, 8, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x41}));
  Dispatch(AddressedReply(219, 0xF90, 4, {0x00, 0x41, 0x00, 0x42}));
  EXPECT_EQ(test::StoreSnapshot(store), before);
}

TEST_F(DispatcherTest, OverLongModeNameStopsAtTwentyFourCharacters) {
  std::vector<std::uint8_t> text;
  for (int i = 0; i < 28; ++i) {
    text.push_back(0x00);
    text.push_back(static_cast<std::uint8_t>('a' + i % 26));
  }
  Dispatch(AddressedReply(219, 0xF80, 255, text));  // count beyond the report
  EXPECT_EQ(store.modeName(2), u"abcdefghijklmnopqrstuvwx");
}

TEST_F(DispatcherTest, SmartHomeRepliesAreLoggedBoundedAndOtherwiseIgnored) {
  test::LogCapture log;
  const test::StoreSnapshot before(store);
  Report r = Reply(18);
  for (std::size_t i = 2; i < r.size(); ++i) r[i] = 0xAB;
  Dispatch(r);
  Dispatch(Reply(20, {1, 2, 3}));
  EXPECT_EQ(test::StoreSnapshot(store), before);
  const auto lines = log.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "smart-home reply 18: AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB\n");
  EXPECT_EQ(lines[1], "smart-home reply 20: 01 02 03 00 00 00 00 00 00 00 00 00 00 00 00 00\n");
}

TEST_F(DispatcherTest, UnknownCodesChangeNothing) {
  const test::StoreSnapshot before(store);
  for (int c : {0, 1, 3, 8, 11, 99, 133, 145, 200, 255}) {
    Report r{};
    r.fill(0xFF);
    r[1] = static_cast<std::uint8_t>(c);
    Dispatch(r);
  }
  EXPECT_EQ(test::StoreSnapshot(store), before);
  EXPECT_TRUE(events.events().empty());
}

TEST_F(DispatcherTest, ShortInputReadsAsZeroPadded) {
  // Exact-size heap buffers: AddressSanitizer would catch any read beyond them.
  store.Fill(Region::levelMeters, 0x33);
  const std::vector<std::uint8_t> meters{0x00, 14, 0x09};
  dispatcher.DispatchReply(meters);
  auto expected = std::vector<std::uint8_t>(16, 0);
  expected[0] = 0x09;
  EXPECT_EQ(Region_(store, Region::levelMeters), expected);

  const std::vector<std::uint8_t> model{0x00, 128, 'B', 'r', 'i', 'o'};
  dispatcher.DispatchReply(model);
  EXPECT_EQ(store.modelName(), u"Brio");

  const std::vector<std::uint8_t> block{0x00, 134, 0x00, 0x10, 0x38, 0x42};
  dispatcher.DispatchReply(block);
  auto dsp = Region_(store, Region::dspBlock);
  EXPECT_EQ(dsp[0x10], 0x42);
  EXPECT_EQ(dsp[0x11], 0x00);

  dispatcher.DispatchReply(std::span<const std::uint8_t>());
  const std::vector<std::uint8_t> one{134};
  dispatcher.DispatchReply(one);
}

TEST_F(DispatcherTest, InputLongerThanAReportIsCutAtSixtyOneBytes) {
  std::vector<std::uint8_t> longer(100, 0x61);
  longer[0] = 0;
  longer[1] = 128;
  dispatcher.DispatchReply(longer);
  EXPECT_EQ(store.modelName(), std::u16string(29, u'a'));
}

}  // namespace
}  // namespace vireo
