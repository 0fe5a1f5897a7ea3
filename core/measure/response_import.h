// Measured (or target) responses read from the text files of measurement programs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vireo::measure {

// A response as read: strictly increasing frequencies (Hz), levels in dB.
struct Response {
  std::vector<double> hz;
  std::vector<double> db;
};

struct ImportResult {
  bool ok = false;
  Response response;
  std::string error;        // "line 7: ..." for a fault in the text
  bool unreadable = false;  // the file itself could not be read (missing, a folder, a pipe, too large)
};

inline constexpr std::size_t kMeasurementMaxBytes = 4u << 20;
inline constexpr std::size_t kMeasurementMinPoints = 10;

// Reads any of the formats people export, told apart by their contents:
//  - Room EQ Wizard's text export: `*` comment lines, then "frequency level phase" rows;
//  - plain columns (frequency, dB, optional phase) separated by commas, semicolons (then a decimal comma
//    is allowed), tabs or spaces, with one header line or none; `.frd` files are such columns, with `*`
//    or `#` comment lines;
//  - the CSV of automatic-EQ projects, columns by name: "raw" is the measurement where the header has it,
//    else "target" (a target file is "frequency,target"), else the second column. The frequency is the
//    column named "frequency" or "freq", else the first.
// A byte-order mark and CR LF line ends are accepted. The file is refused whole at its first fault, named by
// its line: a non-number where a number belongs, not-a-number or infinity, a frequency at or below zero, a
// level beyond +-500 dB, a second header; also fewer than 10 distinct frequencies, or more than 4 MiB of
// text. Rows out of order are sorted; rows of one frequency are merged into their power average.
ImportResult ParseResponse(std::string_view text);

// The same from a file, read with the bound above: a folder, pipe, device or larger file is refused
// (unreadable) before any of it is read.
ImportResult LoadResponse(const std::string& path);

}  // namespace vireo::measure
