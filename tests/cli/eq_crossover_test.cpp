// vireo-cli eq crossover and the output channel fields of `set`, on the emulator, read from the trace.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "../common/temp_folder.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

class OutputCliTest : public ::testing::Test {
 protected:
  // The sent lines of the trace that begin with `prefix`.
  std::vector<std::string> Sent(const std::string& prefix) const {
    std::ifstream in(trace_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    }
    return lines;
  }
  vireo::test::TempFolder temp_;
  const std::string state_ = temp_.Path("state.noveq");
  const std::string trace_ = temp_.Path("trace.txt");
};

TEST_F(OutputCliTest, CrossoverFamilyOnAHighPassBand) {
  ParameterStore store;
  ResetStoreDefaults(store);
  // Channel 3 (group 7): band 9 at 406 + 2 * 105 + 9 * 7 = 679, HP 800 Hz Q 0.7.
  const std::array<std::uint8_t, 7> highPass{0x00, 0x96, 0x03, 0x20, 0x02, 0xBC, 0x03};
  store.WriteBytes(Region::dspBlock, 679, highPass);
  ASSERT_TRUE(WriteModeFile(store, state_).ok);

  const CliRun run =
      RunArgs({"--emulator", "--emulator-state", state_, "--trace", trace_, "eq", "crossover", "3", "5"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "9 9 0.0 800 0.70\n10 11 0.0 800 0.70\n11 1 0.0 800 0.70\n12 1 0.0 800 0.70\n");
  // Block writes 02 85, address 02 A7 (679) and on, 7 bytes: types 9, 11, 1, 1 (Bessel 18dB high-pass).
  const std::vector<std::string> blocks = Sent("> 02 85 02 ");
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].substr(0, 40), "> 02 85 02 A7 07 00 96 03 20 02 BC 09 00");
  EXPECT_EQ(blocks[1].substr(0, 40), "> 02 85 02 AE 07 00 96 03 20 02 BC 0B 00");
  EXPECT_EQ(blocks[2].substr(0, 40), "> 02 85 02 B5 07 00 96 03 20 02 BC 01 00");
  EXPECT_EQ(blocks[3].substr(0, 40), "> 02 85 02 BC 07 00 96 03 20 02 BC 01 00");
  EXPECT_EQ(Sent("> 02 09 00 07 ").size(), 4u);  // the four coefficient messages, module 7 only
}

TEST_F(OutputCliTest, CrossoverNeedsALowOrHighPassBandAndSaneArguments) {
  const CliRun peaking = RunArgs({"--emulator", "eq", "crossover", "1", "0"});  // band 10 is PEQ by default
  EXPECT_EQ(peaking.status, 1);
  EXPECT_EQ(peaking.err, "vireo-cli: band 10 of channel 1 is not a low-pass or high-pass crossover\n");
  EXPECT_TRUE(peaking.out.empty());
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"eq", "crossover", "0", "1"},
                                             {"eq", "crossover", "9", "1"},
                                             {"eq", "crossover", "1", "11"},
                                             {"eq", "crossover", "1", "-1"},
                                             {"eq", "crossover", "1"}}) {
    EXPECT_EQ(RunArgs(args).status, 2) << args.back();
  }
}

TEST_F(OutputCliTest, ChannelFieldsGoToTheirChannelOnly) {
  struct Case {
    std::string field, value, line;
  };
  const Case cases[] = {
      {"chMute[2]", "1", "> 02 09 00 07 1A 01 00 00 00 00"},          // 0.0 while muted
      {"chPhase[7]", "1", "> 02 09 00 0C 19 01 BF 80 00 00"},         // -1.0
      {"chType[0]", "5", "> 02 09 00 05 10 01 00 00 00 05"},          // an integer
      {"chDirectLevel[3]", "40", "> 02 09 00 08 14 01 3E CC CC CD"},  // 0.4
      {"chTrim[5]", "100", "> 02 09 00 0A 18 01 3F 80 00 00"},        // 1.0
  };
  for (const Case& c : cases) {
    const CliRun run = RunArgs({"--emulator", "--trace", trace_, "set", c.field, c.value});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> writes = Sent("> 02 09 ");
    ASSERT_EQ(writes.size(), 1u) << c.field;
    EXPECT_EQ(writes[0].substr(0, c.line.size()), c.line) << c.field;
  }
}

}  // namespace
}  // namespace vireo::cli::test
