// vireod's entry point: options, signals, and the service until SIGTERM or SIGINT.
#include <csignal>
#include <iostream>

#include "daemon.h"

namespace {

std::atomic<bool> gStop{false};

extern "C" void OnStopSignal(int) {
  gStop.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vireo::daemon::DaemonOptions options;
  std::string problem;
  if (!vireo::daemon::ParseDaemonOptions(args, &options, &problem)) {
    std::cerr << "vireod: " << problem << '\n' << vireo::daemon::kDaemonUsage;
    return 2;
  }
  if (options.help) {
    std::cout << vireo::daemon::kDaemonUsage;
    return 0;
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);  // a client that goes away mid-answer is the server's to notice
  return vireo::daemon::RunDaemon(options, std::cerr, gStop);
}
