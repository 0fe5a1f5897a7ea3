// The equaliser commands: the same tuning operations as the EQ pages, from a script.
#include "eq_commands.h"

#include <array>
#include <cstdio>
#include <functional>
#include <sstream>

#include "cli_common.h"
#include "device_session.h"
#include "dsp/crossover.h"
#include "dsp/filter_type.h"
#include "eq_fit_command.h"
#include "files/file_access.h"
#include "model/band.h"
#include "model/mode_file.h"
#include "model/store_layout.h"
#include "tuning/curve_export.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/filter_file.h"
#include "tuning/headroom.h"
#include "tuning/output_ops.h"

namespace vireo::cli {

bool ParseEqIdentity(const std::string& text, int* id) {
  long long v = 0;
  if (!ParseInt(text, &v) || v < 0 || v >= tuning::kEqIdentityCount) return false;
  *id = static_cast<int>(v);
  return true;
}

// From the record's codes, so the texts carry no float rounding.
std::string EqBandLine(const ParameterStore& store, int id, int band) {
  const tuning::EqIdentity& eq = *tuning::FindEqIdentity(id);
  std::array<std::uint8_t, kBandRecordBytes> r{};
  store.ReadBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(eq.group, eq.firstBand + band)),
                  r);
  char line[80];
  std::snprintf(line, sizeof line, "%d %d %.1f %d %.2f", band, r[6], ((r[0] << 8) | r[1]) / 10.0 - 15.0,
                (r[2] << 8) | r[3], ((r[4] << 8) | r[5]) / 1000.0);
  return line;
}

namespace {

// A code 0..21, or OFF, PEQ, LP, HP, LS, HS in any letter case.
bool ParseType(const std::string& text, int* type) {
  long long v = 0;
  if (ParseInt(text, &v)) {
    if (v < 0 || v > dsp::kLastFilterType) return false;
    *type = static_cast<int>(v);
    return true;
  }
  std::string upper = text;
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  *type = upper == "OFF" ? 0 : dsp::FilterTypeFromName(upper);
  return *type >= 0;
}

std::string BandLine(const ParameterStore& store, const tuning::EqIdentity& eq, int band) {
  return EqBandLine(store, eq.id, band);
}

void PrintEq(std::ostream& out, const ParameterStore& store, int id) {
  const tuning::EqIdentity& eq = *tuning::FindEqIdentity(id);
  for (int band = 0; band < eq.bandCount; ++band) out << BandLine(store, eq, band) << '\n';
  out << "bypass " << (tuning::EqBypass(store, id) ? 1 : 0) << '\n';
}

int ShowFile(int id, const std::string& path, std::ostream& out, std::ostream& err) {
  ParameterStore store;
  ResetStoreDefaults(store);
  const ModeFileResult result = ReadModeFile(store, path);
  if (!result.ok) return ModeFileFailure(err, path, result);
  PrintEq(out, store, id);
  if (!result.clamped.empty()) WarnClamped(err, path, result.clamped);
  return kExitOk;
}

int Show(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  int id = 0;
  const bool file = args.size() == 4 && args[2] == "--file";
  if ((args.size() != 2 && !file) || !ParseEqIdentity(args[1], &id))
    return UsageError(err, "eq show takes an ID 0..14 and optionally --file FILE");
  if (file) return ShowFile(id, args[3], out, err);
  return EditOnMachine(options, out, err, [id](ParameterStore& store, ReportSender&, std::ostream& text) {
    PrintEq(text, store, id);
  });
}

int Set(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
  int id = 0;
  long long band = 0;
  dsp::BandShape values;
  if (args.size() != 7 || !ParseEqIdentity(args[1], &id) || !ParseInt(args[2], &band) ||
      !ParseType(args[3], &values.type) || !ParseDouble(args[4], &values.gainDb) ||
      !ParseDouble(args[5], &values.frequency) || !ParseDouble(args[6], &values.q)) {
    return UsageError(err, "eq set takes ID BAND TYPE GAIN FREQ Q");
  }
  // An output channel's sections 10..12 follow its crossover band 9; the page edits bands 0..9.
  const int editable =
      tuning::IsOutputIdentity(id) ? tuning::kCrossoverBand + 1 : tuning::FindEqIdentity(id)->bandCount;
  if (band < 0 || band >= editable)
    return UsageError(err, "BAND of equaliser " + args[1] + " is 0.." + std::to_string(editable - 1));
  const int b = static_cast<int>(band);
  return EditOnMachine(options, out, err,
                       [&](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                         tuning::WriteEqBand(store, sender, id, b, tuning::LimitBandEdit(values));
                         text << BandLine(store, *tuning::FindEqIdentity(id), b) << '\n';
                       });
}

int Reset(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err) {
  int id = 0;
  if (args.size() != 2 || !ParseEqIdentity(args[1], &id)) return UsageError(err, "eq reset takes an ID 0..14");
  return EditOnMachine(options, out, err,
                       [id](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                         tuning::ResetEq(store, sender, id);
                         PrintEq(text, store, id);
                       });
}

int Copy(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  int from = 0;
  int to = 0;
  if (args.size() != 3 || !ParseEqIdentity(args[1], &from) || !ParseEqIdentity(args[2], &to))
    return UsageError(err, "eq copy takes SRC and DST, each 0..14");
  return EditOnMachine(options, out, err,
                       [=](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                         tuning::PasteEq(store, sender, from, to);
                         PrintEq(text, store, to);
                       });
}

int Bypass(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  int id = 0;
  if (args.size() != 3 || !ParseEqIdentity(args[1], &id) || (args[2] != "on" && args[2] != "off"))
    return UsageError(err, "eq bypass takes an ID 0..14 and on or off");
  const bool wanted = args[2] == "on";
  return EditOnMachine(options, out, err,
                       [=](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                         if (tuning::EqBypass(store, id) != wanted) tuning::ToggleEqBypass(store, sender, id);
                         text << "bypass " << (tuning::EqBypass(store, id) ? 1 : 0) << '\n';
                       });
}

// An output channel's crossover family, on the crossover band (band 10 on the page, band 9 here) as the
// page's crossover type list sets it; the band must be a low- or high-pass crossover already.
int Crossover(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  long long channel = 0;
  long long family = 0;
  const int families = static_cast<int>(dsp::kCrossoverFamilyNames.size());
  if (args.size() != 3 || !ParseInt(args[1], &channel) || !ParseInt(args[2], &family) || channel < 1 ||
      channel > kOutputChannels || family < 0 || family >= families) {
    return UsageError(err,
                      "eq crossover takes a channel 1..8 and a family 0.." + std::to_string(families - 1));
  }
  const int c = static_cast<int>(channel) - 1;
  bool applied = false;
  const int status =
      EditOnMachine(options, out, err, [&](ParameterStore& store, ReportSender& sender, std::ostream& text) {
        const std::vector<int> only{c};
        applied = tuning::SetCrossoverFamily(store, sender, c, only, static_cast<int>(family));
        const tuning::EqIdentity& eq = *tuning::FindEqIdentity(tuning::ChannelEqIdentity(c));
        for (int band = tuning::kCrossoverBand;
             applied && band < tuning::kCrossoverBand + tuning::kCrossoverSections; ++band)
          text << BandLine(store, eq, band) << '\n';
      });
  if (status == kExitOk && !applied)
    return Failure(err, "band 10 of channel " + args[1] + " is not a low-pass or high-pass crossover");
  return status;
}

void PrintHeadroom(std::ostream& out, const ParameterStore& store) {
  for (int channel = 0; channel < kOutputChannels; ++channel) {
    const tuning::Headroom h = tuning::ChannelHeadroom(store, channel);
    out << "CH" << channel + 1 << ' ' << (h.atRisk() ? tuning::HeadroomText(h, 1) : "no boost above 0 dB")
        << '\n';
  }
}

// The largest lift of the music path (music equaliser, then the channel's) on every output channel.
int Headroom(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  const bool file = args.size() == 3 && args[1] == "--file";
  if (args.size() != 1 && !file) return UsageError(err, "eq headroom takes no argument but --file FILE");
  if (file) {
    ParameterStore store;
    ResetStoreDefaults(store);
    const ModeFileResult result = ReadModeFile(store, args[2]);
    if (!result.ok) return ModeFileFailure(err, args[2], result);
    PrintHeadroom(out, store);
    return kExitOk;
  }
  return EditOnMachine(options, out, err, [](ParameterStore& store, ReportSender&, std::ostream& text) {
    PrintHeadroom(text, store);
  });
}

// Filter text (Room EQ Wizard, Equalizer APO) onto an equaliser: the file is read and checked before the
// machine is touched, so a refused file changes nothing.
int Import(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  int id = 0;
  if (args.size() != 3 || !ParseEqIdentity(args[1], &id))
    return UsageError(err, "eq import takes an ID 0..14 and a FILE");
  const tuning::FilterFileResult file = tuning::LoadFilterFile(args[2], tuning::ImportableBandCount(id));
  if (file.unreadable) return Failure(err, "cannot read " + args[2] + ": " + file.error);
  if (!file.ok) return Failure(err, args[2] + ": " + file.error);
  for (const std::string& note : file.notes) err << args[2] << ": " << note << '\n';
  return EditOnMachine(options, out, err,
                       [&](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                         tuning::ApplyFilterBands(store, sender, id, file.bands);
                         PrintEq(text, store, id);
                       });
}

bool WriteText(const std::string& path, const std::string& text) {
  return files::WriteFileAtomically(path, text) == 0;
}

// An equaliser as Equalizer APO filter lines (which REW imports too).
int Export(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  int id = 0;
  if (args.size() != 3 || !ParseEqIdentity(args[1], &id))
    return UsageError(err, "eq export takes an ID 0..14 and a FILE");
  int status = kExitOk;
  if (!CheckOutputPath(err, args[2], &status)) return status;
  std::string text;
  status = EditOnMachine(options, out, err, [&](ParameterStore& store, ReportSender&, std::ostream&) {
    text = tuning::FormatFilterFile(tuning::ExportableBands(store, id));
  });
  if (status != kExitOk) return status;
  if (!WriteText(args[2], text)) return Failure(err, "cannot write " + args[2]);
  return kExitOk;
}

}  // namespace

int RunEqCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err) {
  if (args.empty())
    return UsageError(
        err, "eq needs show, set, reset, copy, bypass, crossover, headroom, import, export, curve or fit");
  const std::string& command = args[0];
  if (command == "show") return Show(options, args, out, err);
  if (command == "set") return Set(options, args, out, err);
  if (command == "reset") return Reset(options, args, out, err);
  if (command == "copy") return Copy(options, args, out, err);
  if (command == "bypass") return Bypass(options, args, out, err);
  if (command == "crossover") return Crossover(options, args, out, err);
  if (command == "headroom") return Headroom(options, args, out, err);
  if (command == "import") return Import(options, args, out, err);
  if (command == "export") return Export(options, args, out, err);
  if (command == "curve") return RunEqCurve(options, args, out, err);
  if (command == "fit") return RunEqFit(options, args, out, err);
  return UsageError(err, "unknown eq command '" + command + "'");
}

}  // namespace vireo::cli
