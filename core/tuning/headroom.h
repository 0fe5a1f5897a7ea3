// Headroom of the music path: how far the equalisers along it lift the signal above 0 dB, and where, so
// an installer sees a clipping risk before the amplifier does.
#pragma once

#include <span>
#include <string>

#include "dsp/headroom.h"
#include "model/parameter_store.h"

namespace vireo::tuning {

using dsp::Headroom;

// Output channel `channel` (0..7): the music equaliser, then the channel's equaliser with its crossover,
// each left out while bypassed. A channel outside 0..7 gives 0 dB.
Headroom ChannelHeadroom(const ParameterStore& store, int channel);

// "+4.2 dB at 63 Hz: risk of clipping" / "+4.2 dB @ 63 Hz：有削波风险" (language 0 Chinese, 1 English),
// UTF-8; frequencies from 1 kHz up in kHz with one decimal.
std::string HeadroomText(const Headroom& headroom, int languageIndex);

}  // namespace vireo::tuning
