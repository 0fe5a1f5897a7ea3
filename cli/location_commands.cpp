// The location commands: room size, listener and loudspeaker positions, Center, Reset and Locate, through the
// same tuning operations as the page.
#include "location_commands.h"

#include <array>
#include <cstdio>
#include <functional>
#include <sstream>

#include "cli_common.h"
#include "device_session.h"
#include "model/store_layout.h"
#include "tuning/location_ops.h"

namespace vireo::cli {
namespace {

namespace t = tuning;

constexpr std::array<const char*, kLocationSpeakers> kSpeakerNames{"L",   "CEN", "R",  "SBL",
                                                                   "SUB", "SBR", "SL", "SR"};

std::string Line(const char* format, double a, double b) {
  char text[96];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// "room W L", "listener X Y", one "speaker NAME X Y" per loudspeaker, then "gain CH DB" for the eight
// channels.
void PrintLocation(std::ostream& out, const ParameterStore& store) {
  const LocationGeometry g = store.geometry();
  out << "room " << g.roomWidth << ' ' << g.roomLength << '\n';
  out << "listener" << Line(" %+.2f %+.2f", g.listener.x, g.listener.y) << '\n';
  for (std::size_t k = 0; k < g.speakers.size(); ++k)
    out << "speaker " << kSpeakerNames[k] << Line(" %+.2f %+.2f", g.speakers[k].x, g.speakers[k].y) << '\n';
  for (int c = 0; c < kOutputChannels; ++c)
    out << "gain " << c + 1 << Line(" %+.2f", t::ChannelLocationGain(store, c), 0) << '\n';
}

using Edit = std::function<void(ParameterStore&, ReportSender&)>;
// The edit on the machine, then the location as it stands.
int EditOnMachine(const GlobalOptions& options, std::ostream& out, std::ostream& err, const Edit& edit,
                  bool print = true) {
  return cli::EditOnMachine(options, out, err,
                            [&](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                              edit(store, sender);
                              if (print) PrintLocation(text, store);
                            });
}

int SpeakerIndex(const std::string& name) {
  for (std::size_t k = 0; k < kSpeakerNames.size(); ++k) {
    if (name == kSpeakerNames[k]) return static_cast<int>(k);
  }
  return -1;
}

bool ParsePoint(const std::string& x, const std::string& y, double* px, double* py) {
  return ParseDouble(x, px) && ParseDouble(y, py);
}

int Room(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  long long w = 0;
  long long l = 0;
  if (args.size() != 3 || !ParseInt(args[1], &w) || !ParseInt(args[2], &l))
    return UsageError(err, "location room takes W L in whole metres (held to 1..10)");
  return EditOnMachine(options, out, err, [=](ParameterStore& store, ReportSender& sender) {
    t::SetRoomSize(store, sender, t::ClampRoomSize(w), t::ClampRoomSize(l));
  });
}

int Listener(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  double x = 0;
  double y = 0;
  if (args.size() != 3 || !ParsePoint(args[1], args[2], &x, &y))
    return UsageError(err, "location listener takes X Y in metres");
  return EditOnMachine(options, out, err, [=](ParameterStore& store, ReportSender& sender) {
    const LocationGeometry g = store.geometry();
    t::MoveListener(store, sender, t::ClampToRoom(x, y, g.roomWidth, g.roomLength));
  });
}

int Speaker(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
  double x = 0;
  double y = 0;
  const int k = args.size() == 4 ? SpeakerIndex(args[1]) : -1;
  if (k < 0 || !ParsePoint(args[2], args[3], &x, &y))
    return UsageError(err, "location speaker takes NAME (L CEN R SBL SUB SBR SL SR) and X Y in metres");
  return EditOnMachine(options, out, err, [=](ParameterStore& store, ReportSender& sender) {
    const LocationGeometry g = store.geometry();
    t::MoveSpeaker(store, sender, k, t::ClampToRoom(x, y, g.roomWidth, g.roomLength));
  });
}

int Locate(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  long long ch = 0;
  const bool off = args.size() == 2 && args[1] == "off";
  if (args.size() != 2 || (!off && (!ParseInt(args[1], &ch) || ch < 1 || ch > kOutputChannels)))
    return UsageError(err, "location locate takes a channel 1..8 or off");
  const int channel = off ? -1 : static_cast<int>(ch) - 1;
  const int status = EditOnMachine(
      options, out, err,
      [=](ParameterStore& store, ReportSender& sender) { t::SendLocate(store, sender, channel); }, false);
  if (status == kExitOk) out << "locate " << (off ? std::string("off") : std::to_string(ch)) << '\n';
  return status;
}

}  // namespace

int RunLocationCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err) {
  if (args.empty())
    return UsageError(err, "location needs show, room, listener, speaker, center, reset or locate");
  const std::string& command = args[0];
  const bool bare = args.size() == 1;
  if (command == "show" && bare)
    return EditOnMachine(options, out, err, [](ParameterStore&, ReportSender&) {});
  if (command == "center" && bare)
    return EditOnMachine(options, out, err,
                         [](ParameterStore& s, ReportSender& r) { t::CenterListener(s, r); });
  if (command == "reset" && bare)
    return EditOnMachine(options, out, err,
                         [](ParameterStore& s, ReportSender& r) { t::ResetLocation(s, r); });
  if (command == "room") return Room(options, args, out, err);
  if (command == "listener") return Listener(options, args, out, err);
  if (command == "speaker") return Speaker(options, args, out, err);
  if (command == "locate") return Locate(options, args, out, err);
  return UsageError(err, "unknown location command '" + command + "' (or extra arguments)");
}

}  // namespace vireo::cli
