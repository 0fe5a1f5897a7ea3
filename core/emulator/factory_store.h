// What a machine that has been in use holds when it leaves the factory or is reset: the emulator's start.
#pragma once

#include "model/parameter_store.h"

namespace vireo::emulator {

// Fills `store` with the working set of a plausible machine in use: the store's default bands and
// effect times, moderate master volumes, inputs 1-2 on microphone channel A and 3-4 on B, shifters off,
// full source levels, the eight output channels as L, R, SBL, SBR, SUB, CEN, SL, SR with mix shares
// suited to each role, short channel delays, compressors off with gentle settings, no boost.
// Identity, settings and mode names are the emulator's own and are not touched here.
void FillInUseFactoryStore(ParameterStore& store);

}  // namespace vireo::emulator
