// The delay edits of an output channel as page edits: each is one user edit through the edit sender and
// one undo step (a drag, between BeginGesture and EndGesture, makes one step). The delay page and the
// output channels page share them.
#pragma once

#include "tuning/delay_ops.h"

namespace page_edits {

// Returns whether the delay changed (an unchanged delay sends nothing).
bool SetChannelDelay(int channel, float ms);
void SetDelayOn(int channel, bool on);
void SetDelayMode(int channel, vireo::tuning::DelayMode mode);
void MoveSplit(int channel, int index);

}  // namespace page_edits
