// vireo-cli filter: coefficients against the cookbook formula, wire words, the response listing, bad input.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "run_cli.h"

namespace vireo::cli::test {
namespace {

struct Printed {
  double a1, a2, b0, b1, b2;
};

// Reads "a1=.. a2=.. b0=.. b1=.. b2=.." back at full precision.
bool ParseCoefficientLine(const std::string& line, Printed* p) {
  return std::sscanf(line.c_str(), "a1=%lf a2=%lf b0=%lf b1=%lf b2=%lf", &p->a1, &p->a2, &p->b0, &p->b1,
                     &p->b2) == 5;
}

std::string WireWord(double coefficient) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", std::bit_cast<std::uint32_t>(static_cast<float>(coefficient)));
  return hex;
}

TEST(FilterCommandTest, PeakingSectionMatchesTheCookbookAndItsWireWords) {
  const CliRun run = RunArgs({"filter", "PEQ", "6", "1000", "1.41", "--response"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty());
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u + 512u);

  // Independent reference: peaking EQ of the Audio EQ Cookbook at 48 kHz.
  const double A = std::pow(10.0, 6.0 / 40.0);
  const double w0 = 2 * std::numbers::pi * 1000.0 / 48000.0;
  const double alpha = std::sin(w0) / (2 * 1.41);
  const double a0 = 1 + alpha / A;
  Printed p{};
  ASSERT_TRUE(ParseCoefficientLine(lines[0], &p)) << lines[0];
  EXPECT_NEAR(p.a1, -2 * std::cos(w0) / a0, 1e-15);
  EXPECT_NEAR(p.a2, (1 - alpha / A) / a0, 1e-15);
  EXPECT_NEAR(p.b0, (1 + alpha * A) / a0, 1e-15);
  EXPECT_DOUBLE_EQ(p.b1, p.a1);
  EXPECT_NEAR(p.b2, (1 - alpha * A) / a0, 1e-15);

  // -a1 -a2 b0 b1 b2 as big-endian float words.
  EXPECT_EQ(lines[1], "wire: " + WireWord(-p.a1) + " " + WireWord(-p.a2) + " " + WireWord(p.b0) + " " +
                          WireWord(p.b1) + " " + WireWord(p.b2));
  EXPECT_EQ(lines[1].substr(0, 15), "wire: 3FF5C1C7 ");  // -a1 = 1.91998

  double previous = 0;
  double nearestGap = 1e9;
  double nearestDb = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    double f = 0;
    double db = 0;
    ASSERT_EQ(std::sscanf(lines[i].c_str(), "%lf %lf", &f, &db), 2) << lines[i];
    EXPECT_GT(f, previous);
    previous = f;
    if (std::fabs(f - 1000.0) < nearestGap) {
      nearestGap = std::fabs(f - 1000.0);
      nearestDb = db;
    }
    if (i == 2) {
      EXPECT_NEAR(f, 18.0, 1e-3);
    }
    EXPECT_GT(db, -0.001);
    EXPECT_LT(db, 6.001);
  }
  EXPECT_LT(previous, 23000.0);
  EXPECT_NEAR(nearestDb, 6.0, 0.02);
}

TEST(FilterCommandTest, TypeByCodeOrMenuTextAndNegativeGains) {
  const CliRun byName = RunArgs({"filter", "hs", "-6", "5000", "0.707"});
  const CliRun byCode = RunArgs({"filter", "5", "-6", "5000", "0.707"});
  ASSERT_EQ(byName.status, 0) << byName.err;
  EXPECT_EQ(byName.out, byCode.out);
  EXPECT_EQ(Lines(byName.out).size(), 2u);

  // Codes 6..21 ignore Q.
  EXPECT_EQ(RunArgs({"filter", "12", "0", "800", "3"}).out, RunArgs({"filter", "12", "0", "800", "0.5"}).out);
  // Type 0 is the all-pass section: flat at every grid point.
  const auto allPass = Lines(RunArgs({"filter", "0", "0", "1000", "1", "--response"}).out);
  ASSERT_EQ(allPass.size(), 514u);
  for (std::size_t i = 2; i < allPass.size(); ++i) {
    double f = 0;
    double db = 1;
    ASSERT_EQ(std::sscanf(allPass[i].c_str(), "%lf %lf", &f, &db), 2);
    EXPECT_NEAR(db, 0.0, 1e-3) << allPass[i];
  }
}

TEST(FilterCommandTest, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases{
      {"filter"},
      {"filter", "PEQ", "6", "1000"},
      {"filter", "PEQ", "6", "1000", "1.41", "7"},
      {"filter", "XX", "6", "1000", "1.41"},
      {"filter", "22", "6", "1000", "1.41"},
      {"filter", "-1", "6", "1000", "1.41"},
      {"filter", "PEQ", "six", "1000", "1.41"},
      {"filter", "PEQ", "nan", "1000", "1.41"},
      {"filter", "PEQ", "6", "0", "1.41"},
      {"filter", "PEQ", "6", "24000", "1.41"},
      {"filter", "PEQ", "6", "1000", "0"},
      {"filter", "PEQ", "6", "1000", "1.41x"},
      {"filter", "PEQ", "6", "1000", "1.41", "--json"},
  };
  for (const auto& args : cases) {
    const CliRun run = RunArgs(args);
    EXPECT_EQ(run.status, 2) << args.size() << " " << args.back();
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(run.err.rfind("vireo-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("usage: vireo-cli"), std::string::npos);
  }
}

TEST(CliTest, GlobalOptionsAreReadBeforeTheCommand) {
  const std::vector<std::string> args{"--emulator",
                                      "--emulator-model",
                                      "Kestrel X",
                                      "--emulator-kind=18",
                                      "--emulator-latency",
                                      "5",
                                      "--trace",
                                      "t.txt",
                                      "--emulator-state",
                                      "m1.noveq",
                                      "info",
                                      "--json"};
  GlobalOptions options;
  std::size_t next = 0;
  std::string problem;
  ASSERT_TRUE(ParseGlobalOptions(args, &next, &options, &problem)) << problem;
  EXPECT_EQ(next, 10u);
  EXPECT_TRUE(options.emulator);
  EXPECT_EQ(options.emulatorModel, "Kestrel X");
  EXPECT_EQ(options.emulatorKind, 18);
  EXPECT_EQ(options.emulatorLatencyMs, 5);
  EXPECT_EQ(options.traceFile, "t.txt");
  EXPECT_EQ(options.emulatorState, "m1.noveq");

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--emulator-kind", "256", "info"},
                                             {"--emulator-latency", "-1", "info"},
                                             {"--trace"},
                                             {"--frob", "info"}}) {
    GlobalOptions o;
    std::size_t n = 0;
    std::string why;
    EXPECT_FALSE(ParseGlobalOptions(bad, &n, &o, &why)) << bad[0];
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(RunArgs(bad).status, 2) << bad[0];
  }
}

TEST(CliTest, CommandLineShapeErrorsAndHelp) {
  EXPECT_EQ(RunArgs({}).status, 2);
  EXPECT_EQ(RunArgs({"--emulator"}).status, 2);
  const CliRun unknown = RunArgs({"frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  const CliRun help = RunArgs({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("mode convert IN OUT"), std::string::npos);
  EXPECT_TRUE(help.err.empty());
}

}  // namespace
}  // namespace vireo::cli::test
