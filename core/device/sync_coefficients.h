// Where the machine takes the filter coefficients of each EQ band: (module, parameter) per group and band.
#pragma once

namespace vireo {

struct ParamAddress {
  int module = 0;
  int param = 0;
  bool operator==(const ParamAddress&) const = default;
};

// Bands of each EQ group 1..13 that carry coefficients of their own.
int CoefficientBandCount(int group);

// The coefficient slot of band `band` of EQ group `group`; {0, 0} for a band without one. Output bands
// 13 and 14 (the delay split bands) have their slots too: they go out with the delay mode.
ParamAddress CoefficientSlot(int group, int band);

}  // namespace vireo
