// A ReportSender that keeps what it is given, and a pause that keeps what it was asked, for sequence tests.
#pragma once

#include <vector>

#include "device/sync.h"
#include "model/report.h"

namespace vireo::test {

struct ReportRecorder final : ReportSender {
  int SendPaced(const Report& report) override {
    reports.push_back(report);
    return static_cast<int>(report.size());
  }
  int SendUnpaced(const Report& report) override {
    unpaced.push_back(report);
    return static_cast<int>(report.size());
  }
  std::vector<Report> reports;
  std::vector<Report> unpaced;
};

struct PauseRecorder {
  std::vector<int> pauses;
  SyncPause Fn() {
    return [this](int ms) {
      pauses.push_back(ms);
      return true;
    };
  }
};

inline std::uint32_t ValueAt(const Report& r, int i) {
  return GetBigEndian32(&r[static_cast<std::size_t>(6 + 4 * i)]);
}

// True when `r` is a parameter write to (module, param) with `count` values, the first `first`.
inline bool IsWrite(const Report& r, int module, int param, int count, std::uint32_t first) {
  return r[1] == 9 && r[3] == module && r[4] == param && r[5] == count && ValueAt(r, 0) == first;
}

}  // namespace vireo::test
