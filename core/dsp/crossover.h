// Crossover families: the up-to-four cascaded sections that one crossover band stands for.
#pragma once

#include <array>
#include <string_view>

namespace vireo::dsp {

using CrossoverSections = std::array<int, 4>;

// Index 11 (all sections flat) exists but is not offered in the list.
inline constexpr int kCrossoverFamilyCount = 12;

// The crossover-type list, indices 0..10.
inline constexpr std::array<std::string_view, 11> kCrossoverFamilyNames = {
    "LinkwitzRiely 12dB", "LinkwitzRiely 24dB", "LinkwitzRiely 36dB", "LinkwitzRiely 48dB",
    "Bessel 12dB",        "Bessel 18dB",        "Bessel 24dB",        "Butterworth 12dB",
    "Butterworth 18dB",   "Butterworth 24dB",   "Chebyshev 12dB"};

// Whether a crossover band of this type is built from low-pass sections: even codes are, odd are not.
constexpr bool CrossoverIsLowPass(int crossoverType) {
  return crossoverType % 2 == 0;
}

// Section type codes of family `familyIndex` (an index outside 0..11 behaves as 0). Unused sections are
// flat: Peaking, to be given gain 0.
CrossoverSections CrossoverSectionTypes(int familyIndex, bool lowPass);

// Sections set when the crossover band's type is picked from the graph's type menu, by the menu entry's
// type code 1..5 (PEQ, LP, HP, LS, HS). Any other entry gives four flat sections.
CrossoverSections CrossoverMenuSectionTypes(int menuEntry);

// What four crossover sections stand for: the family in the list and the band type the list shows for
// them (LowPass or HighPass for a family, Peaking, LowShelf or HighShelf for the type menu's own sets).
struct CrossoverKind {
  int family = 0;
  int type = 0;
};
// Reverse of the two tables above: the 22 family sets and the menu's PEQ, LS and HS sets (its LP and HP
// sets are families too). A combination of neither table gives family 0 and type 0.
CrossoverKind CrossoverKindOf(const CrossoverSections& sections);

}  // namespace vireo::dsp
