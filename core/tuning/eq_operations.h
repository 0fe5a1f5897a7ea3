// The equaliser edits of the EQ pages: band writes, the crossover, reset, bypass and paste.
#pragma once

#include <span>

#include "dsp/band_response.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

// Every function takes an EQ identity 0..14 (eq_identity.h) and returns the bytes the sender wrote;
// an identity or band that does not exist sends nothing and returns 0.

// The editor's limits for a typed or scripted band: gain -15..+15 dB, and 0 for the types without a
// gain (LP, HP and the crossover codes above 5); frequency 20..20000 Hz; Q 0.1..30 for Peaking and
// 0.1..2 for every other type; a type outside 0..21 becomes 0. A value that is not a number takes the
// low end of its range.
dsp::BandShape LimitBandEdit(dsp::BandShape band);

// The band as its record holds it (gain, whole hertz, Q, type).
dsp::BandShape ReadEqBand(const ParameterStore& store, int id, int band);

// Band write: the record (gain, frequency truncated to whole hertz, Q, type) is stored at the band's
// address and block-written, then the coefficients designed from the same values go to the band's slot.
// Band 9 of an output channel is its crossover: sections 10..12 follow with band 9's frequency and Q,
// gain 0 and their stored types, each record then its coefficients.
int WriteEqBand(ParameterStore& store, ReportSender& sender, int id, int band, const dsp::BandShape& values);

// The band's record sent as the store holds it, byte for byte, then its coefficients.
int SendStoredEqBand(const ParameterStore& store, ReportSender& sender, int id, int band);

// The four crossover sections of an output channel (bands 9..12) as given, in order, each record then
// its coefficients: what a new crossover family sends.
int WriteCrossover(ParameterStore& store, ReportSender& sender, int id,
                   std::span<const dsp::BandShape, 4> sections);

// Reset EQ: every band of the identity becomes Peaking, 0 dB, Q 1.41, written in band order. The
// microphone and music equalisers sit at 31, 62, 125 ... 16000 Hz, the effect equalisers at 63, 125,
// 250, 500, 1000, 2300 and 5000 Hz, the output channels at 31 ... 16000 Hz with sections 10..12 at
// 16000 Hz.
int ResetEq(ParameterStore& store, ReportSender& sender, int id);

// The identity's EQ bypass flag (1 = bypassed).
bool EqBypass(const ParameterStore& store, int id);
// Stores the flag and sends it to the flag's parameter.
int SetEqBypass(ParameterStore& store, ReportSender& sender, int id, bool bypass);
// Inverts the flag and sends it; returns the new state.
bool ToggleEqBypass(ParameterStore& store, ReportSender& sender, int id);

// Paste: the first n band records of `source` (n the smaller band count) are copied over those of
// `destination`; a ten-band voice or music equaliser pasted into an output channel leaves the channel's
// crossover band as the copied band 9 and makes sections 10..12 flat at its frequency and Q; an output
// channel pasted into a voice or music equaliser turns a crossover code of band 9 into LP (even code) or
// HP (odd code). Then every band of the destination is written, in order.
int PasteEq(ParameterStore& store, ReportSender& sender, int source, int destination);

}  // namespace vireo::tuning
