// vireo-cli eq: the offline `eq show --file`, argument checks, and edits that need a machine.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "../common/temp_folder.h"
#include "model/band.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "run_cli.h"
#include "tuning/eq_identity.h"

namespace vireo::cli::test {
namespace {

class EqCommandsTest : public ::testing::Test {
 protected:
  vireo::test::TempFolder temp_;
  const std::string path_ = temp_.Path("eq.noveq");
};

TEST_F(EqCommandsTest, ShowReadsOneEqualiserOfAModeFile) {
  ParameterStore store;
  ResetStoreDefaults(store);
  const std::array<std::uint8_t, 7> band2{0x00, 0xA5, 0x01, 0x2C, 0x07, 0xD0, 0x04};  // LS +1.5 dB 300 Hz Q 2
  store.WriteBytes(Region::dspBlock, 154, band2);                                     // echo A band 2
  store.SetInt(slot::echoEqBypassA, 1);
  ASSERT_TRUE(WriteModeFile(store, path_).ok);
  const CliRun run = RunArgs({"eq", "show", "4", "--file", path_});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0 1 0.0 61 1.41\n1 1 0.0 125 1.41\n2 4 1.5 300 2.00\n3 1 0.0 500 1.41\n4 1 0.0 1000 1.41\n"
            "5 1 0.0 2300 1.41\n6 2 0.0 5000 0.71\nbypass 1\n");
  EXPECT_EQ(Lines(RunArgs({"eq", "show", "12", "--file", path_}).out).size(), 14u);  // 13 bands of output 6
}

TEST_F(EqCommandsTest, HeadroomNamesTheChannelsTheMusicPathLifts) {
  ParameterStore store;
  ResetStoreDefaults(store);
  // Music band 3: Peaking +6 dB at 1000 Hz, Q 1.41 (gain (6 + 15) x 10 = 0x00D2, Q 1410 = 0x0582).
  const std::array<std::uint8_t, 7> peak{0x00, 0xD2, 0x03, 0xE8, 0x05, 0x82, 0x01};
  const tuning::EqIdentity& music = *tuning::FindEqIdentity(6);
  store.WriteBytes(Region::dspBlock,
                   static_cast<std::size_t>(EqBandAddress(music.group, music.firstBand + 3)), peak);
  store.SetInt(slot::chEqBypass[1], 1);  // channel 2's equaliser bypassed: the music lift still reaches it
  ASSERT_TRUE(WriteModeFile(store, path_).ok);
  const CliRun run = RunArgs({"eq", "headroom", "--file", path_});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 8u);
  // The grid point nearest 1 kHz lies at 1006 Hz.
  for (const std::string& line : lines)
    EXPECT_NE(line.find("+6.0 dB at 1.0 kHz: risk of clipping"), std::string::npos);
  EXPECT_EQ(lines[0].rfind("CH1 ", 0), 0u);
  EXPECT_EQ(RunArgs({"eq", "headroom", "extra"}).status, 2);
}

TEST_F(EqCommandsTest, ARefusedFilterFileNeverReachesForTheMachine) {
  {
    std::ofstream file(path_, std::ios::binary);
    file << "Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 1.41\r\nFilter 2: ON NO Fc 50 Hz\r\n";
  }
  const CliRun run = RunArgs({"eq", "import", "6", path_});
  EXPECT_EQ(run.status, 1);
  // Without a machine attached, the file's fault is still the one reported.
  EXPECT_EQ(run.err, "vireo-cli: " + path_ + ": line 2: filter type NO has no counterpart on the machine\n");
}

TEST_F(EqCommandsTest, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"eq"},
      {"eq", "show", "15", "--file", "x.noveq"},
      {"eq", "set", "9", "10", "PEQ", "0", "1000", "1"},  // output sections 10..12 follow band 9
      {"eq", "set", "0", "1", "BP", "0", "1000", "1"},
      {"eq", "set", "0", "1", "PEQ", "loud", "1000", "1"},
      {"eq", "copy", "0"},
      {"eq", "bypass", "3", "maybe"},
      {"eq", "import", "15", "x.txt"},
      {"eq", "export", "6"},
  };
  for (const auto& args : cases) EXPECT_EQ(RunArgs(args).status, 2) << args.back();
}

TEST_F(EqCommandsTest, WithoutAMachineTheEditsSaySoAndFail) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"eq", "show", "0"}, {"eq", "reset", "6"}, {"eq", "bypass", "0", "on"}}) {
    const CliRun run = RunArgs(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vireo-cli: no machine found (USB 2010:1031); is it plugged in and accessible?\n");
  }
  const CliRun missing = RunArgs({"eq", "show", "0", "--file", path_});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(Lines(missing.err).size(), 1u);
}

}  // namespace
}  // namespace vireo::cli::test
