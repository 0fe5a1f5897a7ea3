// vireo-cli's device commands end to end against the emulator (real time: each read-all waits 3.4 s).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../common/temp_folder.h"
#include "cli.h"
#include "model/mode_file.h"

namespace vireo::test {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "vireo-cli");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  const int status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class DeviceCliThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    // Backups of restores go here, not into the user's data folder.
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  TempFolder temp_;
  const std::filesystem::path dir_ = temp_.path();
};

TEST_F(DeviceCliThreads, InfoAsJsonWithATraceOfEveryReport) {
  const CliRun run =
      Cli({"--emulator", "--emulator-model", "brio", "--trace", Path("t.txt"), "info", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"model\": \"brio\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"kind\": 18"), std::string::npos);
  EXPECT_NE(run.out.find("\"modeNames\": [\"电影\",\"K歌\",\"游戏\",\"AV\"]"), std::string::npos) << run.out;

  const auto lines = FileLines(Path("t.txt"));
  // 225 requests and the disconnect notice; 229 replies (149 brings five), and the notice's own
  // acknowledgement when it beats the close.
  const auto sentCount = std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l[0] == '>'; });
  EXPECT_EQ(sentCount, 226);
  ASSERT_GE(lines.size(), 455u);
  ASSERT_LE(lines.size(), 456u);
  EXPECT_EQ(lines[0].substr(0, 8), "> 02 80 ");
  EXPECT_EQ(lines[1].substr(0, 20), "< 01 80 62 72 69 6F ");
  EXPECT_EQ(lines[454].substr(0, 8), "> 02 8A ");
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), 1u + 61u * 3u) << line;
    for (std::size_t i = 2; i < line.size(); i += 3) {
      EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(line[i])) && !std::islower(line[i]));
      EXPECT_EQ(line[i - 1], ' ');
    }
  }
}

TEST_F(DeviceCliThreads, BackupThenRestoreIntoSlotThreeThroughAnotherEmulator) {
  ParameterStore tuned;
  ResetStoreDefaults(tuned);
  tuned.SetInt(slot::micVolume, 42);
  tuned.SetInt(slot::musicPitch, 3);
  ASSERT_TRUE(WriteModeFile(tuned, Path("state.noveq")).ok);

  CliRun run = Cli({"--emulator-state", Path("state.noveq"), "backup", Path("m3 copy.noveq")});
  ASSERT_EQ(run.status, 0) << run.err;
  ParameterStore backup;
  ResetStoreDefaults(backup);
  ASSERT_TRUE(ReadModeFile(backup, Path("m3 copy.noveq")).ok);
  EXPECT_EQ(backup.Int(slot::micVolume), 42);
  EXPECT_EQ(backup.Int(slot::musicPitch), 3);

  run = Cli({"--emulator", "--trace", Path("r.txt"), "restore", Path("m3 copy.noveq")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("stored it in mode 3"), std::string::npos) << run.out;
  const auto lines = FileLines(Path("r.txt"));
  std::vector<std::string> sent;
  for (const auto& line : lines) {
    if (line[0] == '>') sent.push_back(line.substr(2, 8));
  }
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[sent.size() - 3], "02 03 02");  // set mode 3 (index 2) ...
  EXPECT_EQ(sent[sent.size() - 2], "02 04 02");  // then store it, then disconnect
  EXPECT_EQ(sent.back(), "02 8A 00");
  // pitch +3 goes out as the integer 8 to 4/21
  bool pitch = false;
  for (const auto& line : lines) pitch = pitch || line.rfind("> 02 09 00 04 15 01 00 00 00 08", 0) == 0;
  EXPECT_TRUE(pitch);
}

TEST_F(DeviceCliThreads, GetAndSetByName) {
  CliRun run = Cli({"--emulator", "get", "echoTimeA"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "217\n");
  run = Cli({"--emulator", "--trace", Path("s.txt"), "set", "reverbVolume", "45"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "reverbVolume 45\n");
  bool sent = false;  // 0.45 twice
  for (const auto& line : FileLines(Path("s.txt"))) {
    sent = sent || line.rfind("> 02 09 00 03 18 02 3E E6 66 66 3E E6 66 66", 0) == 0;
  }
  EXPECT_TRUE(sent);
}

TEST_F(DeviceCliThreads, AnEmulatorStartedFromAFileOfExtremesAnswersInRange) {
  // Every word INT_MAX (7F FF FF FF): the pitch once overflowed v + 5 in the emulator's working set.
  std::vector<char> bytes(2175, '\x7F');
  for (std::size_t at = 7; at < bytes.size(); at += 4) bytes[at - 3] = bytes[at - 2] = bytes[at - 1] = '\xFF';
  bytes[0] = 8;
  bytes[1] = bytes[2] = bytes[3] = 0;
  std::ofstream(Path("extreme.noveq"), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const CliRun run = Cli({"--emulator-state", Path("extreme.noveq"), "get", "musicPitch"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "5\n");
}

// The sent reports of a trace (hex without the "> ") that begin with `head`.
std::vector<std::string> SentStarting(const std::vector<std::string>& lines, const std::string& head) {
  std::vector<std::string> found;
  for (const auto& line : lines) {
    if (line.rfind("> " + head, 0) == 0) found.push_back(line.substr(2));
  }
  return found;
}

TEST_F(DeviceCliThreads, EqSetOfAnOutputCrossoverWritesItsFourSections) {
  const CliRun run =
      Cli({"--emulator", "--trace", Path("e.txt"), "eq", "set", "9", "9", "18", "4", "2000.5", "0.7"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "9 18 0.0 2000 0.70\n");  // a crossover section has no gain
  const auto lines = FileLines(Path("e.txt"));
  // Output 3 band 9 at 679 (02 A7), sections 10..12 after it, each followed by its coefficients 7/9..7/12.
  const auto blocks = SentStarting(lines, "02 85 02 ");
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].substr(0, 35), "02 85 02 A7 07 00 96 07 D0 02 BC 12");
  const char* sections[] = {"AE", "B5", "BC"};
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(blocks[i].substr(0, 32), "02 85 02 " + std::string(sections[i - 1]) + " 07 00 96 07 D0 02 BC");
  }
  EXPECT_EQ(SentStarting(lines, "02 09 00 07 0").size(), 4u);
}

TEST_F(DeviceCliThreads, SetEchoTimeAlsoSetsTheReverbPredelay) {
  const CliRun run = Cli({"--emulator", "--trace", Path("p.txt"), "set", "echoTimeA", "4"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "echoTimeA 4\nreverbPredelayA 40\n");
  // The echo time (192 samples), then at once the reverb predelay (1920 samples).
  const auto sent = SentStarting(FileLines(Path("p.txt")), "02 09 00 0");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].substr(0, 29), "02 09 00 02 0A 01 00 00 00 C0");
  EXPECT_EQ(sent[1].substr(0, 29), "02 09 00 03 09 01 00 00 07 80");
}

TEST_F(DeviceCliThreads, SetFailsWhenTheMachineIsGoneBeforeTheEdit) {
  // The read-all is 225 requests; the effect volume goes to 1/34 and 1/57, and the cable goes between.
  const CliRun run = Cli({"--emulator", "--emulator-unplug-after", "226", "set", "effectVolume", "50"});
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vireo-cli: the machine did not take effectVolume: it is no longer connected\n");
}

TEST_F(DeviceCliThreads, RejectedMachinesAndBadInputFailWithOneLine) {
  CliRun run = Cli({"--emulator", "--emulator-kind", "17", "info"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "vireo-cli: the machine's communication version (kind 17) does not match this software\n");
  run = Cli({"--emulator", "restore", Path("missing.noveq")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  run = Cli({"--emulator", "set", "chDelay", "3"});
  EXPECT_EQ(run.status, 2);
  run = Cli({"--emulator", "set", "micVolume", "loud"});
  EXPECT_EQ(run.status, 2);
}

TEST_F(DeviceCliThreads, ARestoreKeepsTheMachinesTuningAndRefusesWithoutABackup) {
  ParameterStore tuned;
  ResetStoreDefaults(tuned);
  tuned.SetInt(slot::micVolume, 42);
  ASSERT_TRUE(WriteModeFile(tuned, Path("tuned.noveq")).ok);
  CliRun run = Cli({"--emulator", "restore", Path("tuned.noveq")});
  ASSERT_EQ(run.status, 0) << run.err;
  run = Cli({"backups", "list"});
  EXPECT_EQ(run.out.find("1  "), 0u) << run.out;
  EXPECT_NE(run.out.find("  restore\n"), std::string::npos) << run.out;
  // The emulator starts from its defaults, so backup 1 (the defaults) differs in the mic volume.
  run = Cli({"--emulator", "--emulator-state", Path("tuned.noveq"), "backups", "show", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("micVolume: 42 -> "), std::string::npos) << run.out;

  // A data folder that cannot hold the backups stops the restore unless --force.
  std::ofstream(Path("blocked")) << "a file where the folder would go";
  setenv("XDG_DATA_HOME", Path("blocked").c_str(), 1);
  run = Cli({"--emulator", "restore", Path("tuned.noveq")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("nothing was restored"), std::string::npos) << run.err;
  run = Cli({"--emulator", "restore", Path("tuned.noveq"), "--force"});
  EXPECT_EQ(run.status, 0) << run.err;
}

}  // namespace
}  // namespace vireo::test
