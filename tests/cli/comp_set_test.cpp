// vireo-cli set on an output compressor: the field's slider moves and the seven words go out once.
#include <gtest/gtest.h>

#include <fstream>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

TEST(CompSetTest, ARatioBeyondTheTopSendsThirtyToOneOnce) {
  const vireo::test::TempFolder temp;
  const std::string trace = temp.Path("trace.txt");
  const CliRun run = RunArgs({"--emulator", "--trace", trace, "set", "chCompRatio[4]", "31.7"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "chCompRatio[4] 30\n");
  std::ifstream in(trace);
  std::vector<std::string> writes;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("> 02 09 00 09 1B 07 ", 0) == 0) writes.push_back(line);  // module 9 = CH 5, param 27
  }
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].substr(44, 11), "3F 77 77 77");  // third word: 1 - 1/30
}

}  // namespace
}  // namespace vireo::cli::test
