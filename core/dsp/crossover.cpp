// Tables of the crossover families and of the type-menu choices for a crossover band.
#include "dsp/crossover.h"

#include <cstddef>

#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

constexpr int kFlat = 0;  // marks an unused section in the family table
constexpr int kPeaking = ToCode(FilterType::Peaking);

// Low-pass codes; the high-pass section of each is the next code.
constexpr std::array<CrossoverSections, kCrossoverFamilyCount> kFamilies = {{
    {10, 10, kFlat, kFlat},  // LinkwitzRiely 12dB
    {12, 12, kFlat, kFlat},  // LinkwitzRiely 24dB
    {14, 10, 14, 10},        // LinkwitzRiely 36dB
    {18, 20, 18, 20},        // LinkwitzRiely 48dB
    {8, kFlat, kFlat, kFlat},
    {8, 10, kFlat, kFlat},
    {8, 8, kFlat, kFlat},
    {12, kFlat, kFlat, kFlat},
    {14, 10, kFlat, kFlat},
    {18, 20, kFlat, kFlat},
    {6, kFlat, kFlat, kFlat},
    {kFlat, kFlat, kFlat, kFlat},
}};

}  // namespace

CrossoverSections CrossoverSectionTypes(int familyIndex, bool lowPass) {
  if (familyIndex < 0 || familyIndex >= kCrossoverFamilyCount) {
    familyIndex = 0;
  }
  CrossoverSections sections = kFamilies[static_cast<std::size_t>(familyIndex)];
  for (int& code : sections) {
    code = code == kFlat ? kPeaking : (lowPass ? code : code + 1);
  }
  return sections;
}

CrossoverSections CrossoverMenuSectionTypes(int menuEntry) {
  switch (menuEntry) {
    case 2:
      return {ToCode(FilterType::Butterworth4aLowPass), ToCode(FilterType::Butterworth4bLowPass), kPeaking,
              kPeaking};
    case 3:
      return {ToCode(FilterType::Butterworth4aHighPass), ToCode(FilterType::Butterworth4bHighPass), kPeaking,
              kPeaking};
    case 4:
      return {ToCode(FilterType::LowShelf), kPeaking, kPeaking, kPeaking};
    case 5:
      return {ToCode(FilterType::HighShelf), kPeaking, kPeaking, kPeaking};
    default:  // PEQ and anything unknown: the crossover is switched out
      return {kPeaking, kPeaking, kPeaking, kPeaking};
  }
}

CrossoverKind CrossoverKindOf(const CrossoverSections& sections) {
  for (int family = 0; family < static_cast<int>(kCrossoverFamilyNames.size()); ++family) {
    for (bool lowPass : {true, false}) {
      if (CrossoverSectionTypes(family, lowPass) == sections)
        return {family, ToCode(lowPass ? FilterType::LowPass : FilterType::HighPass)};
    }
  }
  for (FilterType menu : {FilterType::Peaking, FilterType::LowShelf, FilterType::HighShelf}) {
    if (CrossoverMenuSectionTypes(ToCode(menu)) == sections) return {0, ToCode(menu)};
  }
  return {};
}

}  // namespace vireo::dsp
