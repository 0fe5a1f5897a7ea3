// Mode files: hand-built files of every version, fix-ups, rejected files and the parsing of file names.
#include "model/mode_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "../common/in_range_words.h"
#include "model/location.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"

namespace vireo {
namespace {

// What each version carries, written out independently of the reader's table: slots of mainParams,
// bytes of dspBlock, and whether chLocationGain, locationSettings and micBoostLevel follow.
struct VersionShape {
  int slots;
  int dspBytes;
  bool gain;
  bool location;
  bool boost;
};
constexpr std::array<VersionShape, 9> kShapes{{
    {0, 0, false, false, false},  // no version 0
    {196, 1246, false, false, false},
    {196, 1246, true, false, false},
    {199, 1246, true, false, false},
    {199, 1246, true, true, false},
    {207, 1246, true, true, false},
    {211, 1253, true, true, false},
    {216, 1253, true, true, false},
    {216, 1253, true, true, true},
}};

// Region contents that differ from the defaults and from the sentinels below.
struct FileParts {
  std::vector<std::uint8_t> mainParams = std::vector<std::uint8_t>(864);
  std::vector<std::uint8_t> dspBlock = std::vector<std::uint8_t>(1253);
  std::vector<std::uint8_t> chLocationGain = std::vector<std::uint8_t>(32);
  std::array<std::uint8_t, 20> locationSettings{0x07, 0x09, 0x83, 0x05, 0x9E, 0x14, 0x00, 0x1E, 0x1E, 0x14,
                                                0x9E, 0x90, 0x80, 0x8F, 0x1E, 0x90, 0x8A, 0x02, 0x0A, 0x81};
  std::array<std::uint8_t, 2> micBoostLevel{0xC0, 0xC0};  // -6 dB

  std::vector<std::uint8_t> micBoostLevelBytes() const {
    return {micBoostLevel.begin(), micBoostLevel.end()};
  }

  // Every value inside its field's range, as a file must hold it to load unchanged.
  FileParts() {
    for (int s = 0; s < 216; ++s) {
      const std::uint32_t w = test::InRangeWord(s, static_cast<std::uint32_t>(s) * 2654435761u + 7);
      for (int b = 0; b < 4; ++b)
        mainParams[static_cast<std::size_t>(4 * s + b)] = static_cast<std::uint8_t>(w >> (8 * b));
    }
    // slot 63 (musicSource, bytes 252..255) = 3, little-endian
    mainParams[252] = 3;
    mainParams[253] = mainParams[254] = mainParams[255] = 0;
    for (int r = 0; r < 179; ++r) {
      const auto band = test::InRangeBand(r);
      std::copy(band.begin(), band.end(), dspBlock.begin() + 7 * r);
    }
    for (std::size_t c = 0; c < 8; ++c) {  // -2.25 dB and a little below, big-endian
      const std::uint8_t gain[4] = {0xC0, static_cast<std::uint8_t>(0x10 + c), static_cast<std::uint8_t>(c),
                                    static_cast<std::uint8_t>(0x40 + c)};
      std::copy(gain, gain + 4, chLocationGain.begin() + static_cast<std::ptrdiff_t>(4 * c));
    }
  }
};

std::uint32_t FileSlot(const FileParts& parts, int s) {
  std::uint32_t v = 0;
  for (int b = 0; b < 4; ++b)
    v |= static_cast<std::uint32_t>(parts.mainParams[static_cast<std::size_t>(4 * s + b)]) << (8 * b);
  return v;
}

void Append(std::vector<std::uint8_t>& file, const std::uint8_t* from, std::size_t n) {
  file.insert(file.end(), from, from + n);
}

void AppendVersion(std::vector<std::uint8_t>& file, std::int32_t version) {
  const auto v = static_cast<std::uint32_t>(version);
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> BuildFile(int version, const FileParts& parts) {
  const VersionShape& shape = kShapes[static_cast<std::size_t>(version)];
  std::vector<std::uint8_t> file;
  AppendVersion(file, version);
  Append(file, parts.mainParams.data(), static_cast<std::size_t>(shape.slots) * 4);
  Append(file, parts.dspBlock.data(), static_cast<std::size_t>(shape.dspBytes));
  if (shape.gain) Append(file, parts.chLocationGain.data(), 32);
  if (shape.location) Append(file, parts.locationSettings.data(), 20);
  if (shape.boost) Append(file, parts.micBoostLevel.data(), 2);
  return file;
}

constexpr std::array<std::uint8_t, 20> kSentinelLocation{0x02, 0x03, 0x81, 0x01, 0x8A, 0x0A, 0x80,
                                                         0x0A, 0x0A, 0x0A, 0x8A, 0x8A, 0x80, 0x8A,
                                                         0x0A, 0x8A, 0x85, 0x80, 0x05, 0x80};

// A store whose every persisted byte is recognisable, so untouched regions can be told apart.
void FillSentinels(ParameterStore& store) {
  ResetStoreDefaults(store);
  store.Fill(Region::mainParams, 0xEE);
  store.Fill(Region::dspBlock, 0xDD);
  store.Fill(Region::chLocationGain, 0xCC);
  store.SetLocationRecord(kSentinelLocation);
  store.Fill(Region::micBoostLevel, 0xBB);
}

std::vector<std::uint8_t> RegionBytes(const ParameterStore& store, Region region) {
  std::vector<std::uint8_t> bytes(RegionSize(region));
  store.ReadBytes(region, 0, bytes);
  return bytes;
}

// Everything a load may touch, for before/after comparisons.
struct Snapshot {
  std::vector<std::vector<std::uint8_t>> regions;
  LocationGeometry geometry;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const ParameterStore& store) {
  Snapshot s;
  for (Region r : {Region::mainParams, Region::dspBlock, Region::chLocationGain, Region::locationSettings,
                   Region::micBoostLevel, Region::levelMeters, Region::machineSettings}) {
    s.regions.push_back(RegionBytes(store, r));
  }
  s.geometry = store.geometry();
  return s;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& v, std::size_t from, std::size_t to) {
  return {v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to)};
}

class ModeFileVersionTest : public ::testing::TestWithParam<int> {};

TEST_P(ModeFileVersionTest, LoadsCarriedRegionsAndLeavesTheRestUntouched) {
  const int version = GetParam();
  const VersionShape& shape = kShapes[static_cast<std::size_t>(version)];
  const FileParts parts;
  ParameterStore store;
  FillSentinels(store);

  const ModeFileResult result = ParseModeFile(BuildFile(version, parts), store);
  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(result.version, version);
  EXPECT_TRUE(result.reason.empty());

  for (int s = 0; s < kMainSlotCount; ++s) {
    EXPECT_EQ(store.Bits(s), s < shape.slots ? FileSlot(parts, s) : 0xEEEEEEEEu) << "slot " << s;
  }
  const auto dsp = RegionBytes(store, Region::dspBlock);
  for (std::size_t i = 0; i < dsp.size(); ++i) {
    EXPECT_EQ(dsp[i], static_cast<int>(i) < shape.dspBytes ? parts.dspBlock[i] : 0xDD) << "dsp byte " << i;
  }
  EXPECT_EQ(RegionBytes(store, Region::chLocationGain),
            shape.gain ? parts.chLocationGain : std::vector<std::uint8_t>(32, 0xCC));
  const auto& location = shape.location ? parts.locationSettings : kSentinelLocation;
  EXPECT_EQ(RegionBytes(store, Region::locationSettings),
            std::vector<std::uint8_t>(location.begin(), location.end()));
  EXPECT_EQ(store.geometry(), DecodeLocation(location));
  const std::vector<std::uint8_t> boost =
      shape.boost ? parts.micBoostLevelBytes() : std::vector<std::uint8_t>(2, 0xBB);
  EXPECT_EQ(RegionBytes(store, Region::micBoostLevel), boost);
}

TEST_P(ModeFileVersionTest, TruncatedFileIsRejectedAndStoreUntouched) {
  const int version = GetParam();
  const auto file = BuildFile(version, FileParts());
  ParameterStore store;
  FillSentinels(store);
  const Snapshot before = Take(store);
  for (std::size_t size : {file.size() - 1, file.size() - 2, std::size_t{400}, std::size_t{5}}) {
    const ModeFileResult result = ParseModeFile(std::span(file.data(), size), store);
    EXPECT_FALSE(result.ok) << size;
    EXPECT_EQ(result.version, version);
    EXPECT_EQ(result.problem, ModeFileProblem::truncated);
    EXPECT_NE(result.reason.find("shorter than a version-" + std::to_string(version)), std::string::npos)
        << result.reason;
    EXPECT_NE(result.reason.find(std::to_string(file.size())), std::string::npos) << result.reason;
    EXPECT_TRUE(Take(store) == before) << "store changed by a " << size << "-byte file";
  }
}

TEST_P(ModeFileVersionTest, BytesPastTheLayoutAreIgnored) {
  const int version = GetParam();
  auto file = BuildFile(version, FileParts());
  ParameterStore expected;
  FillSentinels(expected);
  ASSERT_TRUE(ParseModeFile(file, expected).ok);

  file.resize(kModeFileBytes + 300, 0x77);
  ParameterStore store;
  FillSentinels(store);
  const ModeFileResult result = ParseModeFile(file, store);
  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_TRUE(Take(store) == Take(expected));
}

TEST_P(ModeFileVersionTest, MusicSourceOutsideThePlayableSourcesBecomesZero) {
  const int version = GetParam();
  const std::array<std::pair<std::int32_t, std::int32_t>, 9> cases{
      {{0, 0}, {1, 0}, {2, 2}, {3, 3}, {4, 4}, {5, 0}, {6, 0}, {-1, 0}, {0x0102, 0}}};
  for (const auto& [inFile, loaded] : cases) {
    FileParts parts;
    const auto bits = static_cast<std::uint32_t>(inFile);
    for (int b = 0; b < 4; ++b) parts.mainParams[252 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
    ParameterStore store;
    FillSentinels(store);
    ASSERT_TRUE(ParseModeFile(BuildFile(version, parts), store).ok);
    EXPECT_EQ(store.Int(slot::musicSource), loaded) << "musicSource " << inFile;
    // the fix-up touches musicSource only
    EXPECT_EQ(store.Bits(slot::musicPitch), FileSlot(parts, slot::musicPitch));
    EXPECT_EQ(store.Bits(slot::musicNoiseGate), FileSlot(parts, slot::musicNoiseGate));
  }
}

INSTANTIATE_TEST_SUITE_P(AllVersions, ModeFileVersionTest, ::testing::Range(1, 9));

TEST(ModeFileTest, VersionOneLeavesNewerFieldsUntouched) {
  ParameterStore store;
  FillSentinels(store);
  ASSERT_TRUE(ParseModeFile(BuildFile(1, FileParts()), store).ok);
  for (int s = 196; s <= 215; ++s) EXPECT_EQ(store.Bits(s), 0xEEEEEEEEu) << s;
  std::array<std::uint8_t, 7> group13{};
  store.ReadBytes(Region::dspBlock, 1246, group13);
  for (auto b : group13) EXPECT_EQ(b, 0xDD);
  EXPECT_EQ(store.Byte(Region::chLocationGain, 0), 0xCC);
  EXPECT_EQ(store.Byte(Region::locationSettings, 0), kSentinelLocation[0]);
  EXPECT_EQ(store.Byte(Region::micBoostLevel, 1), 0xBB);
}

TEST(ModeFileTest, UnsupportedVersionsAreRejectedAndStoreUntouched) {
  for (std::int32_t version : {0, 9, -1, 100, 0x08000000}) {
    std::vector<std::uint8_t> file;
    AppendVersion(file, version);
    file.resize(kModeFileBytes, 0x11);
    ParameterStore store;
    FillSentinels(store);
    const Snapshot before = Take(store);
    const ModeFileResult result = ParseModeFile(file, store);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "Mode file version not support!");
    EXPECT_EQ(result.version, version);
    EXPECT_TRUE(Take(store) == before) << version;
  }
}

TEST(ModeFileTest, FileTooShortForAVersionIsRejected) {
  ParameterStore store;
  FillSentinels(store);
  const Snapshot before = Take(store);
  const std::vector<std::uint8_t> threeBytes{8, 0, 0};
  for (std::size_t n : {std::size_t{0}, std::size_t{3}}) {
    const ModeFileResult result = ParseModeFile(std::span(threeBytes.data(), n), store);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(result.version, 0);
  }
  EXPECT_TRUE(Take(store) == before);
}

TEST(ModeFileTest, VersionEightImageHasTheFixedOffsets) {
  ParameterStore store;
  ResetStoreDefaults(store);
  for (int s = 0; s < kMainSlotCount; ++s)
    store.SetBits(s, 0x01000000u * static_cast<std::uint32_t>(s) + 0x00A0B0C0u);
  store.SetInt(slot::musicSource, 2);
  store.SetInt(slot::micVolume, 0x00A0B0C0);  // out of range: the file keeps what the store holds
  const FileParts parts;
  store.WriteBytes(Region::dspBlock, 0, parts.dspBlock);
  store.WriteBytes(Region::chLocationGain, 0, parts.chLocationGain);
  store.SetLocationRecord(parts.locationSettings);
  store.WriteBytes(Region::micBoostLevel, 0, parts.micBoostLevel);

  const auto bytes = SerializeModeFile(store);
  ASSERT_EQ(bytes.size(), 2175u);
  EXPECT_EQ(Slice(bytes, 0, 4), (std::vector<std::uint8_t>{8, 0, 0, 0}));
  EXPECT_EQ(Slice(bytes, 4, 8), (std::vector<std::uint8_t>{0xC0, 0xB0, 0xA0, 0x00}));  // slot 0
  EXPECT_EQ(Slice(bytes, 4 + 4 * 215, 868), (std::vector<std::uint8_t>{0xC0, 0xB0, 0xA0, 0xD7}));
  EXPECT_EQ(Slice(bytes, 4 + 4 * 63, 4 + 4 * 64), (std::vector<std::uint8_t>{2, 0, 0, 0}));
  EXPECT_EQ(Slice(bytes, 868, 2121), parts.dspBlock);
  EXPECT_EQ(Slice(bytes, 2121, 2153), parts.chLocationGain);
  EXPECT_EQ(Slice(bytes, 2153, 2173),
            std::vector<std::uint8_t>(parts.locationSettings.begin(), parts.locationSettings.end()));
  EXPECT_EQ(Slice(bytes, 2173, 2175), (std::vector<std::uint8_t>{0xC0, 0xC0}));

  // The slot words above are mostly out of range and load clamped; the other regions come back as saved.
  ParameterStore back;
  FillSentinels(back);
  ASSERT_TRUE(ParseModeFile(bytes, back).ok);
  for (Region r :
       {Region::dspBlock, Region::chLocationGain, Region::locationSettings, Region::micBoostLevel}) {
    EXPECT_EQ(RegionBytes(back, r), RegionBytes(store, r));
  }
  EXPECT_EQ(back.geometry(), store.geometry());
  EXPECT_EQ(back.Int(slot::musicSource), 2);
}

TEST(ModeFileTest, HandBuiltVersionEightFileIsReproducedByteForByte) {
  const auto file = BuildFile(8, FileParts());
  ASSERT_EQ(file.size(), 2175u);
  ParameterStore store;
  FillSentinels(store);
  ASSERT_TRUE(ParseModeFile(file, store).ok);
  EXPECT_EQ(SerializeModeFile(store), file);
}

TEST(ModeFileTest, LayoutTableMatchesTheFileSizes) {
  const std::array<std::size_t, 8> sizes{2034, 2066, 2078, 2098, 2130, 2153, 2173, 2175};
  for (int v = 1; v <= 8; ++v) {
    ASSERT_NE(ModeFileLayoutOf(v), nullptr);
    EXPECT_EQ(ModeFileLayoutOf(v)->FileBytes(), sizes[static_cast<std::size_t>(v - 1)]) << v;
    EXPECT_EQ(BuildFile(v, FileParts()).size(), sizes[static_cast<std::size_t>(v - 1)]) << v;
  }
  EXPECT_EQ(ModeFileLayoutOf(0), nullptr);
  EXPECT_EQ(ModeFileLayoutOf(9), nullptr);
}

TEST(ModeFileTest, ModeSlotComesFromTheStartOfTheFileName) {
  EXPECT_EQ(ModeSlotOfFileName("m1.noveq"), 0);
  EXPECT_EQ(ModeSlotOfFileName("/home/u/M3 party.noveq"), 2);
  EXPECT_EQ(ModeSlotOfFileName("M4"), 3);
  EXPECT_EQ(ModeSlotOfFileName("/dir/m2abc.noveq"), 1);
  EXPECT_EQ(ModeSlotOfFileName("xm1.noveq"), -1);
  EXPECT_EQ(ModeSlotOfFileName("/m1dir/preset.noveq"), -1);
  EXPECT_EQ(ModeSlotOfFileName("m5.noveq"), -1);
  EXPECT_EQ(ModeSlotOfFileName("m0.noveq"), -1);
  EXPECT_EQ(ModeSlotOfFileName("m.noveq"), -1);
  EXPECT_EQ(ModeSlotOfFileName(".m1"), -1);
  EXPECT_EQ(ModeSlotOfFileName(""), -1);
}

}  // namespace
}  // namespace vireo
