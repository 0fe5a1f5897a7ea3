// Pure geometry of the step slider: where a click on the track moves the value.
#pragma once

// The value after a click at `clickPos` (pixels along the track) on a slider whose thumb spans
// [thumbStart, thumbEnd): exactly one `step` towards the click, kept within [minimum, maximum]. A click on
// the thumb leaves the value as it is (the thumb is being grabbed).
int StepTowardClick(int value, int minimum, int maximum, int step, int clickPos, int thumbStart,
                    int thumbEnd);

// `value` moved by `delta` and kept within [minimum, maximum].
int ClampedStep(int value, int delta, int minimum, int maximum);
