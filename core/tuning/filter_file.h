// Equaliser bands as filter text: the "Filter settings" files that Room EQ Wizard exports and the
// configuration lines that Equalizer APO reads, so a measurement tool's correction can be loaded onto the
// machine and a tuning handed to a PC equaliser.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dsp/band_response.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

struct FilterFileResult {
  bool ok = false;
  std::vector<dsp::BandShape> bands;  // in file order, filters that are switched off or "None" left out
  std::vector<std::string> notes;     // "line 3: Preamp: -6 dB ignored" and the like
  std::string error;                  // "line 7: ..." when !ok
  bool unreadable = false;            // the file itself could not be read (error says why)
};

// Filter lists are a few kilobytes; a larger file is not one.
inline constexpr std::size_t kFilterFileMaxBytes = 1 << 20;

// Reads filter lines ("Filter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 1.41"; "Filter: ON LS Fc 100 Hz Gain
// 3 dB"; REW's wider spacing and "None" filters) with CR LF or LF line ends and an optional UTF-8 BOM.
// PK / PEQ / Modal become Peaking, LS / LSC Low shelf, HS / HSC High shelf, LP / LPQ Low pass, HP / HPQ
// High pass; a missing Q is 1.41 for Peaking and 0.71 otherwise, and "BW Oct N" gives Q from the
// bandwidth. A filter without a counterpart, more filters than `bandLimit`, or a frequency, gain or Q
// outside the band editor's ranges refuse the whole file with one message naming the line. Preamp and
// other lines (headers, comments, device commands) are noted and ignored.
FilterFileResult ParseFilterFile(std::string_view text, int bandLimit);
// Reads the file at `path` and parses it. A folder, a pipe or device, or a file over kFilterFileMaxBytes
// is refused (`unreadable`) without being read, so a pipe cannot hold the caller.
FilterFileResult LoadFilterFile(const std::string& path, int bandLimit);

// The bands as Equalizer APO lines, one "Filter N: ON ..." per band of type 1..5; bands of other types
// (off, crossover sections) are left out. REW imports the same text.
std::string FormatFilterFile(std::span<const dsp::BandShape> bands);

// The bands an import may replace: all of them, but an output channel's crossover (band 9 on) stays.
int ImportableBandCount(int identity);
// The importable bands as the store holds them.
std::vector<dsp::BandShape> ExportableBands(const ParameterStore& store, int identity);
// Band i takes filter i; the remaining importable bands become flat Peaking bands (0 dB) at their
// frequencies, so the equaliser sounds as the file says. Each band is written like an edit.
int ApplyFilterBands(ParameterStore& store, ReportSender& sender, int identity,
                     std::span<const dsp::BandShape> bands);

}  // namespace vireo::tuning
