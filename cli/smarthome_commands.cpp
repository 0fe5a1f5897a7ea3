// The smart-home commands: one connection, the smart-home controller on it, and bounded waits for the
// controller's events.
#include "smarthome_commands.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <sstream>

#include "cli_common.h"
#include "device/clock.h"
#include "device/hid_link.h"
#include "device/protocol.h"
#include "device_session.h"
#include "json_output.h"
#include "smarthome/plug_keys.h"
#include "smarthome/plug_name.h"
#include "smarthome/remote_keys.h"
#include "smarthome/smart_home_controller.h"
#include "smarthome/wait_progress.h"

namespace vireo::cli {
namespace {

using namespace smarthome;

// The longest any operation of the smart-plug window is waited for.
constexpr int kOperationTimeoutMs = 20000;
// Of a text that the window has in both languages, the tool prints the English one.
constexpr int kEnglish = 1;

// Collects the controller's events so that the command can wait for the one it needs.
class WaitingEvents final : public EventSink {
 public:
  explicit WaitingEvents(Clock& clock) : clock_(clock) {}
  struct Event {
    int message;
    std::intptr_t a;
    std::intptr_t b;
  };
  void Post(int message, std::intptr_t a, std::intptr_t b) override {
    {
      std::lock_guard guard(lock_);
      events_.push_back({message, a, b});
    }
    cv_.notify_all();
    clock_.Notify();
  }
  void Send(int message, std::intptr_t a, std::intptr_t b) override { Post(message, a, b); }
  // The first event from `from` on that `match` accepts; false after the time-out.
  bool WaitFor(std::size_t from, const std::function<bool(const Event&)>& match, Event* found) {
    std::unique_lock lk(lock_);
    return clock_.WaitFor(cv_, lk, kOperationTimeoutMs, [&] {
      for (std::size_t i = from; i < events_.size(); ++i) {
        if (match(events_[i])) {
          *found = events_[i];
          return true;
        }
      }
      return false;
    });
  }
  std::size_t count() {
    std::lock_guard guard(lock_);
    return events_.size();
  }

 private:
  Clock& clock_;
  std::mutex lock_;
  std::condition_variable cv_;
  std::vector<Event> events_;
};

// The link as the controller uses it, noting a report that the link refused: after that, the machine
// has not seen every report of the command. Used from the controller's worker and the read thread.
class WatchedSender final : public ReportSender {
 public:
  explicit WatchedSender(ReportSender& link) : link_(link) {}
  int SendPaced(const Report& report) override { return Note(link_.SendPaced(report)); }
  int SendUnpaced(const Report& report) override { return Note(link_.SendUnpaced(report)); }
  bool refused() const { return refused_.load(std::memory_order_acquire); }

 private:
  int Note(int written) {
    if (written == 0) refused_.store(true, std::memory_order_release);
    return written;
  }
  ReportSender& link_;
  std::atomic<bool> refused_{false};
};

struct SmartSession {
  SmartSession(Clock& clock, std::unique_ptr<DeviceSession> session)
      : device(std::move(session)), sender(device->connection().sender()), events(clock) {}
  std::unique_ptr<DeviceSession> device;
  WatchedSender sender;
  WaitingEvents events;
  std::unique_ptr<SmartHomeController> controller;
  ~SmartSession() {
    controller.reset();  // detaches before the connection goes
  }
};

using SmartOperation = std::function<int(SmartSession&, std::ostream& out, std::ostream& err)>;

// Connects, reads the node list, plug records, values and scenes when `read`, and runs `operation`.
// What the operation printed is passed on only when every report of the command reached the machine:
// after a refused report the machine went away, and a success (or a time-out) would not say what
// happened, so one line says that instead.
int RunSmart(const GlobalOptions& options, bool read, std::ostream& out, std::ostream& err,
             const SmartOperation& operation) {
  Clock& clock = options.clock != nullptr ? *options.clock : SystemClock();
  std::string problem;
  std::unique_ptr<DeviceSession> device = DeviceSession::Open(options, &problem);
  if (!device) return Failure(err, "not connected: " + problem);
  SmartSession s(clock, std::move(device));
  s.controller = std::make_unique<SmartHomeController>(s.device->store(), s.sender,
                                                       s.device->connection().clock(), &s.events);
  s.controller->Attach(s.device->connection());
  s.controller->SetPlugFolder(DefaultPlugFolder());
  std::ostringstream text;
  std::ostringstream failure;
  int status = kExitFailure;
  if (read && !s.controller->ReadAllNow().nodeListArrived) {
    status = Failure(failure, "time-out: the machine's Z-Wave controller sent no node list");
  } else {
    status = operation(s, text, failure);
  }
  s.controller->WaitIdle();
  const bool gone = s.sender.refused() || (status != kExitOk && s.device->connection().link().readerEnded());
  if (gone) return Failure(err, "the machine went away during the command; it may not have taken it");
  out << text.str();
  err << failure.str();
  return status;
}

bool ParseRange(const std::string& text, long long lowest, long long highest, int* value) {
  long long v = 0;
  if (!ParseInt(text, &v) || v < lowest || v > highest) return false;
  *value = static_cast<int>(v);
  return true;
}

bool ParseType(const std::string& text, std::uint8_t* type) {
  if (text == "switch")
    *type = static_cast<std::uint8_t>(PlugType::switchPlug);
  else if (text == "knob")
    *type = static_cast<std::uint8_t>(PlugType::knobPlug);
  else
    return false;
  return true;
}

std::string TypeText(int type) {
  if (type == static_cast<int>(PlugType::switchPlug)) return "switch";
  if (type == static_cast<int>(PlugType::knobPlug)) return "knob";
  return std::to_string(type);
}

// A plug name, checked as the plug dialog checks it: not empty; longer than 12 characters keeps the
// first 12, with a note; text that is not UTF-8 is refused rather than stored as guessed characters.
bool PlugName(const std::string& text, std::u16string* name, std::ostream& err, int* status) {
  const PlugNameCheck check = CheckPlugName(text, name);
  const std::string notice = PlugNameNotice(check, kEnglish);
  switch (check) {
    case PlugNameCheck::ok:
      return true;
    case PlugNameCheck::tooLong:
      err << "vireo-cli: " << notice << '\n';
      return true;
    case PlugNameCheck::empty:
      *status = UsageError(err, notice);
      return false;
    case PlugNameCheck::notUtf8:
      *status = Failure(err, notice);
      return false;
  }
  return false;
}

bool IsZ(const WaitingEvents::Event& e, int code) {
  return e.message == event::zwaveEvent && e.a == code;
}

int PlugList(SmartSession& s, bool json, std::ostream& out) {
  const std::vector<int> plugs = s.controller->presentPlugs();
  if (json) {
    Json list = Json::array();
    for (int node : plugs) {
      const PlugRecord r = s.controller->memory().plug(node);
      list.push_back(Json{{"node", node},
                          {"type", TypeText(r.type)},
                          {"name", Utf8(r.name)},
                          {"value", s.controller->value(node)}});
    }
    WriteJson(out, list);
    out << '\n';  // the list has always ended with an empty line; kept so that no reader sees a change
    return kExitOk;
  }
  for (int node : plugs) {
    const PlugRecord r = s.controller->memory().plug(node);
    out << node << ' ' << TypeText(r.type) << ' ' << Utf8(r.name) << ' ' << s.controller->value(node) << '\n';
  }
  return kExitOk;
}

// Waits (20 s at most) for the event that ends an operation of `kind`, read as the wait dialog reads it.
bool WaitForEnd(SmartSession& s, std::size_t from, WaitKind kind, int node, WaitProgress* progress,
                std::intptr_t* data) {
  WaitingEvents::Event e{};
  const bool ended = s.events.WaitFor(
      from,
      [&](const WaitingEvents::Event& ev) {
        return ev.message == event::zwaveEvent &&
               InterpretWaitEvent(kind, node, ev.a, ev.b, kEnglish).finished;
      },
      &e);
  if (!ended) return false;
  *progress = InterpretWaitEvent(kind, node, e.a, e.b, kEnglish);
  *data = e.b;
  return true;
}

int PlugSet(SmartSession& s, int node, int value, std::ostream& out, std::ostream& err) {
  if (node == kHdmiNode || node == kWaitNode) {
    s.controller->SetValueNow(node, value);
    return kExitOk;
  }
  if (!s.controller->present(node)) {
    return Failure(err, "node " + std::to_string(node) + " is not in the network");
  }
  const WaitKind kind = value >= kLearnKeyBase && value <= 254           ? WaitKind::learn
                        : value >= kEmitKeyBase && value < kLearnKeyBase ? WaitKind::emitKey
                                                                         : WaitKind::set;
  const std::size_t from = s.events.count();
  s.controller->SetValueNow(node, value);
  WaitProgress progress;
  std::intptr_t data = 0;
  if (!WaitForEnd(s, from, kind, node, &progress, &data)) {
    return Failure(err,
                   "time-out: node " + std::to_string(node) + " did not report the end of the operation");
  }
  s.controller->WaitIdle();  // a learned key is written to the plug's key file
  // A key file that could not be read was kept under another name when the key was marked in a new one.
  for (const KeyFileNotice& notice : TakeKeyFileNotices(DefaultPlugFolder()))
    err << KeyFileNoticeText(notice, 1) << '\n';
  if (!progress.success) return Failure(err, progress.text + ": node " + std::to_string(node));
  if (progress.text.empty()) {
    out << node << ' ' << value << '\n';
  } else {
    out << progress.text << '\n';
  }
  return kExitOk;
}

// Starts add or remove mode (the events are watched from before the start) and waits for its end.
int PlugAddOrRemove(SmartSession& s, bool add, const std::function<void()>& start, std::ostream& out,
                    std::ostream& err) {
  const std::size_t from = s.events.count();
  start();
  WaitProgress progress;
  std::intptr_t data = 0;
  if (!WaitForEnd(s, from, add ? WaitKind::add : WaitKind::remove, 0, &progress, &data)) {
    s.controller->Abort(static_cast<std::uint8_t>(add ? 0x4A : 0x4B));
    return Failure(err, "time-out: no plug " + std::string(add ? "joined" : "left") +
                            " (hold its button for 3 seconds)");
  }
  if (!progress.success) return Failure(err, progress.text);
  s.controller->WaitIdle();
  out << (add ? "added node " : "removed node ") << (data >> 16) << '\n';
  return kExitOk;
}

}  // namespace

int RunPlugCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err) {
  if (args.empty()) return UsageError(err, "plug needs a subcommand");
  const std::string& sub = args[0];
  int status = kExitFailure;
  int node = 0;
  int value = 0;
  std::uint8_t type = 0;
  std::u16string name;
  if (sub == "list") {
    const bool json = args.size() == 2 && args[1] == "--json";
    if (args.size() > 2 || (args.size() == 2 && !json)) return UsageError(err, "plug list [--json]");
    return RunSmart(options, true, out, err,
                    [&](SmartSession& s, std::ostream& o, std::ostream&) { return PlugList(s, json, o); });
  }
  if (sub == "set") {
    // A plug, or the two pseudo-nodes of a scene step: a wait and the HDMI input.
    const bool addressable =
        args.size() == 3 &&
        (ParseRange(args[1], kFirstPlugNode, kLastPlugNode, &node) ||
         (ParseRange(args[1], 0, 255, &node) && (node == kWaitNode || node == kHdmiNode)));
    if (!addressable || !ParseRange(args[2], 0, 255, &value)) {
      return UsageError(err, "plug set NODE VALUE (NODE 2..232, 240 or 254; VALUE 0..255)");
    }
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream& o, std::ostream& e) {
      return PlugSet(s, node, value, o, e);
    });
  }
  if (sub == "add") {
    if (args.size() != 3 || !ParseType(args[1], &type)) return UsageError(err, "plug add switch|knob NAME");
    if (!PlugName(args[2], &name, err, &status)) return status;
    const PlugRecord record{type, name};
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream& o, std::ostream& e) {
      return PlugAddOrRemove(
          s, true, [&] { s.controller->StartAdd(record); }, o, e);
    });
  }
  if (sub == "remove") {
    if (args.size() != 1) return UsageError(err, "plug remove");
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream& o, std::ostream& e) {
      return PlugAddOrRemove(
          s, false, [&] { s.controller->StartRemove(); }, o, e);
    });
  }
  if (sub == "rename") {
    if (args.size() != 4 || !ParseRange(args[1], kFirstPlugNode, kLastPlugNode, &node) ||
        !ParseType(args[2], &type)) {
      return UsageError(err, "plug rename NODE switch|knob NAME");
    }
    if (!PlugName(args[3], &name, err, &status)) return status;
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream& o, std::ostream& e) {
      if (!s.controller->present(node))
        return Failure(e, "node " + std::to_string(node) + " is not in the network");
      s.controller->WritePlug(node, {type, name});
      s.controller->WaitIdle();
      o << node << ' ' << TypeText(type) << ' ' << Utf8(name) << '\n';
      return kExitOk;
    });
  }
  if (sub == "reset") {
    if (args.size() != 1) return UsageError(err, "plug reset");
    return RunSmart(options, false, out, err, [](SmartSession& s, std::ostream& o, std::ostream& e) {
      const std::size_t from = s.events.count();
      const PlugFolderBackup backup = s.controller->ResetNow();
      WaitingEvents::Event ended{};
      if (!s.events.WaitFor(
              from, [](const auto& ev) { return IsZ(ev, zevent::reset); }, &ended)) {
        return Failure(e, "time-out: the controller did not confirm the reset");
      }
      if (!backup.folder.empty()) e << "key files kept in " << backup.folder << '\n';
      o << "reset\n";
      return kExitOk;
    });
  }
  return UsageError(err, "unknown plug subcommand '" + sub + "'");
}

int RunSceneCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err) {
  int scene = 0;
  if (args.size() < 2 || !ParseRange(args[1], 0, kSceneCount - 1, &scene)) {
    return UsageError(err, "scene show|save|run S (S 0..5)");
  }
  const std::string& sub = args[0];
  if (sub == "show" && args.size() == 2) {
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream& o, std::ostream&) {
      for (const SceneStep& step : s.controller->memory().scene(scene))
        o << +step.node << ' ' << +step.value << '\n';
      return kExitOk;
    });
  }
  if (sub == "save") {
    if (args.size() - 2 > static_cast<std::size_t>(kSceneSteps)) return Failure(err, "command over range");
    std::vector<SceneStep> steps;
    for (std::size_t i = 2; i < args.size(); ++i) {
      const std::size_t colon = args[i].find(':');
      int node = 0;
      int value = 0;
      if (colon == std::string::npos || !ParseRange(args[i].substr(0, colon), 1, 255, &node) ||
          !ParseRange(args[i].substr(colon + 1), 0, 255, &value)) {
        return UsageError(err,
                          "a scene step is NODE:VALUE (NODE 1..255, VALUE 0..255), not '" + args[i] + "'");
      }
      steps.push_back({static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(value)});
    }
    return RunSmart(options, false, out, err, [&](SmartSession& s, std::ostream& o, std::ostream&) {
      s.controller->SaveScene(scene, steps);
      s.controller->WaitIdle();
      o << "Save finished\n";
      return kExitOk;
    });
  }
  if (sub == "run" && args.size() == 2) {
    return RunSmart(options, true, out, err, [&](SmartSession& s, std::ostream&, std::ostream&) {
      s.controller->RunSceneNow(scene);
      return kExitOk;
    });
  }
  return UsageError(err, "scene show S | scene save S NODE:VALUE ... | scene run S");
}

int RunRemoteCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) {
  if (args.empty())
    return UsageError(err, "remote show | remote save FILE | remote load FILE | remote learn INDEX");
  const std::string& sub = args[0];
  int status = kExitFailure;
  RemoteKeyTable table{};
  if (sub == "show" && args.size() == 1) {
    auto session = ConnectAndRead(options, err, &status);
    if (!session) return status;
    session->store().ReadBytes(Region::remoteKeyTable, 0, table);
    for (std::size_t i = 0; i < table.size(); ++i) {
      char line[32];
      std::snprintf(line, sizeof line, "%d %02X\n", static_cast<int>(i), table[i]);
      out << line;
    }
    return kExitOk;
  }
  if (sub == "save" && args.size() == 2) {
    const std::string path = RemoteFilePath(args[1]);
    if (!CheckOutputPath(err, path, &status)) return status;
    auto session = ConnectAndRead(options, err, &status);
    if (!session) return status;
    session->store().ReadBytes(Region::remoteKeyTable, 0, table);
    int errorCode = 0;
    if (!WriteRemoteFile(path, table, &errorCode)) {
      return Failure(err, "Failed to save the remote file: " + path + ": " + std::strerror(errorCode));
    }
    out << "Remote file saved: " << path << '\n';
    return kExitOk;
  }
  if (sub == "load" && args.size() == 2) {
    std::string error;
    if (!ReadRemoteFile(args[1], &table, &error)) return Failure(err, "Failed to load the remote file: " + error);
    auto session = ConnectAndRead(options, err, &status);
    if (!session) return status;
    session->store().WriteBytes(Region::remoteKeyTable, 0, table);
    CheckedSender sender(session->connection().sender());
    SendCommand(sender, code::writeKeyTable, table);
    if (sender.refused()) return Failure(err, "not connected: the machine did not take the table");
    out << "Remote file loaded\n";
    return kExitOk;
  }
  int index = 0;
  if (sub == "learn" && args.size() == 2 && ParseRange(args[1], 1, kRemoteFunctions, &index)) {
    auto session = ConnectAndRead(options, err, &status);
    if (!session) return status;
    err << LearningText(index, kEnglish) << '\n';
    const int before = session->keysLearned();
    SendCommand(session->connection().sender(), code::learnKey, {static_cast<std::uint8_t>(index)});
    if (!session->WaitForKeyLearned(before, kOperationTimeoutMs)) {
      SendCommand(session->connection().sender(), code::stopLearning);
      return Failure(err, "time-out: no remote key was pressed");
    }
    char line[8];
    std::snprintf(line, sizeof line, "%02X\n",
                  session->store().Byte(Region::remoteKeyTable, static_cast<std::size_t>(index)));
    out << line;
    return kExitOk;
  }
  return UsageError(err, "remote show | remote save FILE | remote load FILE | remote learn INDEX (1..17)");
}

}  // namespace vireo::cli
