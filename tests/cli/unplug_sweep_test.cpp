// The cable pulled after each report, in turn, of the smart-home commands, `remote load` and `settings
// apply`: every run ends in time with a status, a failure says so in one line, and a success means that
// every report of the command that mattered reached the machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <memory>
#include <thread>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

// The reports sent during a run, as "02 ..." hex, in order.
std::vector<std::string> SentReports(const std::string& trace) {
  std::ifstream in(trace);
  std::vector<std::string> sent;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("> ", 0) == 0) sent.push_back(line.substr(2));
  return sent;
}

// Reports whose loss takes nothing from the command: the notice of the disconnect that ends every
// session (code 138) and the acknowledgement of a Z-Wave frame (code 18 with the single byte 06).
bool Inconsequential(const std::string& report) {
  return report.rfind("02 8A ", 0) == 0 || report.rfind("02 12 01 06 ", 0) == 0;
}

class UnplugSweep : public ::testing::TestWithParam<std::vector<std::string>> {
 protected:
  void SetUp() override {
    setenv("XDG_DOCUMENTS_DIR", temp_.path().c_str(), 1);  // plug key files stay here
    std::ofstream(temp_.Path("keys.remo"), std::ios::binary)
        .write("\x00\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4A\x4B\x4C\x4D\x4E\x4F\x50\x51", 18);
  }
  void TearDown() override { unsetenv("XDG_DOCUMENTS_DIR"); }

  std::vector<std::string> Command() const {
    std::vector<std::string> args = GetParam();
    for (std::string& a : args)
      if (a == "KEYS") a = temp_.Path("keys.remo");
    return args;
  }

  // Runs the command with the cable pulled after `n` requests (0: never), its trace in `trace`. A run
  // that does not end within a real minute fails the test and ends the process: a hang is a fault, and a
  // thread stuck in it cannot be stopped.
  CliRun Run(int n, const std::string& trace) const {
    std::vector<std::string> args{"--emulator", "--trace", trace};
    if (n > 0) args.insert(args.end(), {"--emulator-unplug-after", std::to_string(n)});
    const std::vector<std::string> command = Command();
    args.insert(args.end(), command.begin(), command.end());
    auto done = std::make_shared<std::promise<CliRun>>();
    std::future<CliRun> result = done->get_future();
    std::thread([args, done] { done->set_value(RunArgs(args)); }).detach();
    if (result.wait_for(std::chrono::minutes(1)) != std::future_status::ready) {
      std::string line;
      for (const std::string& a : command) line += ' ' + a;
      std::fprintf(stderr, "vireo-cli%s hung with the cable pulled after %d requests\n", line.c_str(), n);
      std::_Exit(1);
    }
    return result.get();
  }

  vireo::test::TempFolder temp_;
};

std::size_t Consequential(const std::vector<std::string>& reports, std::size_t first) {
  const auto end = reports.begin() + static_cast<std::ptrdiff_t>(std::min(first, reports.size()));
  return static_cast<std::size_t>(
      std::count_if(reports.begin(), end, [](const std::string& r) { return !Inconsequential(r); }));
}

TEST_P(UnplugSweep, NeverAHangACrashOrAnUnfoundedSuccess) {
  const std::string trace = temp_.Path("trace.txt");
  const CliRun whole = Run(0, trace);
  ASSERT_EQ(whole.status, 0) << whole.err;
  const std::vector<std::string> undisturbed = SentReports(trace);
  const std::size_t needed = Consequential(undisturbed, undisturbed.size());
  ASSERT_GT(needed, 0u);
  for (std::size_t n = 1; n < undisturbed.size(); ++n) {
    SCOPED_TRACE("cable pulled after request " + std::to_string(n) + " of " +
                 std::to_string(undisturbed.size()));
    const CliRun run = Run(static_cast<int>(n), trace);
    // The trace lists every report in the order the machine took them, so the first n are those that
    // reached it; reports the link refused afterwards may or may not be listed.
    const std::vector<std::string> sent = SentReports(trace);
    ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status;
    if (run.status == 1) {
      EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    } else {
      EXPECT_EQ(Consequential(sent, n), needed) << "a success, but not every report reached the machine";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, UnplugSweep,
                         ::testing::Values(std::vector<std::string>{"plug", "list"},
                                           std::vector<std::string>{"plug", "set", "3", "70"},
                                           std::vector<std::string>{"scene", "save", "1", "2:99", "240:0",
                                                                    "3:10"},
                                           std::vector<std::string>{"scene", "run", "0"},
                                           std::vector<std::string>{"remote", "load", "KEYS"},
                                           std::vector<std::string>{"settings", "apply", "micMax=30",
                                                                    "micStart=50", "powerOnMode=m2"}));

}  // namespace
}  // namespace vireo::cli::test
