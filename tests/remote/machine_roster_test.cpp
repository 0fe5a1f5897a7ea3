// One host with several machines: each machine's interfaces grouped as one, ids and trace files numbered,
// and one vireod announcing two emulated machines on a real broker without crosstalk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <map>

#include "common/mqtt_broker.h"
#include "common/spawned_process.h"
#include "common/temp_folder.h"
#include "daemon_options.h"
#include "device/hidraw_backend.h"
#include "device/machine_views.h"
#include "machine_stack.h"
#include "remote/mqtt_options.h"
#include "remote/remote_state.h"

namespace vireo::remote::test {
namespace {

using namespace std::chrono_literals;

// Two machines, the first with two HID interfaces, and a mouse that shares a hub with them.
class ListedBackend final : public HidBackend {
 public:
  std::vector<HidDeviceInfo> Enumerate() override {
    return {{"/dev/hidraw4", kMachineVendorId, kMachineProductId},
            {"/dev/hidraw1", kMachineVendorId, kMachineProductId},
            {"/dev/hidraw0", 0x046d, 0xc52b},
            {"/dev/hidraw2", kMachineVendorId, kMachineProductId}};
  }
  std::unique_ptr<HidDevice> Open(const std::string&) override { return nullptr; }
  bool WatchHotplug(HotplugSink) override { return false; }
  void StopWatching() override {}
};

std::string UsbPortOf(const HidDeviceInfo& info) {
  static const std::map<std::string, std::string> ports = {{"/dev/hidraw0", "usb1/1-2"},
                                                           {"/dev/hidraw1", "usb1/1-1"},
                                                           {"/dev/hidraw2", "usb1/1-1"},
                                                           {"/dev/hidraw4", "usb1/1-3"}};
  return ports.at(info.path);
}

std::vector<std::string> PathsOf(HidBackend& backend) {
  std::vector<std::string> paths;
  for (const HidDeviceInfo& info : backend.Enumerate()) paths.push_back(info.path);
  return paths;
}

TEST(MachineViews, EachMachineIsOneViewOfItsOwnInterfaces) {
  ListedBackend backend;
  MachineViews views(backend, UsbPortOf);
  EXPECT_EQ(views.PresentMachines(), (std::vector<std::string>{"usb1/1-1", "usb1/1-3"}));
  const struct {
    std::string key;
    std::vector<std::string> paths;
  } rows[] = {{"usb1/1-1", {"/dev/hidraw1", "/dev/hidraw2"}},
              {"usb1/1-3", {"/dev/hidraw4"}},
              {"usb1/1-2", {}},  // the mouse is nobody's machine
              {"", {}}};
  for (const auto& row : rows) {
    auto view = views.View(row.key);
    EXPECT_EQ(PathsOf(*view), row.paths) << row.key;
  }
  auto waiting = views.View("");
  waiting->Pin("usb1/1-3");
  EXPECT_EQ(PathsOf(*waiting), std::vector<std::string>{"/dev/hidraw4"});
  // A node udev does not know stays a machine of its own.
  EXPECT_EQ(HidrawMachineKey("/dev/hidraw-none"), "/dev/hidraw-none");
}

TEST(MachineNumbering, TheFirstKeepsItsNamesAndTheOthersAreNumbered) {
  const std::string longId(64, 'r');
  const struct {
    std::string id;
    int number;
    std::string numbered;
  } ids[] = {{"room", 1, "room"},
             {"room", 2, "room-2"},
             {"calyx-box", 12, "calyx-box-12"},
             {longId, 3, std::string(62, 'r') + "-3"}};
  for (const auto& row : ids) {
    EXPECT_EQ(NumberedMachineId(row.id, row.number), row.numbered);
    EXPECT_TRUE(IsValidMachineId(NumberedMachineId(row.id, row.number)));
  }
  const struct {
    std::string path;
    int number;
    std::string numbered;
  } traces[] = {{"logs/a.b/trace.txt", 1, "logs/a.b/trace.txt"},
                {"logs/a.b/trace.txt", 2, "logs/a.b/trace-2.txt"},
                {"logs/a.b/trace", 3, "logs/a.b/trace-3"}};
  for (const auto& row : traces) EXPECT_EQ(daemon::NumberedTraceFile(row.path, row.number), row.numbered);

  daemon::DaemonOptions options;
  std::string problem;
  ASSERT_TRUE(daemon::ParseDaemonOptions({"--emulators", "3"}, &options, &problem)) << problem;
  EXPECT_EQ(options.emulators, 3);
  EXPECT_TRUE(options.device.emulator);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::size_t CountLines(const std::string& path, const std::string& line) {
  const std::string text = ReadAll(path);
  std::size_t count = 0;
  for (std::size_t at = text.find(line + "\n"); at != std::string::npos; at = text.find(line + "\n", at + 1))
    if (at == 0 || text[at - 1] == '\n') ++count;
  return count;
}

// True once the file holds `count` copies of `line`; false when the process ended or 20 s went by.
bool WaitForLines(const std::string& path, const std::string& line, std::size_t count, pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (CountLines(path, line) < count) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// True once the file holds `text`; false when the process ended or 20 s went by.
bool WaitForText(const std::string& path, const std::string& text, pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (ReadAll(path).find(text) == std::string::npos) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// musicVolume = 42 as the trace shows it: module 4, parameter 12, 0.4205 as a big-endian float32.
std::string MusicVolume42Line() {
  std::string line = "> 02 09 00 04 0C 01 3E D7 4B C6";
  for (int i = 10; i < 61; ++i) line += " 00";
  return line;
}

TEST(VireodMachines, TwoEmulatedMachinesAreAnnouncedApartAndTakeOnlyTheirOwnCommands) {
  vireo::test::TempFolder folder;
  Broker broker(folder.path().string());
  ASSERT_TRUE(broker.running());
  MqttClient ha(broker.port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/#"));
  ASSERT_TRUE(ha.Subscribe("homeassistant/number/+/musicVolume/config"));

  const std::string trace = folder.Path("trace.txt");
  std::vector<std::string> args = {VIREOD_PATH,
                                   "--emulators",
                                   "2",
                                   "--listen",
                                   "127.0.0.1:0",
                                   "--token-file",
                                   folder.Path("token"),
                                   "--trace",
                                   trace,
                                   "--machine-id",
                                   "bar",
                                   "--mqtt",
                                   "mqtt://127.0.0.1:" + std::to_string(broker.port())};
  const std::string log = folder.Path("vireod.log");
  const pid_t pid = vireo::test::SpawnWithStderrTo(args, log);
  ASSERT_NE(pid, 0);
  struct Ender {
    pid_t pid;
    int status = -1;
    void End() {
      if (status != -1) return;
      ::kill(pid, SIGTERM);
      ::waitpid(pid, &status, 0);
    }
    ~Ender() { End(); }
  } vireod{pid};

  for (const std::string id : {"bar", "bar-2"}) {
    EXPECT_TRUE(ha.WaitFor("vireo/" + id + "/availability", "online")) << id;
    const auto config = ha.WaitFor("homeassistant/number/" + id + "/musicVolume/config");
    ASSERT_TRUE(config) << id;
    const Json json = Json::parse(config->payload, nullptr, false);
    EXPECT_EQ(json["unique_id"], "vireo_" + id + "_musicVolume");
    EXPECT_EQ(json["command_topic"], "vireo/" + id + "/musicVolume/set");
    EXPECT_EQ(json["availability_topic"], "vireo/" + id + "/availability");
    EXPECT_EQ(json["device"]["identifiers"], Json{"vireo_" + id});
    const auto state = ha.WaitFor("vireo/" + id + "/musicVolume");
    ASSERT_TRUE(state) << id;
    ASSERT_NE(state->payload, "42");
  }
  // A command before the read-all ends would be overwritten by what the machine held.
  ASSERT_TRUE(WaitForText(log, "machine 1 read: Calyx", pid));
  ASSERT_TRUE(WaitForText(log, "machine 2 read: Calyx", pid));

  const std::string trace2 = folder.Path("trace-2.txt");
  ha.Publish("vireo/bar-2/musicVolume/set", "42");
  ASSERT_TRUE(ha.WaitFor("vireo/bar-2/musicVolume", "42"));
  EXPECT_TRUE(WaitForLines(trace2, MusicVolume42Line(), 1, pid));
  EXPECT_EQ(CountLines(trace, MusicVolume42Line()), 0u);
  for (const MqttMessage& m : ha.messages())
    EXPECT_FALSE(m.topic == "vireo/bar/musicVolume" && m.payload == "42");

  // Machine 1 still takes its own commands, and they stay its own.
  ha.Publish("vireo/bar/musicVolume/set", "42");
  ASSERT_TRUE(ha.WaitFor("vireo/bar/musicVolume", "42"));
  EXPECT_TRUE(WaitForLines(trace, MusicVolume42Line(), 1, pid));
  EXPECT_EQ(CountLines(trace2, MusicVolume42Line()), 1u);

  vireod.End();
  EXPECT_TRUE(WIFEXITED(vireod.status) && WEXITSTATUS(vireod.status) == 0);
  EXPECT_TRUE(ha.WaitFor("vireo/bar/availability", "offline"));
  EXPECT_TRUE(ha.WaitFor("vireo/bar-2/availability", "offline"));
  EXPECT_NE(ReadAll(log).find("machine 2 connected"), std::string::npos);
}

}  // namespace
}  // namespace vireo::remote::test
