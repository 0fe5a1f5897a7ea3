// The remote's commands: routing, validation and the call into the host.
#include "remote/remote_api.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "model/slot_fields.h"
#include "smarthome/smart_home_memory.h"
#include "tuning/curve_export.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/feature_ops.h"
#include "tuning/music_source_ops.h"

namespace vireo::remote {
namespace {

constexpr const char* kNotConnected = "the machine is not connected";

// A field element a remote may address, with the range its control allows.
struct FieldRef {
  std::string name;  // without the index
  int element = 0;
  bool indexed = false;
  bool isFloat = false;
  double lo = 0;
  double hi = 0;
  std::string Display() const { return indexed ? name + "[" + std::to_string(element) + "]" : name; }
};

// The ranges of the two edits without a slot of their own.
std::optional<FieldRef> PseudoField(const std::string& name) {
  if (name == "micBoostLevel") return FieldRef{name, 0, false, true, -40, 0};
  if (name == "musicLowFrequency") return FieldRef{name, 0, false, false, 20, 300};
  return std::nullopt;
}

// "NAME" or "NAME[i]" to a field; a 404 or 400 response when there is none.
std::optional<FieldRef> ResolveField(const std::string& text, ApiResponse* refusal) {
  std::string name = text;
  int element = 0;
  bool indexed = false;
  if (const auto open = text.find('['); open != std::string::npos) {
    const std::string_view digits = std::string_view(text).substr(open + 1, text.size() - open - 2);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), element);
    if (text.back() != ']' || digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      *refusal = ErrorResponse(404, "no field named '" + text + "'");
      return std::nullopt;
    }
    name = text.substr(0, open);
    indexed = true;
  }
  if (const SlotField* field = FindSlotField(name)) {
    if (!indexed && field->count > 1) {
      *refusal = ErrorResponse(400, name + " needs an index: " + name + "[0.." +
                                        std::to_string(field->count - 1) + "]");
      return std::nullopt;
    }
    if (element < 0 || element >= field->count || (indexed && field->count == 1)) {
      *refusal = ErrorResponse(404, "no field named '" + text + "'");
      return std::nullopt;
    }
    return FieldRef{name, element, indexed, field->isFloat, field->lo, field->hi};
  }
  if (auto pseudo = PseudoField(name); pseudo && !indexed) return pseudo;
  *refusal = ErrorResponse(404, "no field named '" + text + "'");
  return std::nullopt;
}

Json FieldResult(RemoteHost& host, const FieldRef& field, const tuning::FieldSetResult& result) {
  Json also = Json::object();
  for (const std::string& other : result.alsoSet) {
    ApiResponse ignored;
    if (auto ref = ResolveField(other, &ignored))
      also[other] = FieldValueJson(host.store(), ref->name, ref->element);
  }
  Json notice = nullptr;
  if (result.notice == tuning::VolumeNotice::overMaximum) notice = "limited";
  if (result.notice == tuning::VolumeNotice::muted) notice = "muted";
  return {{"name", field.Display()},
          {"value", FieldValueJson(host.store(), field.name, field.element)},
          {"also", std::move(also)},
          {"notice", std::move(notice)}};
}

// A JSON number inside the field's range; whole for a field that holds whole numbers.
ApiResponse SetField(RemoteHost& host, const std::string& fieldText, const Json& value) {
  ApiResponse refusal;
  const std::optional<FieldRef> field = ResolveField(fieldText, &refusal);
  if (!field) return refusal;
  const std::string shown = field->Display();
  if (!value.is_number()) return ErrorResponse(400, "the value of " + shown + " must be a number");
  const double v = value.get<double>();
  if (!std::isfinite(v)) return ErrorResponse(400, "the value of " + shown + " must be a number");
  if (!field->isFloat && v != std::trunc(v))
    return ErrorResponse(400, shown + " takes whole numbers, not " + value.dump());
  if (v < field->lo || v > field->hi) {
    char range[96];
    std::snprintf(range, sizeof range, " must be between %g and %g, not ", field->lo, field->hi);
    return ErrorResponse(400, shown + range + value.dump());
  }
  if (!host.connected()) return ErrorResponse(409, kNotConnected);
  const tuning::FieldSetResult result = host.SetField({field->name, field->element, v});
  if (!result.ok) return ErrorResponse(400, result.reason);
  return {200, FieldResult(host, *field, result)};
}

ApiResponse GetField(RemoteHost& host, const std::string& fieldText) {
  ApiResponse refusal;
  const std::optional<FieldRef> field = ResolveField(fieldText, &refusal);
  if (!field) return refusal;
  return {200,
          {{"name", field->Display()},
           {"value", FieldValueJson(host.store(), field->name, field->element)},
           {"min", field->lo},
           {"max", field->hi}}};
}

Json FieldList() {
  Json list = Json::array();
  for (const SlotField& f : SlotFields()) {
    if (f.param == 0) continue;  // no machine address: nothing to set
    list.push_back({{"name", f.name}, {"count", f.count}, {"min", f.lo}, {"max", f.hi}, {"float", f.isFloat}});
  }
  for (const char* name : {"micBoostLevel", "musicLowFrequency"}) {
    const FieldRef f = *PseudoField(name);
    list.push_back({{"name", name}, {"count", 1}, {"min", f.lo}, {"max", f.hi}, {"float", f.isFloat}});
  }
  return list;
}

ApiResponse Outcome(const ActionResult& result, Json body) {
  if (result.status >= 400) return ErrorResponse(result.status, result.error);
  return {result.status, std::move(body)};
}

// An integer from a URL segment or a JSON member inside lo..hi.
std::optional<int> WholeIn(std::string_view text, int lo, int hi) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < lo || n > hi) return {};
  return n;
}
std::optional<int> WholeOf(const Json& value, int lo, int hi) {
  if (!value.is_number_integer()) {
    if (!value.is_number_float() || value.get<double>() != std::trunc(value.get<double>())) return {};
  }
  const double v = value.get<double>();
  if (v < lo || v > hi) return {};
  return static_cast<int>(v);
}

ApiResponse RecallMode(RemoteHost& host, std::optional<int> slot) {
  if (!slot) return ErrorResponse(404, "no mode slot: they are 1 to 4");
  if (!host.connected()) return ErrorResponse(409, kNotConnected);
  return Outcome(host.RecallMode(*slot - 1), {{"mode", *slot}});
}

ApiResponse SwitchAb(RemoteHost& host) {
  if (!host.connected()) return ErrorResponse(409, kNotConnected);
  const ActionResult result = host.SwitchAb();
  return Outcome(result, {{"ab", host.abLive() == AbSlot::a ? "A" : "B"}});
}

ApiResponse RunScene(RemoteHost& host, std::optional<int> scene) {
  if (!scene) return ErrorResponse(404, "no scene: they are 1 to 6");
  if (!host.connected()) return ErrorResponse(409, kNotConnected);
  return Outcome(host.RunScene(*scene - 1), {{"scene", *scene}});
}

ApiResponse SetPlug(RemoteHost& host, std::optional<int> node, const Json& value) {
  if (!node) return ErrorResponse(404, "no plug: nodes are 2 to 232");
  const std::optional<int> v = WholeOf(value, 0, 255);
  if (!v || (*v > 99 && *v != 255))
    return ErrorResponse(400, "a plug's value must be a whole number from 0 to 99, or 255");
  if (!host.connected()) return ErrorResponse(409, kNotConnected);
  return Outcome(host.SetPlug(*node, *v), {{"node", *node}, {"value", *v}});
}

ApiResponse SelectInput(RemoteHost& host, const Json& input) {
  int index = -1;
  for (int i = 0; i < static_cast<int>(std::size(kInputNames)); ++i)
    if (input.is_string() && input.get<std::string>() == kInputNames[i]) index = i;
  if (index < 0)
    return ErrorResponse(400, "input must be one of hdmi1, hdmi2, hdmi3, hdmi4, spdif, bluetooth, aux");
  // The dialog's radios: an HDMI row selects its port, the others the source.
  static constexpr int kSources[] = {0, 0, 0, 0, tuning::music_source::spdif, tuning::music_source::bluetooth,
                                     tuning::music_source::aux};
  const ApiResponse done = index < 4 ? SetField(host, "hdmiPort", index) : SetField(host, "musicSource", kSources[index]);
  if (done.status != 200) return done;
  return {200, {{"input", kInputNames[index]}}};
}

ApiResponse GetEq(RemoteHost& host, std::optional<int> id) {
  const tuning::EqIdentity* eq = id ? tuning::FindEqIdentity(*id) : nullptr;
  if (!eq) return ErrorResponse(404, "no equaliser: they are 0 to 14");
  Json bands = Json::array();
  for (int b = 0; b < tuning::AddressableBandCount(*eq); ++b) {
    const dsp::BandShape shape = tuning::ReadEqBand(host.store(), *id, b);
    bands.push_back({{"band", b},
                     {"type", shape.type},
                     {"gain", shape.gainDb},
                     {"frequency", shape.frequency},
                     {"q", shape.q}});
  }
  const tuning::EqCurve curve = tuning::EqCurveOf(host.store(), *id);
  Json frequency = Json::array();
  Json db = Json::array();
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    frequency.push_back(dsp::GridFrequencies()[i]);
    db.push_back(FloatJson(curve.total[i]));
  }
  return {200,
          {{"id", *id},
           {"bypass", tuning::EqBypass(host.store(), *id)},
           {"bands", std::move(bands)},
           {"curve", {{"frequency", std::move(frequency)}, {"db", std::move(db)}}}}};
}

std::vector<std::string> Segments(std::string_view path, bool* ok) {
  std::vector<std::string> segments;
  *ok = true;
  while (!path.empty()) {
    const auto end = path.find('/');
    std::string decoded;
    if (!DecodeSegment(path.substr(0, end), &decoded)) *ok = false;
    segments.push_back(std::move(decoded));
    if (end == std::string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return segments;
}

// The body's member `name`, or a 400 response.
std::optional<Json> BodyMember(const std::string& body, const char* name, ApiResponse* refusal) {
  const Json json = Json::parse(body, nullptr, false);
  if (json.is_discarded()) {
    *refusal = ErrorResponse(400, "the body is not valid JSON");
    return std::nullopt;
  }
  if (!json.is_object() || !json.contains(name)) {
    *refusal = ErrorResponse(400, std::string("the body must be a JSON object with \"") + name + "\"");
    return std::nullopt;
  }
  return json[name];
}

}  // namespace

ApiResponse ErrorResponse(int status, std::string message) {
  return {status, {{"error", std::move(message)}}};
}

bool DecodeSegment(std::string_view encoded, std::string* decoded) {
  decoded->clear();
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    char c = encoded[i];
    if (c == '%') {
      const auto hex = [](char h) {
        if (h >= '0' && h <= '9') return h - '0';
        if (h >= 'a' && h <= 'f') return h - 'a' + 10;
        if (h >= 'A' && h <= 'F') return h - 'A' + 10;
        return -1;
      };
      if (i + 2 >= encoded.size() || hex(encoded[i + 1]) < 0 || hex(encoded[i + 2]) < 0) return false;
      c = static_cast<char>(hex(encoded[i + 1]) * 16 + hex(encoded[i + 2]));
      i += 2;
    }
    if (c == '\0' || c == '/') return false;
    *decoded += c;
  }
  return true;
}

ApiResponse HandleApi(RemoteHost& host, const ApiRequest& request) {
  std::string_view path = request.path;
  if (path.substr(0, kApiPrefix.size()) != kApiPrefix) return ErrorResponse(404, "no such endpoint");
  path.remove_prefix(kApiPrefix.size());
  if (!path.empty() && path.front() == '/') path.remove_prefix(1);
  bool ok = true;
  const std::vector<std::string> s = Segments(path, &ok);
  if (!ok) return ErrorResponse(400, "the address has a malformed escape");
  const std::string& m = request.method;
  const auto is = [&](std::initializer_list<const char*> parts) {
    if (s.size() != parts.size()) return false;
    std::size_t i = 0;
    for (const char* p : parts) {
      if (*p != '*' && s[i] != p) return false;
      ++i;
    }
    return true;
  };
  const auto only = [&](const char* method, auto&& handler) -> ApiResponse {
    if (m != method) return ErrorResponse(405, std::string("this endpoint takes ") + method);
    return handler();
  };
  ApiResponse refusal;
  if (is({"state"})) return only("GET", [&] { return ApiResponse{200, BuildState(host)}; });
  if (is({"fields"})) return only("GET", [&] { return ApiResponse{200, FieldList()}; });
  if (is({"fields", "*"})) {
    if (m == "GET") return GetField(host, s[1]);
    if (m != "PUT") return ErrorResponse(405, "this endpoint takes GET or PUT");
    const auto value = BodyMember(request.body, "value", &refusal);
    return value ? SetField(host, s[1], *value) : refusal;
  }
  if (is({"input"})) {
    return only("PUT", [&] {
      const auto input = BodyMember(request.body, "input", &refusal);
      return input ? SelectInput(host, *input) : refusal;
    });
  }
  if (is({"mode", "*"})) return only("POST", [&] { return RecallMode(host, WholeIn(s[1], 1, kModeSlots)); });
  if (is({"ab"})) return only("POST", [&] { return SwitchAb(host); });
  if (is({"scene", "*", "run"}))
    return only("POST", [&] { return RunScene(host, WholeIn(s[1], 1, smarthome::kSceneCount)); });
  if (is({"plug", "*"})) {
    return only("PUT", [&] {
      const auto value = BodyMember(request.body, "value", &refusal);
      if (!value) return refusal;
      return SetPlug(host, WholeIn(s[1], smarthome::kFirstPlugNode, smarthome::kLastPlugNode), *value);
    });
  }
  if (is({"eq", "*"})) return only("GET", [&] { return GetEq(host, WholeIn(s[1], 0, tuning::kEqIdentityCount - 1)); });
  return ErrorResponse(404, "no such endpoint");
}

Json HandleSocketCommand(RemoteHost& host, std::string_view message) {
  const Json command = Json::parse(message, nullptr, false);
  Json id = nullptr;
  if (command.is_object() && command.contains("id")) id = command["id"];
  const auto member = [&](const char* name) { return command.value(name, Json()); };
  ApiResponse response;
  if (command.is_discarded()) {
    response = ErrorResponse(400, "the message is not valid JSON");
  } else if (!command.is_object() || !command.contains("type") || !command["type"].is_string()) {
    response = ErrorResponse(400, "a command is a JSON object with a \"type\"");
  } else {
    const std::string type = command["type"].get<std::string>();
    if (type == "set") {
      const Json name = member("name");
      response = name.is_string() ? SetField(host, name.get<std::string>(), member("value"))
                                  : ErrorResponse(400, "set needs a \"name\"");
    } else if (type == "input") {
      response = SelectInput(host, member("input"));
    } else if (type == "mode") {
      response = RecallMode(host, WholeOf(member("slot"), 1, kModeSlots));
    } else if (type == "ab") {
      response = SwitchAb(host);
    } else if (type == "scene") {
      response = RunScene(host, WholeOf(member("scene"), 1, smarthome::kSceneCount));
    } else if (type == "plug") {
      response = SetPlug(host, WholeOf(member("node"), smarthome::kFirstPlugNode, smarthome::kLastPlugNode),
                         member("value"));
    } else {
      response = ErrorResponse(400, "unknown command type '" + type + "'");
    }
  }
  if (response.status >= 400)
    return {{"type", "error"}, {"id", id}, {"status", response.status}, {"error", response.body["error"]}};
  return {{"type", "result"}, {"id", id}, {"result", std::move(response.body)}};
}

}  // namespace vireo::remote
