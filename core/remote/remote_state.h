// The remote's model of the machine: one JSON state (identity, connection, mode, levels, input, A/B,
// scenes, plugs and every named field) and the changes between two states, by the names clients use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/parameter_store.h"
#include "remote/remote_host.h"

namespace vireo::remote {

using Json = nlohmann::json;

// The music inputs by their API names, in the music-source dialog's order.
inline constexpr std::string_view kInputNames[] = {"hdmi1", "hdmi2",     "hdmi3", "hdmi4",
                                                   "spdif", "bluetooth", "aux"};

// The JSON text of `json`, with any invalid UTF-8 (a name in a request, bytes from the machine) replaced
// by U+FFFD: writing never throws.
std::string JsonText(const Json& json);

// A float slot as a JSON number that prints as its shortest text (0.1f as 0.1, not 0.100000001).
Json FloatJson(float value);

// The current value of a named field element ("musicVolume", "chDelay[3]", "micBoostLevel"); null when
// there is no such field.
Json FieldValueJson(const ParameterStore& store, std::string_view name, int element);

// Every field element by name: {"micVolume": 40, "chDelay[0]": 0.5, ...}.
Json FieldsJson(const ParameterStore& store);

// The whole state, as GET /state answers it.
Json BuildState(const RemoteHost& host);

// The change messages that turn `before` into `after`: one per field whose value differs and one per
// other top-level member that differs ({"type":"change","name":..,"value":..}).
std::vector<Json> StateChanges(const Json& before, const Json& after);

}  // namespace vireo::remote
