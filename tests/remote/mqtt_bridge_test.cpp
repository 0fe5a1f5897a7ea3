// The MQTT bridge against a real Mosquitto broker: Home Assistant's discovery configs, commands down to
// the machine's bytes, states up from the edit session, retained messages, refusals, two machines on
// one broker, a clean stop, and a broker that goes away and comes back.
#include <gtest/gtest.h>

#include <future>

#include "common/mqtt_broker.h"
#include "common/mqtt_rig.h"
#include "common/temp_folder.h"

namespace vireo::remote::test {
namespace {

using namespace std::chrono_literals;

// musicVolume = 42 on the wire: module 4, parameter 12, one value by the volume rule, 42 / 100 + 0.0005
// = 0.4205 as a big-endian float32: 3E D7 4B C6.
Wire MusicVolume42() {
  Wire w{};
  const std::uint8_t head[] = {0x02, 0x09, 0x00, 0x04, 0x0C, 0x01, 0x3E, 0xD7, 0x4B, 0xC6};
  std::copy(std::begin(head), std::end(head), w.begin());
  return w;
}

void ApplyOnHost(RemoteRig& rig, const char* field, double value) {
  rig.host().Post([&rig, field, value] { rig.edits().Apply({tuning::FieldValue{field, 0, value}}); });
}

// How long work posted to the host waits before it runs.
std::chrono::milliseconds PostDelay(RemoteRig& rig) {
  std::promise<std::chrono::steady_clock::time_point> ran;
  const auto posted = std::chrono::steady_clock::now();
  rig.host().Post([&ran] { ran.set_value(std::chrono::steady_clock::now()); });
  auto future = ran.get_future();
  if (future.wait_for(10s) != std::future_status::ready) return 10s;
  return std::chrono::duration_cast<std::chrono::milliseconds>(future.get() - posted);
}

class MqttBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(broker_.running()); }
  int port() const { return broker_.port(); }

  vireo::test::TempFolder folder_;
  Broker broker_{folder_.path().string()};
};

TEST_F(MqttBridgeTest, DiscoveryDescribesEachKindOfEntityAndTheDevice) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("homeassistant/+/room-1/+/config"));
  const auto config = [&](const std::string& component, const std::string& object) {
    const auto m = ha.WaitFor("homeassistant/" + component + "/room-1/" + object + "/config");
    return m ? Json::parse(m->payload, nullptr, false) : Json();
  };
  const Json volume = config("number", "musicVolume");
  EXPECT_EQ(volume["name"], "Music volume");
  EXPECT_EQ(volume["unique_id"], "vireo_room-1_musicVolume");
  EXPECT_EQ(volume["state_topic"], "vireo/room-1/musicVolume");
  EXPECT_EQ(volume["command_topic"], "vireo/room-1/musicVolume/set");
  EXPECT_EQ(volume["availability_topic"], "vireo/room-1/availability");
  EXPECT_EQ(volume["min"], 0);
  EXPECT_EQ(volume["max"], 99);
  EXPECT_EQ(volume["step"], 1);
  EXPECT_EQ(volume["mode"], "slider");
  EXPECT_EQ(volume["device"], (Json{{"identifiers", {"vireo_room-1"}},
                                    {"name", "Vireo room-1"},
                                    {"manufacturer", "Vireo"},
                                    {"model", "Calyx"},
                                    {"sw_version", "2013-06-21"},
                                    {"hw_version", "2013-07-02"}}));

  const Json mute = config("switch", "musicMute");
  EXPECT_EQ(mute["name"], "Music mute");
  EXPECT_EQ(mute["state_topic"], "vireo/room-1/musicMute");
  EXPECT_EQ(mute["command_topic"], "vireo/room-1/musicMute/set");
  EXPECT_EQ(config("switch", "outputEqBypass8")["name"], "Output 8 EQ bypass");

  const Json mode = config("select", "mode");
  EXPECT_EQ(mode["options"],
            (Json{"\u7535\u5f71", "K\u6b4c", "\u6e38\u620f", "AV"}));  // the emulator's names
  EXPECT_EQ(mode["command_topic"], "vireo/room-1/mode/set");

  const Json dimmer = config("light", "plug3");
  EXPECT_EQ(dimmer["name"], "Dimmer");
  EXPECT_EQ(dimmer["schema"], "json");
  EXPECT_EQ(dimmer["brightness"], true);
  EXPECT_EQ(dimmer["brightness_scale"], 99);
  EXPECT_EQ(dimmer["command_topic"], "vireo/room-1/plug3/set");
  EXPECT_EQ(config("switch", "plug2")["name"], "Lamp");

  const Json scene = config("button", "scene6");
  EXPECT_EQ(scene["payload_press"], "PRESS");
  EXPECT_FALSE(scene.contains("state_topic"));
  const Json link = config("binary_sensor", "connected");
  EXPECT_EQ(link["device_class"], "connectivity");
  EXPECT_FALSE(link.contains("command_topic"));
}

TEST_F(MqttBridgeTest, ACommandReachesTheMachineAsItsBytes) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/room-1/#"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/availability", "online"));  // subscribed to commands before this
  const auto before = ha.WaitFor("vireo/room-1/musicVolume");
  ASSERT_TRUE(before);
  ASSERT_NE(before->payload, "42");
  b.rig().ClearSent();
  ha.Publish("vireo/room-1/musicVolume/set", "42");
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/musicVolume", "42"));
  EXPECT_EQ(b.rig().Sent(), std::vector<Wire>{MusicVolume42()});
}

TEST_F(MqttBridgeTest, AnEditOnTheHostReachesItsStateTopic) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/room-1/#"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/micMute", "OFF"));
  ApplyOnHost(b.rig(), "musicVolume", 33);
  ApplyOnHost(b.rig(), "micMute", 1);
  EXPECT_TRUE(ha.WaitFor("vireo/room-1/musicVolume", "33"));
  EXPECT_TRUE(ha.WaitFor("vireo/room-1/micMute", "ON"));
}

TEST_F(MqttBridgeTest, AClientThatSubscribesLaterGetsTheRetainedState) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  {
    MqttClient first(port(), "first");
    ASSERT_TRUE(first.Subscribe("vireo/room-1/musicVolume"));
    ApplyOnHost(b.rig(), "musicVolume", 57);
    ASSERT_TRUE(first.WaitFor("vireo/room-1/musicVolume", "57"));
  }
  MqttClient later(port(), "later");
  ASSERT_TRUE(later.Subscribe("vireo/room-1/musicVolume"));
  const auto m = later.WaitFor("vireo/room-1/musicVolume");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->payload, "57");
  EXPECT_TRUE(m->retained);
}

TEST_F(MqttBridgeTest, BadPayloadsAreRefusedWithALogLineAndNeverSent) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/room-1/availability"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/availability", "online"));
  b.rig().ClearSent();
  const struct {
    const char* object;
    const char* payload;
    const char* why;
  } cases[] = {
      {"musicVolume", "100", "between 0 and 99"},
      {"musicVolume", "abc", "must be a number"},
      {"musicVolume", "41.5", "whole numbers"},
      {"musicMute", "maybe", "must be a number"},
      {"plug2", "on", "0 to 99, or 255"},
      {"plug3", R"({"state":"ON","brightness":100})", "0 to 99"},
      {"mode", "Jazz", "1 to 4"},
      {"input", "vga", "input must be one of"},
      {"ab", "B", "A/B takes ON"},
      {"scene1", "GO", "takes PRESS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.object) + " " + c.payload);
    const std::string topic = std::string("vireo/room-1/") + c.object + "/set";
    ha.Publish(topic, c.payload);
    const std::string line = b.WaitForLine(std::string("'") + c.payload + "' on " + topic);
    EXPECT_NE(line.find(c.why), std::string::npos) << line;
  }
  EXPECT_TRUE(b.rig().Sent().empty());
}

TEST_F(MqttBridgeTest, TwoMachinesShareOneBrokerWithoutCrosstalk) {
  BridgeRig a(port(), "room-a");
  BridgeRig b(port(), "room-b");
  ASSERT_EQ(a.problem(), "");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/#"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-a/availability", "online"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-b/availability", "online"));
  a.rig().ClearSent();
  b.rig().ClearSent();
  // Each command reaches its own machine only: one report each, however the commands interleave.
  ha.Publish("vireo/room-a/musicVolume/set", "42");
  ASSERT_TRUE(ha.WaitFor("vireo/room-a/musicVolume", "42"));
  ha.Publish("vireo/room-b/musicVolume/set", "42");
  ASSERT_TRUE(ha.WaitFor("vireo/room-b/musicVolume", "42"));
  EXPECT_EQ(a.rig().Sent(), std::vector<Wire>{MusicVolume42()});
  EXPECT_EQ(b.rig().Sent(), std::vector<Wire>{MusicVolume42()});

  // An edit of one machine shows on its topic alone.
  ApplyOnHost(b.rig(), "echoVolume", 7);
  ASSERT_TRUE(ha.WaitFor("vireo/room-b/echoVolume", "7"));
  for (const MqttMessage& m : ha.messages())
    EXPECT_FALSE(m.topic == "vireo/room-a/echoVolume" && m.payload == "7");
}

TEST_F(MqttBridgeTest, ACleanStopRemovesTheEntitiesAndSaysOffline) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("homeassistant/#"));
  ASSERT_TRUE(ha.Subscribe("vireo/room-1/availability"));
  ASSERT_TRUE(ha.WaitFor("homeassistant/binary_sensor/room-1/connected/config"));
  b.bridge().Stop();
  EXPECT_EQ(b.bridge().status().state, MqttState::stopped);
  // The broker has taken the goodbye once it passes on its last message.
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/availability", "offline"));
  EXPECT_TRUE(ha.WaitFor("homeassistant/binary_sensor/room-1/connected/config", ""));
  // Retained messages come right after each subscription's acknowledgement, in order: once the
  // availability has come, every retained config would have come before it.
  MqttClient later(port(), "later");
  ASSERT_TRUE(later.Subscribe("homeassistant/#"));
  ASSERT_TRUE(later.Subscribe("vireo/room-1/availability"));
  const auto availability = later.WaitFor("vireo/room-1/availability");
  ASSERT_TRUE(availability);
  EXPECT_EQ(availability->payload, "offline");
  for (const MqttMessage& m : later.messages())
    EXPECT_EQ(m.topic.find("homeassistant/"), std::string::npos) << m.topic;
}

TEST_F(MqttBridgeTest, ABrokerThatGoesAwayNeitherHoldsUpTheHostNorLosesTheState) {
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  ASSERT_TRUE(b.WaitForState(MqttState::connected));
  broker_.Stop();
  ASSERT_TRUE(b.WaitForState(MqttState::reconnecting));
  EXPECT_NE(b.bridge().status().lastError, "");
  for (int volume : {21, 22, 23}) {
    EXPECT_LT(PostDelay(b.rig()), 250ms);
    ApplyOnHost(b.rig(), "musicVolume", volume);
  }
  // The broker forgot every retained message: what comes now the bridge published again.
  ASSERT_TRUE(broker_.Start(port()));
  const auto restarted = std::chrono::steady_clock::now();
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/room-1/#"));
  ASSERT_TRUE(ha.WaitFor("vireo/room-1/musicVolume", "23", 40s));
  EXPECT_LT(std::chrono::steady_clock::now() - restarted, 31s);  // the longest retry delay is 30 s
  EXPECT_TRUE(ha.WaitFor("vireo/room-1/availability", "online"));
  EXPECT_LT(PostDelay(b.rig()), 250ms);
}

TEST_F(MqttBridgeTest, ABridgeStartedBeforeItsBrokerConnectsWhenItComes) {
  broker_.Stop();
  BridgeRig b(port(), "room-1");
  ASSERT_EQ(b.problem(), "");
  // Nothing waits for the broker: not the caller (Start stops the running bridge and starts again)...
  const auto start = std::chrono::steady_clock::now();
  std::string problem;
  ASSERT_TRUE(b.bridge().Start(LocalBroker(port(), "room-1"), &problem));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 250ms);
  // ... nor the host.
  EXPECT_LT(PostDelay(b.rig()), 250ms);
  ASSERT_TRUE(broker_.Start(port()));
  EXPECT_TRUE(b.WaitForState(MqttState::connected, 40s));
}

TEST_F(MqttBridgeTest, WithoutAnIdTheMachineIsNamedAfterItsModelAndThisComputer) {
  BridgeRig b(port(), "");
  ASSERT_EQ(b.problem(), "");
  ASSERT_TRUE(b.WaitForState(MqttState::connected));
  const std::string id = b.bridge().status().machineId;
  EXPECT_EQ(id.rfind("calyx", 0), 0u) << id;
  MqttClient ha(port(), "ha");
  ASSERT_TRUE(ha.Subscribe("vireo/" + id + "/availability"));
  EXPECT_TRUE(ha.WaitFor("vireo/" + id + "/availability", "online"));
}

}  // namespace
}  // namespace vireo::remote::test
