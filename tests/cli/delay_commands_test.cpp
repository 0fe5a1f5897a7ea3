// vireo-cli delay split: the split bands of one channel on the wire, and the argument checks.
#include <gtest/gtest.h>

#include <fstream>

#include "../common/temp_folder.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

// The lines of a traced `delay split 3 4` after a read-all of a machine that starts from a mode file with
// CH 3 in delay mode `mode`: the block writes and the coefficients of module 7 (CH 3), parameters 13, 14.
std::vector<std::string> TracedSplit(int mode) {
  const vireo::test::TempFolder temp;
  const std::string base = temp.Path("split");
  ParameterStore store;
  ResetStoreDefaults(store);
  store.SetInt(slot::chDelayMode[2], mode);
  EXPECT_TRUE(WriteModeFile(store, base + ".noveq").ok);
  const CliRun run = RunArgs({"--emulator", "--emulator-state", base + ".noveq", "--trace", base + ".trace",
                              "delay", "split", "3", "4"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "split 4 900Hz\n");
  std::ifstream in(base + ".trace");
  std::vector<std::string> sent;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("> 02 85 ", 0) == 0 || line.rfind("> 02 09 00 07 0D ", 0) == 0 ||
        line.rfind("> 02 09 00 07 0E ", 0) == 0)
      sent.push_back(line.substr(0, 37));
  }
  return sent;
}

TEST(DelayCommandsTest, SplitWritesBands13And14OfTheChannel) {
  // CH 3's band 13 lives at 7 * (15 * 7 + 13 - 17) = 707 (0x2C3), band 14 at 714 (0x2CA). Records: gain
  // (0 + 15) * 10 = 0x96, frequency 900 = 0x384 and 1400 = 0x578, Q 0.707 = 707 = 0x2C3, then the type:
  // high-pass 3 and low-pass 2 in "High Freq" mode, two flat peaking bands (1) in "Channel" mode.
  struct Case {
    int mode;
    const char* band13;
    const char* band14;
  };
  const Case cases[] = {
      {0, "> 02 85 02 C3 07 00 96 03 84 02 C3 03", "> 02 85 02 CA 07 00 96 05 78 02 C3 02"},
      {1, "> 02 85 02 C3 07 00 96 03 84 02 C3 01", "> 02 85 02 CA 07 00 96 05 78 02 C3 01"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::vector<std::string> sent = TracedSplit(c.mode);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], c.band13);
    EXPECT_EQ(sent[1].substr(0, 17), "> 02 09 00 07 0D ");
    EXPECT_EQ(sent[2], c.band14);
    EXPECT_EQ(sent[3].substr(0, 17), "> 02 09 00 07 0E ");
  }
}

TEST(DelayCommandsTest, SetChDelayKeepsToTheRangeAndSendsOnlyAChange) {
  struct Case {
    const char* ms;
    const char* shown;
    const char* samples;  // the word sent to module 7 (CH 3), parameter 18; empty: nothing sent
  };
  // The machine starts at 1.5 ms; 48 samples a millisecond.
  const Case cases[] = {
      {"0.5", "1.5", ""}, {"1.5", "1.5", ""}, {"10", "10", "00 00 01 E0"}, {"250", "100", "00 00 12 C0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    const vireo::test::TempFolder temp;
    const std::string trace = temp.Path("trace.txt");
    const CliRun run = RunArgs({"--emulator", "--trace", trace, "set", "chDelay[2]", c.ms});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string("chDelay[2] ") + c.shown + "\n");
    std::ifstream in(trace);
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("> 02 09 00 07 12 01 ", 0) == 0) words.push_back(line.substr(20, 11));
    }
    EXPECT_EQ(words, *c.samples == 0 ? std::vector<std::string>{} : std::vector<std::string>{c.samples});
  }
}

TEST(DelayCommandsTest, AChannelOrIndexOutOfRangeFailsWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"delay", "split", "0", "4"},  {"delay", "split", "9", "4"},   {"delay", "split", "1", "26"},
      {"delay", "split", "1", "-1"}, {"delay", "split", "1", "2.5"}, {"delay", "split", "1"}};
  for (const auto& args : cases) {
    const CliRun run = RunArgs(args);
    EXPECT_EQ(run.status, 1) << args.back();
    EXPECT_EQ(run.err, "vireo-cli: delay split takes a channel 1..8 and a split index 0..25\n");
  }
  EXPECT_EQ(RunArgs({"delay", "cut"}).status, 2);
}

}  // namespace
}  // namespace vireo::cli::test
