// A ReportSender that keeps every report it is given, in order, so tests can assert exact wire bytes.
#pragma once

#include <vector>

#include "model/report.h"

namespace vireo::test {

class RecordingSender final : public ReportSender {
 public:
  int SendPaced(const Report& report) override {
    paced.push_back(report);
    return result;
  }
  int SendUnpaced(const Report& report) override {
    unpaced.push_back(report);
    return result;
  }
  std::vector<Report> paced;
  std::vector<Report> unpaced;
  int result = static_cast<int>(kReportBytes);  // 0 plays a link that refuses every report
};

// The first `n` bytes of a report, for comparing with a commented byte list.
inline std::vector<std::uint8_t> Head(const Report& r, std::size_t n) {
  return {r.begin(), r.begin() + static_cast<std::ptrdiff_t>(n)};
}

}  // namespace vireo::test
