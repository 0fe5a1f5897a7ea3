// vireo-cli reaching the dialogs' edits: the HDMI radios through `set`, the settings bytes through
// `settings apply`.
#include <gtest/gtest.h>

#include <fstream>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

class DialogSettingsTest : public ::testing::Test {
 protected:
  // The first `chars` characters of the sent reports beginning with `prefix`, in order.
  std::vector<std::string> Sent(const std::string& prefix, std::size_t chars) const {
    std::ifstream in(trace_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      if (line.rfind("> " + prefix, 0) == 0) lines.push_back(line.substr(2, chars));
    return lines;
  }
  vireo::test::TempFolder temp_;
  const std::string trace_ = temp_.Path("trace.txt");
};

TEST_F(DialogSettingsTest, AnHdmiPortSelectsItsInputPortFirst) {
  const CliRun run = RunArgs({"--emulator", "--trace", trace_, "set", "hdmiPort", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "hdmiPort 2\nmusicSource 2\n");
  // Parameter writes of module 4: 33 (0x21) with 2, then 23 (0x17) with 2.
  const std::vector<std::string> expected{"02 09 00 04 21 01 00 00 00 02", "02 09 00 04 17 01 00 00 00 02"};
  EXPECT_EQ(Sent("02 09 00 04 ", 29), expected);
}

TEST_F(DialogSettingsTest, ApplyTakesTheMaximumFirstAndSendsThirteenBytes) {
  const CliRun run = RunArgs({"--emulator", "--trace", trace_, "settings", "apply", "micStart=70",
                              "micMax=60", "powerOnMode=m3", "musicStart=off"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out)[1], "micStart 60");
  const std::vector<std::string> applied = Sent("02 91 ", 60);
  ASSERT_EQ(applied.size(), 1u);
  // Bytes 3..6: mic start 60 (3C), music start off (FF), maxima 60 and 99 (63); byte 11 is M3.
  EXPECT_EQ(applied[0].substr(15, 11), "3C FF 3C 63");
  EXPECT_EQ(applied[0].substr(39, 2), "03");
  EXPECT_EQ(RunArgs({"settings", "apply", "loud=1"}).status, 2);
}

TEST_F(DialogSettingsTest, ARefusedValueSendsNothingOfTheScript) {
  const CliRun run =
      RunArgs({"--emulator", "--trace", trace_, "settings", "apply", "micStart=20", "saveMode=7"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "vireo-cli: saveMode takes 0..1\n");
  EXPECT_EQ(run.out, "");
  // Not even the microphone volume that micStart=20 would have sent at once (module 1, parameter 14).
  EXPECT_EQ(Sent("", 2), std::vector<std::string>{});
}

TEST_F(DialogSettingsTest, AStartVolumeHeldAtTheMaximumIsNamed) {
  const CliRun run =
      RunArgs({"--emulator", "--trace", trace_, "settings", "apply", "micMax=30", "micStart=50"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 13u) << run.out;
  EXPECT_EQ(lines[1], "micStart 30");
  EXPECT_EQ(lines[3], "micMax 30");
  EXPECT_EQ(lines[12], "note: micStart 50 limited to 30, the maximum volume");
  // The live microphone volume goes out as 30 and nothing else (0.3f + 0.0005 = 0.3005 as float,
  // 3E 99 DB 23): once as the lower maximum pulls the machine's start of 60 down, once for micStart=50.
  EXPECT_EQ(Sent("02 09 00 01 0E ", 29), std::vector<std::string>(2, "02 09 00 01 0E 01 3E 99 DB 23"));
}

}  // namespace
}  // namespace vireo::cli::test
