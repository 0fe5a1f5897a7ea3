// Usage text, error exits and number parsing for vireo-cli.
#include "cli_common.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/mode_file.h"

namespace vireo::cli {

const std::string_view kUsage =
    "usage: vireo-cli [--emulator] [--emulator-model NAME] [--emulator-kind N] [--emulator-latency MS]\n"
    "                 [--emulator-state FILE.noveq] [--emulator-unplug-after N] [--trace FILE] COMMAND ...\n"
    "  info [--json]                 connect, read-all, print identity, kind, current mode, mode names\n"
    "  backup FILE                   read-all, then write FILE as a version-8 mode file\n"
    "  restore FILE [--force]        read FILE, then write-all (a name beginning m1..m4 also stores the "
    "slot);\n"
    "                                the machine's tuning is kept as a backup first (--force: even if not)\n"
    "  backups list                  the automatic backups, newest first: N, time, what overwrote\n"
    "  backups show N                the fields where backup N differs from the machine\n"
    "  backups restore N [--force]   write backup N back to the machine (itself after a backup)\n"
    "  get NAME                      read-all, print one store field (NAME or NAME[i])\n"
    "  set NAME VALUE                read-all, then apply the tuning operation of that field's control\n"
    "                                with its page's side effects (echoTimeA 4 also sets reverbPredelayA;\n"
    "                                hdmiPort 3 selects HDMI4; micBoostLevel dB, musicLowFrequency Hz)\n"
    "  mode show FILE [--json]       decode a mode file of version 1..8 loaded over the default store\n"
    "  mode diff A B                 the fields that differ, one a line\n"
    "  mode convert IN OUT           rewrite IN as a version-8 file\n"
    "  filter TYPE GAIN FREQ Q [--response]\n"
    "                                biquad of TYPE (0..21 or PEQ, LP, HP, LS, HS) at 48000 Hz\n"
    "  eq show ID [--file FILE]      one line per band \"BAND TYPE GAIN FREQ Q\", then \"bypass 0|1\",\n"
    "                                from the machine or a mode file; ID 0 mic A, 1 mic B,\n"
    "                                2 reverb A, 3 reverb B, 4 echo A, 5 echo B, 6 music, 7..14 output 1..8\n"
    "  eq set ID BAND TYPE GAIN FREQ Q\n"
    "                                write one band (TYPE 0..21 or OFF, PEQ, LP, HP, LS, HS); an output's\n"
    "                                band 9 is its crossover and carries sections 10..12 along\n"
    "  eq reset ID                   the page's Reset EQ: every band Peaking, 0 dB, Q 1.41\n"
    "  eq copy SRC DST               paste SRC's bands into DST by the pages' paste rule\n"
    "  eq bypass ID on|off           switch the EQ bypass\n"
    "  eq crossover CH FAMILY        crossover family 0..10 on band 10 of output channel CH 1..8,\n"
    "                                which must be a low-pass or high-pass crossover already\n"
    "  eq headroom [--file FILE]     per output channel, the largest lift of the music path (music EQ,\n"
    "                                then the channel's EQ and crossover) above 0 dB, and where\n"
    "  eq import ID FILE             Room EQ Wizard or Equalizer APO filter text onto equaliser ID\n"
    "                                (an output keeps its crossover); the rest of its bands go flat\n"
    "  eq export ID FILE             equaliser ID as Equalizer APO filter lines\n"
    "  eq curve ID [--csv FILE] [--svg FILE] [--file MODE] [--measurement FILE...] [--target flat|room|FILE]\n"
    "                                the response of equaliser ID on the graph's 512-point grid: CSV\n"
    "                                (frequency, each band, total) and / or an SVG drawing; with a\n"
    "                                measurement the CSV adds measurement_db (aligned to the target over\n"
    "                                20 Hz..16 kHz), target_db and prediction_db (measurement + EQ)\n"
    "  eq fit ID MEASUREMENT... [--target flat|room|FILE] [--bands N] [--from HZ] [--to HZ]\n"
    "         [--max-boost DB] [--shelves] [--file MODE] [--apply]\n"
    "                                fit the free bands of equaliser ID (default 10, or all when fewer)\n"
    "                                to the target over --from..--to (20..16000 Hz), boosts up to\n"
    "                                --max-boost (0..15, default 6 dB); prints the bands as eq show, then\n"
    "                                \"preamp DB\" (0.1 dB) and \"rms BEFORE AFTER\" (dB, 0.01); offline\n"
    "                                from the default EQ or --file MODE; --apply writes them as eq import\n"
    "  location show                 room W L, listener X Y, speaker NAME X Y (metres), gain CH DB\n"
    "  location room W L             room size in whole metres, held to 1..10\n"
    "  location listener X Y         move the listener (held in the room); all eight corrections follow\n"
    "  location speaker NAME X Y     move loudspeaker NAME (L CEN R SBL SUB SBR SL SR) and correct it\n"
    "  location center               the listener to 0 0\n"
    "  location reset                zero corrections and the default room, listener and loudspeakers\n"
    "  location locate CH|off        the page's Locate switch for output channel 1..8, or none\n"
    "  delay split CH INDEX          the split slider of output CH (1..8) at INDEX (0..25): split bands\n"
    "                                13 and 14 at 500 + 100 INDEX Hz and 500 Hz above\n"
    "  settings show                 the machine settings, one \"KEY VALUE\" a line\n"
    "  settings apply KEY=VALUE ...  change them as the machine settings dialog does, then apply; KEY:\n"
    "                                saveMode 0|1 (power|mode), micStart|musicStart 0..max or off (also the\n"
    "                                live volume), micMax|musicMax 1..99, powerOnMode 0..4 (auto, m1..m4)\n"
    "  plug list [--json]            read the smart-home data; one line per plug: node, type, name, value\n"
    "  plug set NODE VALUE           switch / dim / emit (128 + k) / learn (192 + k); waits for the end\n"
    "                                of the send (NODE 254 selects HDMI VALUE, 240 waits VALUE seconds)\n"
    "  plug add switch|knob NAME     add mode: waits for the plug to join (hold its button 3 seconds)\n"
    "  plug remove                   remove mode: waits for a plug to leave\n"
    "  plug rename NODE switch|knob NAME\n"
    "                                the plug's type and name (at most 12 characters)\n"
    "  plug reset                    the Z-Wave controller reset with its scene clearing\n"
    "  scene show S                  the steps of scene S (0 TV, 1 Movie, 2 Karaoke, 3 Music, 4 PowerON,\n"
    "                                5 PowerOFF), one \"node value\" a line\n"
    "  scene save S NODE:VALUE ...   at most 28 steps (NODE 240 waits VALUE seconds, 254 selects HDMI)\n"
    "  scene run S                   run scene S step by step\n"
    "  remote show                   the machine's remote key table, one \"INDEX CODE\" a line\n"
    "  remote save FILE              write the table to FILE with the extension remo\n"
    "  remote load FILE              read an 18-byte remo file and apply it to the machine\n"
    "  remote learn INDEX            learn remote function INDEX (1..17); prints the code\n";

int UsageError(std::ostream& err, std::string_view problem) {
  err << "vireo-cli: " << problem << '\n' << kUsage;
  return kExitUsage;
}

int Failure(std::ostream& err, std::string_view message) {
  std::string line(message);
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  err << "vireo-cli: " << line << '\n';
  return kExitFailure;
}

int ModeFileFailure(std::ostream& err, const std::string& path, const ModeFileResult& result) {
  if (result.errorCode != 0)
    return Failure(err, "cannot read " + path + ": " + std::strerror(result.errorCode));
  return Failure(err, path + ": " + result.reason);
}

void WarnClamped(std::ostream& err, const std::string& path, const std::vector<ClampedValue>& values) {
  std::string line = "vireo-cli: " + path + ": out of range, loaded at the nearest limit:";
  for (const ClampedValue& value : values) {
    line += ' ';
    line += value.Name();
  }
  err << line << '\n';
}

bool CheckOutputPath(std::ostream& err, const std::string& path, int* status) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    *status = Failure(err, "cannot write " + path + ": " + std::strerror(EISDIR));
    return false;
  }
  return true;
}

bool ParseInt(std::string_view text, long long* value) {
  const std::string s(text);
  if (s.empty() || s.front() == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || end != s.c_str() + s.size()) return false;
  *value = v;
  return true;
}

bool ParseDouble(std::string_view text, double* value) {
  const std::string s(text);
  if (s.empty() || s.front() == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(s.c_str(), &end);
  if (errno != 0 || end != s.c_str() + s.size() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

std::string FloatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

double FloatNumber(float value) {
  if (!std::isfinite(value)) return value;
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  double number = 0;
  std::from_chars(text, written.ptr, number);
  return number;
}

std::string DoubleText(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string DecimalText(std::int64_t code, int divisor) {
  const bool negative = code < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-code) : static_cast<std::uint64_t>(code);
  const auto d = static_cast<std::uint64_t>(divisor);
  // Built by appending: GCC 12 at -O3 reports a false -Wrestrict inside libstdc++ for "literal + string".
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / d);
  std::uint64_t fraction = magnitude % d;
  if (fraction == 0) return text;
  std::string digits;
  for (std::uint64_t scale = d / 10; scale > 0; scale /= 10) {
    digits += static_cast<char>('0' + fraction / scale);
    fraction %= scale;
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return text + "." + digits;
}

}  // namespace vireo::cli
