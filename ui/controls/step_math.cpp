// Step slider geometry.
#include "controls/step_math.h"

#include <algorithm>

int ClampedStep(int value, int delta, int minimum, int maximum) {
  return std::clamp(value + delta, minimum, maximum);
}

int StepTowardClick(int value, int minimum, int maximum, int step, int clickPos, int thumbStart,
                    int thumbEnd) {
  if (clickPos >= thumbStart && clickPos < thumbEnd) return std::clamp(value, minimum, maximum);
  return ClampedStep(value, clickPos < thumbStart ? -step : step, minimum, maximum);
}
