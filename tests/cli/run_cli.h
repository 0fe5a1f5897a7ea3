// Runs vireo-cli in-process and captures its exit status and both output streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

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
  run.status = RunCli(static_cast<int>(args.size()), argv.data(), out, err);
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
