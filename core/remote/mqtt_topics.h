// The machine as Home Assistant entities over MQTT: the topics under vireo/<machine-id>/, the retained
// discovery configs and states built from the remote's state, and each command payload turned into
// the remote's command. Pure: no broker, so tests check every message as text.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "remote/remote_state.h"

namespace vireo::remote {

enum class MqttComponent { number, switchEntity, select, button, light, binarySensor };

// Which part of the state an entity shows and drives.
enum class MqttSource { field, mode, input, ab, scene, plug, connected };

struct MqttEntity {
  MqttComponent component;
  MqttSource source;
  std::string object;  // its topic level and object id: "musicVolume", "outputEqBypass3", "plug3"
  std::string name;    // as Home Assistant shows it
  std::string field;   // for a field: its API name ("chEqBypass[2]")
  int number = 0;      // the scene 1..6 or the plug's node
  Json extra;          // the component's own members of the discovery config
};

// Home Assistant's name of the component ("switch", "binary_sensor", ...).
std::string_view ComponentName(MqttComponent component);

std::string AvailabilityTopic(std::string_view machineId);
std::string StateTopic(std::string_view machineId, std::string_view object);
std::string CommandTopic(std::string_view machineId, std::string_view object);
// The one subscription that takes every command of the machine.
std::string CommandSubscription(std::string_view machineId);
std::string DiscoveryTopic(MqttComponent component, std::string_view machineId, std::string_view object);
// The object of "vireo/<machineId>/<object>/set"; empty for any other topic.
std::string CommandObject(std::string_view machineId, std::string_view topic);

inline constexpr std::string_view kOnline = "online";
inline constexpr std::string_view kOffline = "offline";

// The mode select's options: the four mode names, made unique and never empty ("Mode 2", "Pop (3)"),
// because Home Assistant tells options apart by their text. Option i is slot i + 1.
std::vector<std::string> ModeOptions(const Json& modeNames);

// Every entity of a state: master levels and mutes, EQ bypasses, mode, input, A/B, scenes, the present
// switch and knob plugs, and the connection.
std::vector<MqttEntity> MqttEntities(const Json& state);

// Topic -> payload, all retained.
using MqttMessages = std::map<std::string, std::string>;
MqttMessages DiscoveryMessages(std::string_view machineId, const Json& state);
MqttMessages StateMessages(std::string_view machineId, const Json& state);
// What to publish to go from `sent` to `now`: each message that is new or changed (all of `now` when
// `everything`), and an empty payload for each topic that is gone, which clears its retained message.
MqttMessages MessagesToPublish(const MqttMessages& sent, const MqttMessages& now, bool everything);

// What a payload on an entity's command topic asks for.
struct MqttCommand {
  enum class Kind { send, nothing, refuse };
  Kind kind = Kind::refuse;
  Json command;     // for send: a command of HandleSocketCommand, which checks its values
  std::string why;  // for refuse
};
MqttCommand TranslateCommand(const Json& state, std::string_view object, std::string_view payload);

}  // namespace vireo::remote
