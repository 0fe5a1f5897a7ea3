// A ReportSender that keeps every report it is given, so tests can assert exact wire bytes and order.
#pragma once

#include <vector>

#include "model/report.h"

namespace vireo::test {

class RecordingSender : public ReportSender {
 public:
  int SendPaced(const Report& report) override {
    paced.push_back(report);
    return static_cast<int>(report.size());
  }
  int SendUnpaced(const Report& report) override {
    unpaced.push_back(report);
    return static_cast<int>(report.size());
  }

  std::vector<Report> paced;
  std::vector<Report> unpaced;
};

}  // namespace vireo::test
