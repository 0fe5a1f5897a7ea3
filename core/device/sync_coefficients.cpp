// The coefficient slot table of the EQ groups.
#include "device/sync_coefficients.h"

namespace vireo {

int CoefficientBandCount(int group) {
  if (group == 1) return 20;
  if (group == 2 || group == 3) return 14;
  if (group == 4) return 10;
  if (group >= 5 && group <= 12) return 15;
  if (group == 13) return 1;
  return 0;
}

ParamAddress CoefficientSlot(int group, int band) {
  if (band < 0 || band >= CoefficientBandCount(group)) return {};
  switch (group) {
    case 1:
      return {1, band < 10 ? band + 16 : band + 29};
    case 2:
      return {2, band < 7 ? band : band + 6};
    case 3:
      return {3, band < 7 ? band : band + 5};
    case 4:
      return {4, band};
    case 13:
      return {4, 10};
    default:
      return {group, band};  // output channels 5..12
  }
}

}  // namespace vireo
