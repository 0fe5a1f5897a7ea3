// Starting a program of the build (vireod, mosquitto) for a test, its stderr going to a file of the test's
// folder, so the test can wait for what it logs.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>

#include <string>
#include <vector>

extern char** environ;

namespace vireo::test {

// args[0] is the program's path. 0 when it could not be started.
inline pid_t SpawnWithStderrTo(std::vector<std::string> args, const std::string& logPath, bool append = false) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC),
                                   0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : 0;
}

}  // namespace vireo::test
