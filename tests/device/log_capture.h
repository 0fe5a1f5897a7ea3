// Captures the device layer's diagnostic lines for the duration of a test.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "device/debug_log.h"

namespace vireo::test {

class LogCapture {
 public:
  LogCapture() {
    SetDebugLogHook([this](std::string_view line) {
      std::lock_guard guard(lock_);
      lines_.emplace_back(line);
    });
  }
  ~LogCapture() { SetDebugLogHook(nullptr); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() {
    std::lock_guard guard(lock_);
    return lines_;
  }
  int Count(const std::string& line) {
    std::lock_guard guard(lock_);
    return static_cast<int>(std::count(lines_.begin(), lines_.end(), line));
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

}  // namespace vireo::test
