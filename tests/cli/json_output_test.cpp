// The --json outputs of vireo-cli are JSON that any reader accepts, with float32 values at their shortest.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "../common/temp_folder.h"
#include "cli_common.h"
#include "json_output.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

TEST(JsonOutput, EveryJsonCommandWritesValidJson) {
  vireo::test::TempFolder temp;
  // A version-8 file of zeros but for chLocationGain[0] = -0.1f, stored big-endian.
  std::vector<char> file(2175, 0);
  file[0] = 8;
  const auto bits = std::bit_cast<std::uint32_t>(-0.1f);
  for (int i = 0; i < 4; ++i) file[2121 + i] = static_cast<char>(bits >> (24 - 8 * i));
  const std::string mode = (temp.path() / "m.noveq").string();
  std::ofstream(mode, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));

  const struct {
    std::vector<std::string> args;
    std::string expected;  // a line of the output, as written
  } cases[] = {
      {{"--emulator", "info", "--json"}, R"(  "modeNames": ["电影","K歌","游戏","AV"])"},
      {{"mode", "show", mode, "--json"}, R"(  "chLocationGain": [-0.1,0,0,0,0,0,0,0],)"},
      {{"--emulator", "plug", "list", "--json"}, R"(  {"node":3,"type":"knob","name":"Dimmer","value":40},)"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunArgs(c.args);
    ASSERT_EQ(run.status, 0) << c.args.front() << ": " << run.err;
    EXPECT_TRUE(nlohmann::json::accept(run.out)) << run.out;
    EXPECT_NE(run.out.find('\n' + c.expected + '\n'), std::string::npos) << run.out;
  }
}

TEST(JsonOutput, StringsAreEscapedAndNumbersExact) {
  const Json value = {{"name", "a\x01\"\\\n电影\xff"},
                      {"numbers",
                       {JsonNumber(FloatNumber(0.1f)), JsonNumber(FloatNumber(-40.0f)),
                        JsonNumber(FloatNumber(-0.0f)), JsonNumber(FloatNumber(std::nanf(""))),
                        JsonNumber(FloatNumber(-std::numeric_limits<float>::infinity()))}}};
  std::ostringstream out;
  WriteJson(out, value);
  // Invalid UTF-8 from a machine becomes U+FFFD instead of an exception or an unreadable output.
  EXPECT_EQ(out.str(),
            "{\n"
            "  \"name\": \"a\\u0001\\\"\\\\\\n电影\xEF\xBF\xBD\",\n"
            "  \"numbers\": [0.1,-40,-0.0,null,null]\n"
            "}\n");
  EXPECT_TRUE(nlohmann::json::accept(out.str()));
}

}  // namespace
}  // namespace vireo::cli::test
