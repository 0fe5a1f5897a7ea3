// The pieces around the server: listen addresses, the change list, vireod's options and token file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "common/temp_folder.h"
#include "daemon_options.h"
#include "remote/remote_server.h"
#include "remote/remote_state.h"
#include "remote/token_file.h"

namespace vireo::remote::test {
namespace {

TEST(ListenAddresses, ParseEveryFormAndRefuseTheRest) {
  const struct {
    const char* text;
    bool ok;
    ListenAddress address;
  } cases[] = {
      {"127.0.0.1:8719", true, {"127.0.0.1", 8719}}, {"0.0.0.0", true, {"0.0.0.0", kDefaultPort}},
      {"[::1]:9000", true, {"::1", 9000}},           {"::", true, {"::", kDefaultPort}},
      {"127.0.0.1:0", true, {"127.0.0.1", 0}},       {"127.0.0.1:65535", true, {"127.0.0.1", 65535}},
      {"127.0.0.1:65536", false, {}},                {"127.0.0.1:", false, {}},
      {"127.0.0.1:80x", false, {}},                  {"localhost:80", false, {}},
      {"[::1", false, {}},                           {"[::1]9000", false, {}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    ListenAddress parsed;
    std::string problem;
    EXPECT_EQ(ParseListenAddress(c.text, &parsed, &problem), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(parsed, c.address) << c.text;
    } else {
      EXPECT_FALSE(problem.empty()) << c.text;
    }
  }
}

TEST(StateChanges, NameEachFieldAndTopLevelMemberThatMoved) {
  const Json before = {{"mode", 1}, {"ab", "A"}, {"fields", {{"musicVolume", 10}, {"chDelay[2]", 1.5}}}};
  const Json after = {{"mode", 2}, {"ab", "A"}, {"fields", {{"musicVolume", 10}, {"chDelay[2]", 2.0}}}};
  const std::vector<Json> changes = StateChanges(before, after);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0], (Json{{"type", "change"}, {"name", "mode"}, {"value", 2}}));
  EXPECT_EQ(changes[1], (Json{{"type", "change"}, {"name", "chDelay[2]"}, {"value", 2.0}}));
  EXPECT_TRUE(StateChanges(after, after).empty());
}

TEST(FloatJson, PrintsTheShortestTextOfTheFloat) {
  EXPECT_EQ(FloatJson(0.1f).dump(), "0.1");
  EXPECT_EQ(FloatJson(0.4205f).dump(), "0.4205");
  EXPECT_TRUE(FloatJson(std::numeric_limits<float>::quiet_NaN()).is_null());
}

TEST(DaemonOptions, TheCommandLineWinsOverTheConfigFile) {
  vireo::test::TempFolder folder;
  const std::string config = (folder.path() / "vireod.conf").string();
  std::ofstream(config) << "# the box by the machine\nemulator = true\nlisten = 0.0.0.0:9000\n"
                           "listen = [::]:9000\ntoken-file = /var/lib/vireo/token\n"
                           "mqtt = mqtt://ha:pw@broker.local\nmqtt-ca = /etc/ssl/broker.pem\n";
  daemon::DaemonOptions o;
  std::string problem;
  ASSERT_TRUE(daemon::ParseDaemonOptions(
      {"--config", config, "--listen", "127.0.0.1:0", "--emulator-latency", "3", "--machine-id", "room-3"}, &o, &problem))
      << problem;
  EXPECT_TRUE(o.device.emulator);
  EXPECT_EQ(o.device.emulatorLatencyMs, 3);
  EXPECT_EQ(o.listen, (std::vector<ListenAddress>{{"127.0.0.1", 0}}));
  EXPECT_EQ(o.tokenFile, "/var/lib/vireo/token");
  EXPECT_TRUE(o.mqttOn);
  EXPECT_EQ(o.mqtt.host, "broker.local");
  EXPECT_EQ(o.mqtt.port, 1883);
  EXPECT_EQ(o.mqtt.user, "ha");
  EXPECT_EQ(o.mqtt.password, "pw");
  EXPECT_EQ(o.mqtt.caFile, "/etc/ssl/broker.pem");
  EXPECT_EQ(o.mqtt.machineId, "room-3");

  const struct {
    std::vector<std::string> args;
    const char* problem;
  } bad[] = {{{"--listen", "nowhere"}, "not an IP address"},
             {{"--bogus", "1"}, "unknown option"},
             {{"--config", (folder.path() / "missing").string()}, "cannot read the config file"},
             {{"--emulator-kind", "300"}, "--emulator-kind"},
             {{"stray"}, "unexpected argument"},
             {{"--mqtt", "broker.local"}, "mqtt://"},
             {{"--mqtt", "mqtt://broker", "--machine-id", "Room 3"}, "--machine-id needs"},
             {{"--machine-id", "room-3"}, "need --mqtt"},
             {{"--emulators", "0"}, "--emulators needs a number 1..16"},
             {{"--emulators", "17"}, "--emulators needs"}};
  for (const auto& c : bad) {
    daemon::DaemonOptions options;
    std::string why;
    EXPECT_FALSE(daemon::ParseDaemonOptions(c.args, &options, &why)) << c.args[0];
    EXPECT_NE(why.find(c.problem), std::string::npos) << why;
  }
}

TEST(TokenFile, IsCreatedForItsOwnerOnlyThenReadBack) {
  vireo::test::TempFolder folder;
  const std::string path = (folder.path() / "state" / "remote-token").string();
  bool created = false;
  std::string problem;
  const std::string token = remote::LoadOrCreateToken(path, &created, &problem);
  ASSERT_TRUE(created) << problem;
  EXPECT_TRUE(IsWellFormedToken(token));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(remote::LoadOrCreateToken(path, &created, &problem), token);
  EXPECT_FALSE(created);
  std::ofstream(path) << "not a token\n";
  EXPECT_EQ(remote::LoadOrCreateToken(path, &created, &problem), "");
  EXPECT_NE(problem.find("32 hexadecimal digits"), std::string::npos);
}

}  // namespace
}  // namespace vireo::remote::test
