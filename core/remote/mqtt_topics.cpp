// Entities, topics, discovery configs, states and commands of the MQTT bridge.
#include "remote/mqtt_topics.h"

#include <algorithm>

#include "smarthome/smart_home_memory.h"
#include "tuning/eq_identity.h"

namespace vireo::remote {
namespace {

constexpr std::string_view kTopicRoot = "vireo/";
constexpr std::string_view kOn = "ON";
constexpr std::string_view kOff = "OFF";

const char* const kLevelNames[][2] = {{"micVolume", "Microphone"},
                                      {"effectVolume", "Effect"},
                                      {"reverbVolume", "Reverb"},
                                      {"echoVolume", "Echo"},
                                      {"musicVolume", "Music"}};

std::string LevelLabel(const std::string& field) {
  for (const auto& [name, label] : kLevelNames)
    if (field == name) return label;
  return field;
}

// "micEqBypassA" -> "Microphone EQ A bypass"; the output channels count from 1 as on the machine.
std::string BypassLabel(const tuning::EqIdentity& eq) {
  std::string_view f = eq.bypassField;
  if (eq.kind == tuning::EqKind::output)
    return "Output " + std::to_string(eq.bypassElement + 1) + " EQ bypass";
  std::string label = f.starts_with("mic")      ? "Microphone EQ"
                      : f.starts_with("reverb") ? "Reverb EQ"
                      : f.starts_with("echo")   ? "Echo EQ"
                                                : "Music EQ";
  if (f.ends_with("A") || f.ends_with("B")) label += std::string(" ") + f.back();
  return label + " bypass";
}

MqttEntity Switch(MqttSource source, std::string object, std::string name, std::string field = {},
                  int number = 0) {
  return {MqttComponent::switchEntity,
          source,
          std::move(object),
          std::move(name),
          std::move(field),
          number,
          Json::object()};
}

void AddLevels(const Json& state, std::vector<MqttEntity>& out) {
  const Json master = state.value("master", Json::array());
  for (const Json& level : master) {
    const std::string name = level.value("name", "");
    out.push_back(
        {MqttComponent::number,
         MqttSource::field,
         name,
         LevelLabel(name) + " volume",
         name,
         0,
         {{"min", level.value("min", 0)}, {"max", level.value("max", 99)}, {"step", 1}, {"mode", "slider"}}});
  }
  for (const Json& level : master) {
    if (!level.contains("mute") || !level["mute"].is_string()) continue;
    const std::string mute = level["mute"].get<std::string>();
    out.push_back(Switch(MqttSource::field, mute, LevelLabel(level.value("name", "")) + " mute", mute));
  }
}

void AddBypasses(std::vector<MqttEntity>& out) {
  for (const tuning::EqIdentity& eq : tuning::EqIdentities()) {
    const bool output = eq.kind == tuning::EqKind::output;
    const std::string field(eq.bypassField);
    MqttEntity e =
        Switch(MqttSource::field, output ? "outputEqBypass" + std::to_string(eq.bypassElement + 1) : field,
               BypassLabel(eq), output ? field + "[" + std::to_string(eq.bypassElement) + "]" : field);
    e.extra["entity_category"] = "config";
    out.push_back(std::move(e));
  }
}

void AddPlugs(const Json& state, std::vector<MqttEntity>& out) {
  for (const Json& plug : state.value("plugs", Json::array())) {
    const int node = plug.value("node", 0);
    const int type = plug.value("type", 0);
    std::string name = plug.value("name", "");
    if (name.empty()) name = "Plug " + std::to_string(node);
    const std::string object = "plug" + std::to_string(node);
    if (type == static_cast<int>(smarthome::PlugType::switchPlug)) {
      out.push_back(Switch(MqttSource::plug, object, name, {}, node));
    } else if (type == static_cast<int>(smarthome::PlugType::knobPlug)) {
      out.push_back({MqttComponent::light,
                     MqttSource::plug,
                     object,
                     name,
                     {},
                     node,
                     {{"schema", "json"},
                      {"brightness", true},
                      {"brightness_scale", smarthome::kValueOn},
                      {"supported_color_modes", {"brightness"}}}});
    }
  }
}

Json Device(std::string_view machineId, const Json& state) {
  const std::string id(machineId);
  Json device = {{"identifiers", {"vireo_" + id}}, {"name", "Vireo " + id}, {"manufacturer", "Vireo"}};
  const Json identity = state.value("identity", Json::object());
  // An unknown identity (no machine yet) is left out rather than shown as an empty text.
  for (const auto& [member, key] : {std::pair{"model", "model"}, std::pair{"firmwareDate", "sw_version"},
                                    std::pair{"secondDate", "hw_version"}}) {
    const std::string text = identity.value(member, "");
    if (!text.empty()) device[key] = text;
  }
  return device;
}

const MqttEntity* FindEntity(const std::vector<MqttEntity>& entities, std::string_view object) {
  const auto it =
      std::find_if(entities.begin(), entities.end(), [&](const MqttEntity& e) { return e.object == object; });
  return it == entities.end() ? nullptr : &*it;
}

// The payload as a JSON value for HandleSocketCommand to judge: a number stays a number, anything that
// is not JSON goes on as a string (and is refused there as "not a number").
Json PayloadValue(std::string_view payload) {
  Json value = Json::parse(payload, nullptr, false);
  if (value.is_discarded()) return std::string(payload);
  return value;
}

// ON and OFF as `on` and `off`; any other payload goes on as it came, for HandleSocketCommand to refuse.
Json OnOffValue(std::string_view payload, int on, int off) {
  if (payload == kOn) return on;
  if (payload == kOff) return off;
  return std::string(payload);
}

MqttCommand Send(Json command) {
  return {MqttCommand::Kind::send, std::move(command), {}};
}
MqttCommand Refuse(std::string why) {
  return {MqttCommand::Kind::refuse, nullptr, std::move(why)};
}

MqttCommand LightCommand(int node, std::string_view payload) {
  const Json light = Json::parse(payload, nullptr, false);
  if (!light.is_object() || !light.contains("state") || !light["state"].is_string())
    return Refuse("a light takes JSON with \"state\": \"ON\" or \"OFF\"");
  const std::string onOff = light["state"].get<std::string>();
  Json value = OnOffValue(onOff, smarthome::kValueOn, smarthome::kValueOff);
  if (onOff == kOn && light.contains("brightness")) value = light["brightness"];
  return Send({{"type", "plug"}, {"node", node}, {"value", value}});
}

std::string StatePayload(const MqttEntity& e, const Json& state, bool* has) {
  *has = true;
  const auto onOff = [](bool on) { return std::string(on ? kOn : kOff); };
  switch (e.source) {
    case MqttSource::field: {
      const Json fields = state.value("fields", Json::object());
      const auto value = fields.find(e.field);
      if (value == fields.end() || !value->is_number()) break;
      return e.component == MqttComponent::number ? JsonText(*value) : onOff(value->get<double>() != 0);
    }
    case MqttSource::mode: {
      const std::vector<std::string> options = ModeOptions(state.value("modeNames", Json::array()));
      const int mode = state.value("mode", 0);
      if (mode < 1 || mode > static_cast<int>(options.size())) break;
      return options[static_cast<std::size_t>(mode - 1)];
    }
    case MqttSource::input:
      if (!state.contains("input") || !state["input"].is_string()) break;
      return state["input"].get<std::string>();
    case MqttSource::ab:
      return onOff(state.value("ab", "A") == "B");
    case MqttSource::scene:
      break;
    case MqttSource::plug:
      for (const Json& plug : state.value("plugs", Json::array())) {
        if (plug.value("node", 0) != e.number) continue;
        const int value = plug.value("value", 0);
        if (e.component != MqttComponent::light) return onOff(value != 0);
        Json light = {{"state", onOff(value != 0)}};
        if (value != 0) light["brightness"] = std::min(value, static_cast<int>(smarthome::kValueOn));
        return JsonText(light);
      }
      break;
    case MqttSource::connected:
      return onOff(state.value("connected", false));
  }
  *has = false;
  return {};
}

}  // namespace

std::string_view ComponentName(MqttComponent component) {
  switch (component) {
    case MqttComponent::number:
      return "number";
    case MqttComponent::switchEntity:
      return "switch";
    case MqttComponent::select:
      return "select";
    case MqttComponent::button:
      return "button";
    case MqttComponent::light:
      return "light";
    case MqttComponent::binarySensor:
      return "binary_sensor";
  }
  return "sensor";
}

std::string AvailabilityTopic(std::string_view machineId) {
  return std::string(kTopicRoot) + std::string(machineId) + "/availability";
}

std::string StateTopic(std::string_view machineId, std::string_view object) {
  return std::string(kTopicRoot) + std::string(machineId) + "/" + std::string(object);
}

std::string CommandTopic(std::string_view machineId, std::string_view object) {
  return StateTopic(machineId, object) + "/set";
}

std::string CommandSubscription(std::string_view machineId) {
  return CommandTopic(machineId, "+");
}

std::string DiscoveryTopic(MqttComponent component, std::string_view machineId, std::string_view object) {
  return "homeassistant/" + std::string(ComponentName(component)) + "/" + std::string(machineId) + "/" +
         std::string(object) + "/config";
}

std::string CommandObject(std::string_view machineId, std::string_view topic) {
  const std::string prefix = StateTopic(machineId, "");
  constexpr std::string_view suffix = "/set";
  if (!topic.starts_with(prefix) || !topic.ends_with(suffix) || topic.size() <= prefix.size() + suffix.size())
    return {};
  const std::string_view object = topic.substr(prefix.size(), topic.size() - prefix.size() - suffix.size());
  return object.find('/') == std::string_view::npos ? std::string(object) : std::string();
}

std::vector<std::string> ModeOptions(const Json& modeNames) {
  std::vector<std::string> options;
  for (int slot = 1; slot <= kModeSlots; ++slot) {
    const std::size_t i = static_cast<std::size_t>(slot - 1);
    std::string name = modeNames.is_array() && i < modeNames.size() && modeNames[i].is_string()
                           ? modeNames[i].get<std::string>()
                           : std::string();
    if (name.empty()) name = "Mode " + std::to_string(slot);
    if (std::find(options.begin(), options.end(), name) != options.end())
      name += " (" + std::to_string(slot) + ")";
    options.push_back(std::move(name));
  }
  return options;
}

std::vector<MqttEntity> MqttEntities(const Json& state) {
  std::vector<MqttEntity> entities;
  AddLevels(state, entities);
  AddBypasses(entities);
  entities.push_back({MqttComponent::select,
                      MqttSource::mode,
                      "mode",
                      "Mode",
                      {},
                      0,
                      {{"options", ModeOptions(state.value("modeNames", Json::array()))}}});
  Json inputs = Json::array();
  for (std::string_view input : kInputNames) inputs.push_back(input);
  entities.push_back(
      {MqttComponent::select, MqttSource::input, "input", "Music input", {}, 0, {{"options", inputs}}});
  entities.push_back(Switch(MqttSource::ab, "ab", "A/B: tuning B live"));
  for (int scene = 1; scene <= smarthome::kSceneCount; ++scene) {
    entities.push_back({MqttComponent::button,
                        MqttSource::scene,
                        "scene" + std::to_string(scene),
                        "Scene " + std::to_string(scene),
                        {},
                        scene,
                        {{"payload_press", "PRESS"}}});
  }
  AddPlugs(state, entities);
  entities.push_back({MqttComponent::binarySensor,
                      MqttSource::connected,
                      "connected",
                      "Machine connected",
                      {},
                      0,
                      {{"device_class", "connectivity"}, {"entity_category", "diagnostic"}}});
  return entities;
}

MqttMessages DiscoveryMessages(std::string_view machineId, const Json& state) {
  MqttMessages messages;
  const Json device = Device(machineId, state);
  for (const MqttEntity& e : MqttEntities(state)) {
    Json config = e.extra;
    config["name"] = e.name;
    config["unique_id"] = "vireo_" + std::string(machineId) + "_" + e.object;
    if (e.component != MqttComponent::button) config["state_topic"] = StateTopic(machineId, e.object);
    if (e.component != MqttComponent::binarySensor)
      config["command_topic"] = CommandTopic(machineId, e.object);
    config["availability_topic"] = AvailabilityTopic(machineId);
    config["device"] = device;
    messages[DiscoveryTopic(e.component, machineId, e.object)] = JsonText(config);
  }
  return messages;
}

MqttMessages StateMessages(std::string_view machineId, const Json& state) {
  MqttMessages messages;
  for (const MqttEntity& e : MqttEntities(state)) {
    bool has = false;
    std::string payload = StatePayload(e, state, &has);
    if (has) messages[StateTopic(machineId, e.object)] = std::move(payload);
  }
  return messages;
}

MqttMessages MessagesToPublish(const MqttMessages& sent, const MqttMessages& now, bool everything) {
  MqttMessages out;
  for (const auto& [topic, payload] : sent)
    if (!now.count(topic)) out[topic] = std::string();
  for (const auto& [topic, payload] : now) {
    const auto old = sent.find(topic);
    if (everything || old == sent.end() || old->second != payload) out[topic] = payload;
  }
  return out;
}

MqttCommand TranslateCommand(const Json& state, std::string_view object, std::string_view payload) {
  const std::vector<MqttEntity> entities = MqttEntities(state);
  const MqttEntity* e = FindEntity(entities, object);
  if (!e) return Refuse("no entity named '" + std::string(object) + "'");
  switch (e->source) {
    case MqttSource::field: {
      const Json value =
          e->component == MqttComponent::number ? PayloadValue(payload) : OnOffValue(payload, 1, 0);
      return Send({{"type", "set"}, {"name", e->field}, {"value", value}});
    }
    case MqttSource::mode: {
      const std::vector<std::string> options = ModeOptions(state.value("modeNames", Json::array()));
      const auto it = std::find(options.begin(), options.end(), payload);
      const Json slot = it == options.end() ? Json(std::string(payload)) : Json(it - options.begin() + 1);
      return Send({{"type", "mode"}, {"slot", slot}});
    }
    case MqttSource::input:
      return Send({{"type", "input"}, {"input", std::string(payload)}});
    case MqttSource::ab: {
      if (payload != kOn && payload != kOff) return Refuse("A/B takes ON (tuning B) or OFF (tuning A)");
      const bool bLive = state.value("ab", "A") == "B";
      if ((payload == kOn) == bLive) return {MqttCommand::Kind::nothing, nullptr, {}};
      return Send({{"type", "ab"}});
    }
    case MqttSource::scene:
      if (payload != "PRESS") return Refuse("a scene button takes PRESS");
      return Send({{"type", "scene"}, {"scene", e->number}});
    case MqttSource::plug:
      if (e->component == MqttComponent::light) return LightCommand(e->number, payload);
      return Send({{"type", "plug"},
                   {"node", e->number},
                   {"value", OnOffValue(payload, smarthome::kValueOn, smarthome::kValueOff)}});
    case MqttSource::connected:
      break;
  }
  return Refuse(e->name + " cannot be set");
}

}  // namespace vireo::remote
