// The writer behind `info --json`, `mode show --json` and `plug list --json`.
#include "json_output.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace vireo::cli {
namespace {

std::string Compact(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Rows of numbers or strings and the small records of a list read best on one line each.
bool HoldsOnlyScalars(const Json& container) {
  return std::none_of(container.begin(), container.end(), [](const Json& m) { return m.is_structured(); });
}

void Append(std::string& text, const Json& value, std::size_t depth) {
  if (!value.is_structured() || HoldsOnlyScalars(value)) {
    text += Compact(value);
    return;
  }
  const bool object = value.is_object();
  text += object ? '{' : '[';
  for (auto it = value.begin(); it != value.end(); ++it) {
    text += it == value.begin() ? "\n" : ",\n";
    text.append(2 * (depth + 1), ' ');
    if (object) text += Compact(it.key()) + ": ";
    Append(text, it.value(), depth + 1);
  }
  text += '\n';
  text.append(2 * depth, ' ');
  text += object ? '}' : ']';
}

}  // namespace

Json JsonNumber(double value) {
  if (!std::isfinite(value)) return nullptr;
  // 2^53: beyond it a double no longer holds every integer, so a whole value there is not worth converting.
  constexpr double kExactIntegers = 9007199254740992.0;
  if (std::trunc(value) == value && std::fabs(value) < kExactIntegers && !(value == 0 && std::signbit(value))) {
    return static_cast<std::int64_t>(value);
  }
  return value;
}

void WriteJson(std::ostream& out, const Json& value) {
  std::string text;
  Append(text, value, 0);
  out << text << '\n';
}

}  // namespace vireo::cli
