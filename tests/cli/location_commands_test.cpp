// vireo-cli location: an edit on the emulator prints the new geometry and sends record then corrections.
#include <gtest/gtest.h>

#include <fstream>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

TEST(LocationCommandsTest, ASpeakerMoveSendsTheRecordThenItsCorrection) {
  const vireo::test::TempFolder temp;
  const std::string trace = temp.Path("trace.txt");
  // SL held into the 4 m room at (-2, +2); the listener stays at the centre: sqrt 8 m, 3 - 3 x 2.828427 dB.
  const CliRun run = RunArgs({"--emulator", "--trace", trace, "location", "speaker", "SL", "-7.5", "2.04"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[8], "speaker SL -2.00 +2.00");
  EXPECT_EQ(lines[16], "gain 7 -5.49");
  std::ifstream in(trace);
  std::vector<std::string> writes;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("> 02 85 05 05 ", 0) == 0 || line.rfind("> 02 09 00 0B 1D ", 0) == 0)
      writes.push_back(line);
  }
  ASSERT_EQ(writes.size(), 2u);
  // The geometry is encoded again, so its zeros become 80; SL is 94 14 (20 tenths, the sign on x).
  EXPECT_EQ(writes[0].substr(2, 3 * 25 - 1),
            "02 85 05 05 14 04 04 80 80 8A 0A 80 0A 0A 0A 8A 8A 80 8A 0A 8A 94 14 05 80");
  EXPECT_EQ(writes[1].substr(2, 17), "02 09 00 0B 1D 06");  // channel 7 plays SL
}

TEST(LocationCommandsTest, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"location"},
      {"location", "room", "4"},
      {"location", "speaker", "XL", "0", "0"},
      {"location", "locate", "9"},
      {"location", "listener", "a", "0"},
      {"location", "show", "extra"},
  };
  for (const auto& args : cases) EXPECT_EQ(RunArgs(args).status, 2) << args.back();
}

}  // namespace
}  // namespace vireo::cli::test
