// Filter type codes shared by the band records, the coefficient calculator and the graph's type menu.
#pragma once

#include <string_view>

namespace vireo::dsp {

// The code is also the type byte of a band record on the wire, so the values are fixed.
enum class FilterType : int {
  AllPass = 0,
  Peaking = 1,
  LowPass = 2,
  HighPass = 3,
  LowShelf = 4,
  HighShelf = 5,
  ChebyshevLowPass = 6,
  ChebyshevHighPass = 7,
  BesselLowPass = 8,
  BesselHighPass = 9,
  FirstOrderLowPass = 10,
  FirstOrderHighPass = 11,
  ButterworthLowPass = 12,
  ButterworthHighPass = 13,
  Butterworth3LowPass = 14,
  Butterworth3HighPass = 15,
  CriticalLowPass = 16,
  CriticalHighPass = 17,
  Butterworth4aLowPass = 18,
  Butterworth4aHighPass = 19,
  Butterworth4bLowPass = 20,
  Butterworth4bHighPass = 21,
};

inline constexpr int kLastFilterType = 21;

constexpr int ToCode(FilterType t) {
  return static_cast<int>(t);
}

// Codes outside 1..21 design an all-pass section.
constexpr bool IsDesignedType(int code) {
  return code >= 1 && code <= kLastFilterType;
}

// LowPass and the even codes 6..20.
constexpr bool IsLowPassType(int code) {
  return code == ToCode(FilterType::LowPass) || (code >= 6 && code <= kLastFilterType && code % 2 == 0);
}

// HighPass and the odd codes 7..21.
constexpr bool IsHighPassType(int code) {
  return code == ToCode(FilterType::HighPass) || (code >= 7 && code <= kLastFilterType && code % 2 == 1);
}

// Peaking and the shelves are the only types whose gain the user edits.
constexpr bool HasEditableGain(int code) {
  return code == ToCode(FilterType::Peaking) || code == ToCode(FilterType::LowShelf) ||
         code == ToCode(FilterType::HighShelf);
}

// Codes 6..21 carry their own Q (or the Chebyshev design), whatever Q the band holds.
constexpr bool HasFixedQ(int code) {
  return code >= 6 && code <= kLastFilterType;
}

// The type menu's texts "PEQ", "LP", "HP", "LS", "HS" (any letter case) -> codes 1..5; -1 otherwise.
int FilterTypeFromName(std::string_view name);

// The menu text of codes 1..5; empty for any other code.
std::string_view FilterTypeMenuText(int code);

}  // namespace vireo::dsp
