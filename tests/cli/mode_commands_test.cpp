// vireo-cli mode show/diff/convert on hand-built version-1 and version-8 files.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../common/temp_folder.h"
#include "mini_json.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "model/slot_fields.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

namespace fs = std::filesystem;

void PutLe(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutBe(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// Slot values common to both files; slot k sits at file offset 4 + 4k.
void PutCommonSlots(std::vector<std::uint8_t>& file, std::uint32_t micVolume) {
  PutLe(file, 4 + 4 * 0, micVolume);                             // micVolume
  PutLe(file, 4 + 4 * 155, std::bit_cast<std::uint32_t>(7.5f));  // chDelay[2]
  PutLe(file, 4 + 4 * 63, 5);                                    // musicSource AUX2 -> 0 on load
  PutLe(file, 4 + 4 * 62, static_cast<std::uint32_t>(-3));       // musicPitch
}

class ModeCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Version 1: 784 bytes of slots, then 1246 of band records, nothing else.
    std::vector<std::uint8_t> v1(4 + 784 + 1246, 0);
    PutLe(v1, 0, 1);
    PutCommonSlots(v1, 42);
    PutBand(v1, 4 + 784, 336);
    Write(v1Path(), v1);

    // Version 8: the full layout, every region carried.
    std::vector<std::uint8_t> v8(2175, 0);
    PutLe(v8, 0, 8);
    PutCommonSlots(v8, 43);
    PutLe(v8, 4 + 4 * 210, 65);  // musicLowGain, beyond version 1
    PutBand(v8, 868, 336);
    PutBe(v8, 2121 + 4, std::bit_cast<std::uint32_t>(-3.5f));  // chLocationGain[1]
    const std::uint8_t location[20]{5,    6,    0x83, 0x05, 0x8A, 0x0A, 0,    0x0A, 0x0A, 0x0A,
                                    0x8A, 0x8A, 0,    0x8A, 0x0A, 0x8A, 0x85, 0,    0x05, 0};
    std::copy(std::begin(location), std::end(location), v8.begin() + 2153);
    v8[2173] = 0xC0;  // micBoostLevel -6 dB
    v8[2174] = 0xC0;
    Write(v8Path(), v8);
  }

  // +3 dB, 5000 Hz, Q 0.707, high shelf
  static void PutBand(std::vector<std::uint8_t>& file, std::size_t dspOffset, std::size_t address) {
    const std::uint8_t band[7]{0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05};
    std::copy(std::begin(band), std::end(band),
              file.begin() + static_cast<std::ptrdiff_t>(dspOffset + address));
  }
  static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static std::vector<std::uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string v1Path() const { return (dir_ / "old.noveq").string(); }
  std::string v8Path() const { return (dir_ / "m2 new.noveq").string(); }
  std::string PathOf(const char* name) const { return (dir_ / name).string(); }

  static bool HasLine(const std::string& text, const std::string& line) {
    const auto lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  vireo::test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
};

TEST_F(ModeCommandsTest, ShowDecodesAVersionOneFileOverTheDefaults) {
  const CliRun run = RunArgs({"mode", "show", v1Path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out).front(), "version 1");
  EXPECT_TRUE(HasLine(run.out, "micVolume 42"));
  EXPECT_TRUE(HasLine(run.out, "chDelay[2] 7.5"));
  EXPECT_TRUE(HasLine(run.out, "musicSource 0"));
  EXPECT_TRUE(HasLine(run.out, "musicPitch -3"));
  // The file's 0 ms, not the default 217, at the bottom of the echo time's 2..260 ms; stderr says so.
  EXPECT_TRUE(HasLine(run.out, "echoTimeA 2"));
  EXPECT_NE(run.err.find("out of range, loaded at the nearest limit:"), std::string::npos);
  EXPECT_NE(run.err.find(" echoTimeA"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(run.err).size(), 1u);
  EXPECT_TRUE(HasLine(run.out, "band[4][0] address=336 gain=3 frequency=5000 q=0.707 type=5"));
  // Not carried by version 1: the defaults show through.
  EXPECT_TRUE(HasLine(run.out, "locationSettings 040400008A0A000A0A0A8A8A008A0A8A85000500"));
  EXPECT_TRUE(HasLine(run.out, "chLocationGain[1] 0"));
  EXPECT_TRUE(HasLine(run.out, "micBoostLevel 0"));
  EXPECT_TRUE(HasLine(run.out, "band[13][0] address=1246 gain=-15 frequency=0 q=0 type=0"));
  // version + 216 slots + 179 bands + 8 gains + location + boost
  EXPECT_EQ(Lines(run.out).size(), 1u + 216u + 179u + 8u + 1u + 1u);
}

TEST_F(ModeCommandsTest, ShowJsonOfAVersionEightFile) {
  const CliRun run = RunArgs({"mode", "show", v8Path(), "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  Json root;
  ASSERT_TRUE(JsonReader(run.out).Parse(&root)) << run.out.substr(0, 400);
  ASSERT_EQ(root.kind, Json::Kind::object);
  std::vector<std::string> keys;
  for (const auto& [k, v] : root.members) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<std::string>{"version", "slots", "bands", "chLocationGain", "locationSettings",
                                            "micBoostLevel"}));
  EXPECT_EQ(root.Find("version")->number, 8);

  const Json& slots = *root.Find("slots");
  ASSERT_EQ(slots.members.size(), SlotFields().size());
  for (const SlotField& field : SlotFields()) {
    const Json* value = slots.Find(field.name);
    ASSERT_NE(value, nullptr) << field.name;
    if (field.count > 1) {
      ASSERT_EQ(value->kind, Json::Kind::array) << field.name;
      EXPECT_EQ(value->items.size(), static_cast<std::size_t>(field.count)) << field.name;
    } else {
      EXPECT_EQ(value->kind, Json::Kind::number) << field.name;
    }
  }
  EXPECT_EQ(slots.Find("micVolume")->number, 43);
  EXPECT_EQ(slots.Find("chDelay")->items[2].number, 7.5);
  EXPECT_EQ(slots.Find("musicSource")->number, 0);
  EXPECT_EQ(slots.Find("musicLowGain")->number, 65);
  EXPECT_EQ(slots.Find("echoTimeA")->number, 2);  // 0 in the file, below the 2..260 ms range

  const Json& bands = *root.Find("bands");
  ASSERT_EQ(bands.items.size(), 179u);
  double lastAddress = -1;
  for (const Json& band : bands.items) {
    ASSERT_EQ(band.members.size(), 5u);
    EXPECT_EQ(band.members[0].first, "address");
    EXPECT_EQ(band.members[1].first, "gain");
    EXPECT_EQ(band.members[2].first, "frequency");
    EXPECT_EQ(band.members[3].first, "q");
    EXPECT_EQ(band.members[4].first, "type");
    EXPECT_GT(band.members[0].second.number, lastAddress);
    lastAddress = band.members[0].second.number;
  }
  EXPECT_EQ(lastAddress, 1246);
  const Json& hs = bands.items[48];  // music band 0
  EXPECT_EQ(hs.Find("address")->number, 336);
  EXPECT_EQ(hs.Find("gain")->number, 3);
  EXPECT_EQ(hs.Find("frequency")->number, 5000);
  EXPECT_EQ(hs.Find("q")->number, 0.707);
  EXPECT_EQ(hs.Find("type")->number, 5);

  const Json& gains = *root.Find("chLocationGain");
  ASSERT_EQ(gains.items.size(), 8u);
  EXPECT_EQ(gains.items[1].number, -3.5);
  EXPECT_EQ(gains.items[0].number, 0);
  EXPECT_EQ(root.Find("locationSettings")->text, "050683058A0A000A0A0A8A8A008A0A8A85000500");
  EXPECT_EQ(root.Find("micBoostLevel")->number, -6);
}

TEST_F(ModeCommandsTest, DiffListsEveryDifferingField) {
  const CliRun run = RunArgs({"mode", "diff", v1Path(), v8Path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "version: 1 -> 8",
                                "micVolume: 42 -> 43",
                                "musicLowGain: 0 -> 65",
                                // the v1 file leaves the defaults' blank compressor; the v8 one loads clamped
                                "musicCompRatio: 0 -> 1",
                                "musicCompAttack: 0 -> 1",
                                "musicCompRelease: 0 -> 1",
                                "chLocationGain[1]: 0 -> -3.5",
                                "locationSettings: 040400008A0A000A0A0A8A8A008A0A8A85000500 -> "
                                "050683058A0A000A0A0A8A8A008A0A8A85000500",
                                "micBoostLevel: 0 -> -6",
                            }));

  const CliRun same = RunArgs({"mode", "diff", v8Path(), v8Path()});
  EXPECT_EQ(same.status, 0);
  EXPECT_TRUE(same.out.empty()) << same.out;
}

TEST_F(ModeCommandsTest, DiffShowsChangedBandRecords) {
  auto bytes = Read(v8Path());
  bytes[868 + 406 + 2] = 0x01;  // output channel 1 band 0: frequency 31 -> 256 + lower byte
  Write(PathOf("changed.noveq"), bytes);
  const CliRun run = RunArgs({"mode", "diff", v8Path(), PathOf("changed.noveq")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "band[5][0]: address=406 gain=-15 frequency=0 q=0 type=0 -> address=406 "
                                "gain=-15 frequency=256 q=0.1 type=0"}));  // no longer blank: Q at least 0.1
}

TEST_F(ModeCommandsTest, ConvertWritesAVersionEightFileThatReadsBackEqual) {
  const std::string out = PathOf("converted.noveq");
  const CliRun run = RunArgs({"mode", "convert", v1Path(), out});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto bytes = Read(out);
  ASSERT_EQ(bytes.size(), 2175u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
            (std::vector<std::uint8_t>{8, 0, 0, 0}));

  ParameterStore fromOld;
  ResetStoreDefaults(fromOld);
  ASSERT_TRUE(ReadModeFile(fromOld, v1Path()).ok);
  ParameterStore fromNew;
  ResetStoreDefaults(fromNew);
  fromNew.Fill(Region::mainParams, 0x99);  // every region must come from the converted file
  fromNew.Fill(Region::dspBlock, 0x99);
  ASSERT_TRUE(ReadModeFile(fromNew, out).ok);
  EXPECT_EQ(bytes, SerializeModeFile(fromOld));
  // Version 1 does not carry the music compressor, so the defaults' blank one (ratio, attack and release
  // 0) was converted; version 8 carries it, and it loads at the bottom of its ranges.
  fromOld.SetFloat(slot::musicCompRatio, 1.0f);
  fromOld.SetFloat(slot::musicCompAttack, 1.0f);
  fromOld.SetFloat(slot::musicCompRelease, 1.0f);
  EXPECT_EQ(SerializeModeFile(fromNew), SerializeModeFile(fromOld));

  EXPECT_EQ(RunArgs({"mode", "diff", v1Path(), out}).out,
            "version: 1 -> 8\nmusicCompRatio: 0 -> 1\nmusicCompAttack: 0 -> 1\nmusicCompRelease: 0 -> 1\n");
}

TEST_F(ModeCommandsTest, FailuresAndUsageErrors) {
  const CliRun missing = RunArgs({"mode", "show", PathOf("absent.noveq")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(Lines(missing.err).size(), 1u);
  EXPECT_NE(missing.err.find("absent.noveq"), std::string::npos);

  auto bytes = Read(v8Path());
  bytes[0] = 9;
  Write(PathOf("v9.noveq"), bytes);
  const CliRun v9 = RunArgs({"mode", "show", PathOf("v9.noveq")});
  EXPECT_EQ(v9.status, 1);
  EXPECT_NE(v9.err.find("Mode file version not support!"), std::string::npos);
  EXPECT_EQ(Lines(v9.err).size(), 1u);
  EXPECT_TRUE(v9.out.empty());

  bytes[0] = 8;
  bytes.resize(2000);
  Write(PathOf("short.noveq"), bytes);
  EXPECT_EQ(RunArgs({"mode", "diff", v8Path(), PathOf("short.noveq")}).status, 1);

  const CliRun unwritable = RunArgs({"mode", "convert", v8Path(), PathOf("no-dir/x.noveq")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(Lines(unwritable.err).size(), 1u);

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"mode"},
                                             {"mode", "show"},
                                             {"mode", "show", "a", "b"},
                                             {"mode", "show", "a", "--yaml"},
                                             {"mode", "diff", "a"},
                                             {"mode", "convert", "a"},
                                             {"mode", "frob", "a"}}) {
    const CliRun run = RunArgs(args);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_NE(run.err.find("usage: vireo-cli"), std::string::npos);
  }
}

}  // namespace
}  // namespace vireo::cli::test
