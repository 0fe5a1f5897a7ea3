// Helpers shared by the vireo-cli commands: usage, error exits, strict number parsing, number texts.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {
struct ModeFileResult;
struct ClampedValue;
}

namespace vireo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The whole command summary.
extern const std::string_view kUsage;

// Prints "vireo-cli: <problem>" and the usage on err; returns kExitUsage.
int UsageError(std::ostream& err, std::string_view problem);
// Prints "vireo-cli: <message>" on err (line breaks folded into spaces); returns kExitFailure.
int Failure(std::ostream& err, std::string_view message);

// One line for a mode file that cannot be used: the system's reason when the file could not be read,
// else the reader's; returns kExitFailure.
int ModeFileFailure(std::ostream& err, const std::string& path, const ModeFileResult& result);
// One line naming the fields a file held out of range (they were loaded clamped); not a failure.
void WarnClamped(std::ostream& err, const std::string& path, const std::vector<ClampedValue>& values);
// Refuses an output path that can never take a file (a directory) before any work is done; a path that
// does not exist yet is fine. False after printing the line, with *status kExitFailure.
bool CheckOutputPath(std::ostream& err, const std::string& path, int* status);

// Whole-string parses; false for empty text, trailing characters, overflow or a non-finite value.
bool ParseInt(std::string_view text, long long* value);
bool ParseDouble(std::string_view text, double* value);

// Nine significant digits ("%.9g"), which always read back as the same float; "nan", "inf" and "-inf"
// as such.
std::string FloatText(float value);
// The double of the shortest text that reads back as the same float: 0.1f gives 0.1, not
// 0.10000000149011612. NaN and infinities pass through.
double FloatNumber(float value);
// "%.17g".
std::string DoubleText(double value);
// A fixed-point code as a decimal: DecimalText(1414, 1000) == "1.414", DecimalText(-5, 10) == "-0.5".
std::string DecimalText(std::int64_t code, int divisor);

}  // namespace vireo::cli
