// The store's contents after ResetStoreDefaults: slots, band records, location, settings, identity.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "model/band.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

// A store whose every region holds garbage first, so the defaults must overwrite all of it.
class StoreDefaults : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Region r : {Region::mainParams, Region::micBoostLevel, Region::chLocationGain, Region::dspBlock,
                     Region::locationSettings, Region::machineSettingsEdit, Region::machineSettings}) {
      store.Fill(r, 0xEE);
    }
    store.setModelName(u"other");
    ResetStoreDefaults(store);
  }

  std::vector<std::uint8_t> Bytes(Region r, std::size_t offset, std::size_t n) const {
    std::vector<std::uint8_t> out(n);
    EXPECT_EQ(store.ReadBytes(r, offset, out), n);
    return out;
  }

  ParameterStore store;
};

using Bytes7 = std::vector<std::uint8_t>;

TEST_F(StoreDefaults, MainParamsImage) {
  std::vector<std::uint8_t> expected(864, 0);
  for (std::size_t at : {128u, 152u}) {  // echoTimeA, echoTimeB = 217.0f = 0x43590000
    expected[at + 2] = 0x59;
    expected[at + 3] = 0x43;
  }
  expected[132] = 60;  // echoStartVolA
  expected[156] = 60;  // echoStartVolB
  EXPECT_EQ(Bytes(Region::mainParams, 0, 864), expected);
  EXPECT_EQ(store.Float(slot::echoTimeA), 217.0f);
  EXPECT_EQ(store.Float(slot::echoTimeB), 217.0f);
  EXPECT_EQ(store.Int(slot::echoStartVolB), 60);
}

TEST_F(StoreDefaults, OtherRegions) {
  EXPECT_EQ(Bytes(Region::chLocationGain, 0, 32), std::vector<std::uint8_t>(32, 0));
  EXPECT_EQ(Bytes(Region::machineSettingsEdit, 0, 13), std::vector<std::uint8_t>(13, 0));
  EXPECT_EQ(Bytes(Region::machineSettings, 0, 13),
            (std::vector<std::uint8_t>{0, 0, 0, 99, 99, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(Region::locationSettings, 0, 20),
            (std::vector<std::uint8_t>{0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                       0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00}));
  const LocationGeometry g = store.geometry();
  EXPECT_EQ(g.roomWidth, 4);
  EXPECT_EQ(g.roomLength, 4);
  EXPECT_EQ(g.listener, (Point{0.0f, 0.0f}));
  EXPECT_EQ(g.speakers[0], (Point{-1.0f, 1.0f}));
  EXPECT_EQ(g.speakers[6], (Point{-0.5f, 0.0f}));
  EXPECT_EQ(g.speakers[7], (Point{0.5f, 0.0f}));
}

TEST_F(StoreDefaults, IdentityTextsAndModeNames) {
  EXPECT_EQ(store.modelName(), u"Kestrel");
  EXPECT_EQ(store.firmwareDate(), u"2012-10-03");
  EXPECT_EQ(store.secondDate(), u"2012-11-30");
  EXPECT_EQ(store.modeName(0), u"\u7535\u5F71");  // 电影
  EXPECT_EQ(store.modeName(1), u"K\u6B4C");       // K歌
  EXPECT_EQ(store.modeName(2), u"\u6E38\u620F");  // 游戏
  EXPECT_EQ(store.modeName(3), u"AV");
}

TEST_F(StoreDefaults, BandRecordBytes) {
  auto at = [&](int address) { return Bytes(Region::dspBlock, static_cast<std::size_t>(address), 7); };
  EXPECT_EQ(at(0), (Bytes7{0x00, 0x96, 0x00, 0x1F, 0x05, 0x86, 0x01}));             // mic A band 0: 31 Hz
  EXPECT_EQ(at(7 * 19), (Bytes7{0x00, 0x96, 0x3E, 0x80, 0x05, 0x86, 0x01}));        // mic B band 9: 16 kHz
  EXPECT_EQ(at(7 * 26), (Bytes7{0x00, 0x96, 0x13, 0x88, 0x02, 0xC3, 0x02}));        // echo A band 6: LP 5000
  EXPECT_EQ(at(7 * 33), (Bytes7{0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05}));        // echo B band 13: HS +3
  EXPECT_EQ(at(7 * 40), (Bytes7{0x00, 0x5A, 0x13, 0x88, 0x02, 0xC3, 0x05}));        // reverb A band 6: HS -6
  EXPECT_EQ(at(7 * 47), (Bytes7{0x00, 0x78, 0x0B, 0xB8, 0x02, 0xC3, 0x05}));        // reverb B band 13: HS -3
  EXPECT_EQ(at(406 + 7 * 13), (Bytes7{0x00, 0x96, 0x01, 0xF4, 0x02, 0xC3, 0x01}));  // ch1 band 13
  EXPECT_EQ(at(1141 + 7 * 14), (Bytes7{0x00, 0x96, 0x03, 0xE8, 0x02, 0xC3, 0x01}));  // ch8 band 14
  EXPECT_EQ(at(1246), Bytes7(7, 0));  // the group-13 band stays blank
}

// Expected defaults, group by group, as (frequency, Q, gain, type) lists.
struct Expected {
  int frequency;
  float q;
  float gain;
  int type;
};

std::vector<Expected> TenBands() {
  std::vector<Expected> v;
  for (int f : {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000}) v.push_back({f, 1.414f, 0, 1});
  return v;
}

std::vector<Expected> Peq(std::initializer_list<int> frequencies) {
  std::vector<Expected> v;
  for (int f : frequencies) v.push_back({f, 1.414f, 0, 1});
  return v;
}

void ExpectGroup(const ParameterStore& store, int group, int firstBand, const std::vector<Expected>& bands) {
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const int b = firstBand + static_cast<int>(i);
    SCOPED_TRACE(testing::Message() << "group " << group << " band " << b);
    const BandRecord got = ReadBand(store, group, b);
    EXPECT_EQ(got.frequency, bands[i].frequency);
    EXPECT_FLOAT_EQ(got.q, bands[i].q);
    EXPECT_FLOAT_EQ(got.gain, bands[i].gain);
    EXPECT_EQ(got.type, bands[i].type);
  }
}

TEST_F(StoreDefaults, EveryDefaultBand) {
  ExpectGroup(store, 1, 0, TenBands());
  ExpectGroup(store, 1, 10, TenBands());
  ExpectGroup(store, 2, 0, Peq({61, 125, 250, 500, 1000, 2300}));
  ExpectGroup(store, 2, 6, {{5000, 0.707f, 0, 2}, {200, 0.707f, 0, 3}});
  ExpectGroup(store, 2, 8, Peq({160, 250, 500, 1000, 2300}));
  ExpectGroup(store, 2, 13, {{5000, 0.707f, 3, 5}});
  ExpectGroup(store, 3, 0, {{120, 0.707f, 0, 3}});
  ExpectGroup(store, 3, 1, Peq({160, 250, 500, 1000, 2300}));
  ExpectGroup(store, 3, 6, {{5000, 0.707f, -6, 5}, {100, 0.707f, 0, 3}});
  ExpectGroup(store, 3, 8, Peq({160, 250, 500, 1000, 2300}));
  ExpectGroup(store, 3, 13, {{3000, 0.707f, -3, 5}});
  ExpectGroup(store, 4, 0, TenBands());
  for (int group = 5; group <= 12; ++group) {
    ExpectGroup(store, group, 0, TenBands());
    ExpectGroup(store, group, 10, Peq({16000, 16000, 16000}));
    ExpectGroup(store, group, 13, {{500, 0.707f, 0, 1}, {1000, 0.707f, 0, 1}});
  }
  const BandRecord blank = ReadBand(store, 13, 0);
  EXPECT_EQ(blank.type, 0);
  EXPECT_EQ(blank.frequency, 0);
  EXPECT_FLOAT_EQ(blank.gain, -15.0f);  // a zero gain code is the bottom of the range
}

}  // namespace
}  // namespace vireo
