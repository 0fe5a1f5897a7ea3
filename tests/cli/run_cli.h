// Runs vireo-cli in-process and captures its exit status and both output streams. Every wait of the run
// (the 3.2 s pause before a read-all, pacing time-outs, smart-home waits) is on a virtual clock of its own.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "device/virtual_clock.h"

namespace vireo::cli::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliRun RunArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "vireo-cli");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::ostringstream out;
  std::ostringstream err;
  CliRun run;
  VirtualClock clock;
  run.status = RunCli(static_cast<int>(args.size()), argv.data(), out, err, clock);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vireo::cli::test
