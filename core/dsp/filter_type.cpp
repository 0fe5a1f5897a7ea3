// Menu texts of the filter types.
#include "dsp/filter_type.h"

#include <array>
#include <cstddef>

namespace vireo::dsp {
namespace {

constexpr std::array<std::string_view, 5> kMenuTexts = {"PEQ", "LP", "HP", "LS", "HS"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

int FilterTypeFromName(std::string_view name) {
  for (std::size_t i = 0; i < kMenuTexts.size(); ++i) {
    if (EqualsIgnoringCase(name, kMenuTexts[i])) {
      return static_cast<int>(i) + 1;
    }
  }
  return -1;
}

std::string_view FilterTypeMenuText(int code) {
  if (code < 1 || code > static_cast<int>(kMenuTexts.size())) {
    return {};
  }
  return kMenuTexts[static_cast<std::size_t>(code - 1)];
}

}  // namespace vireo::dsp
