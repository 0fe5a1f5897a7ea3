// Building the remote's state from the store and the host, and the changes between two states.
#include "remote/remote_state.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/slot_fields.h"
#include "model/utf8_text.h"
#include "smarthome/smart_home_controller.h"
#include "tuning/feature_ops.h"
#include "tuning/input_controls.h"
#include "tuning/music_source_ops.h"

namespace vireo::remote {
namespace {

Json SlotJson(const ParameterStore& store, const SlotField& field, int element) {
  const int slot = field.SlotOf(element);
  return field.isFloat ? FloatJson(store.Float(slot)) : Json(store.Int(slot));
}

struct MasterLevel {
  const char* level;
  const char* mute;
};
// The ribbon's master levels, left to right.
constexpr MasterLevel kMasterLevels[] = {{"micVolume", "micMute"},
                                         {"effectVolume", nullptr},
                                         {"reverbVolume", "reverbMute"},
                                         {"echoVolume", "echoMute"},
                                         {"musicVolume", "musicMute"}};

Json MasterJson() {
  Json list = Json::array();
  for (const MasterLevel& m : kMasterLevels) {
    const SlotField* field = FindSlotField(m.level);
    list.push_back({{"name", m.level},
                    {"mute", m.mute ? Json(m.mute) : Json()},
                    {"min", field->lo},
                    {"max", field->hi}});
  }
  return list;
}

Json InputJson(const ParameterStore& store) {
  tuning::MusicInput input{};
  if (!tuning::SelectedMusicInput(store, &input)) return nullptr;
  return kInputNames[static_cast<int>(input)];
}

Json ScenesJson(const smarthome::SmartHomeController* home) {
  Json list = Json::array();
  for (int s = 0; s < smarthome::kSceneCount; ++s) {
    const std::size_t steps = home ? home->memory().scene(s).size() : 0;
    list.push_back({{"scene", s + 1}, {"steps", steps}});
  }
  return list;
}

Json PlugsJson(const smarthome::SmartHomeController* home) {
  Json list = Json::array();
  if (!home) return list;
  for (int node : home->presentPlugs()) {
    const smarthome::PlugRecord record = home->memory().plug(node);
    list.push_back(
        {{"node", node}, {"name", Utf8(record.name)}, {"type", record.type}, {"value", home->value(node)}});
  }
  return list;
}

}  // namespace

std::string JsonText(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json FloatJson(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  // The shortest of %.6g .. %.9g that reads back as the same float.
  for (int digits = 6; digits < 9; ++digits) {
    char shorter[32];
    std::snprintf(shorter, sizeof shorter, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(shorter, nullptr) == value) {
      std::snprintf(text, sizeof text, "%s", shorter);
      break;
    }
  }
  const double shortest = std::strtod(text, nullptr);
  return std::isfinite(shortest) ? Json(shortest) : Json();
}

Json FieldValueJson(const ParameterStore& store, std::string_view name, int element) {
  if (const SlotField* field = FindSlotField(name)) {
    if (element < 0 || element >= field->count) return nullptr;
    return SlotJson(store, *field, element);
  }
  double value = 0;
  if (element == 0 && tuning::ReadPseudoField(store, name, &value)) return value;
  return nullptr;
}

Json FieldsJson(const ParameterStore& store) {
  Json fields = Json::object();
  for (const SlotField& field : SlotFields()) {
    if (field.count == 1) {
      fields[std::string(field.name)] = SlotJson(store, field, 0);
      continue;
    }
    for (int i = 0; i < field.count; ++i)
      fields[std::string(field.name) + "[" + std::to_string(i) + "]"] = SlotJson(store, field, i);
  }
  for (const char* pseudo : {"micBoostLevel", "musicLowFrequency"}) fields[pseudo] = FieldValueJson(store, pseudo, 0);
  return fields;
}

Json BuildState(const RemoteHost& host) {
  const ParameterStore& s = host.store();
  Json names = Json::array();
  for (int i = 0; i < kModeSlots; ++i) names.push_back(Utf8(s.modeName(i)));
  return {{"identity",
           {{"model", Utf8(s.modelName())},
            {"kind", s.deviceKind()},
            {"firmwareDate", Utf8(s.firmwareDate())},
            {"secondDate", Utf8(s.secondDate())}}},
          {"connected", host.connected()},
          {"syncing", host.syncing()},
          {"mode", s.currentMode() + 1},
          {"modeNames", std::move(names)},
          {"master", MasterJson()},
          {"input", InputJson(s)},
          {"ab", host.abLive() == AbSlot::a ? "A" : "B"},
          {"scenes", ScenesJson(host.smartHome())},
          {"plugs", PlugsJson(host.smartHome())},
          {"fields", FieldsJson(s)}};
}

std::vector<Json> StateChanges(const Json& before, const Json& after) {
  std::vector<Json> changes;
  const auto change = [&](const std::string& name, const Json& value) {
    changes.push_back({{"type", "change"}, {"name", name}, {"value", value}});
  };
  for (const auto& [key, value] : after.items()) {
    if (key == "fields") continue;
    if (!before.contains(key) || before[key] != value) change(key, value);
  }
  const Json& was = before.contains("fields") ? before["fields"] : Json::object();
  if (!after.contains("fields")) return changes;
  for (const auto& [name, value] : after["fields"].items()) {
    const auto old = was.find(name);
    if (old == was.end() || *old != value) change(name, value);
  }
  return changes;
}

}  // namespace vireo::remote
