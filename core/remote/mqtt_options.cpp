// Reading an MQTT broker's URL and naming the machine on the broker.
#include "remote/mqtt_options.h"

#include <charconv>

namespace vireo::remote {
namespace {

int HexDigit(char h) {
  if (h >= '0' && h <= '9') return h - '0';
  if (h >= 'a' && h <= 'f') return h - 'a' + 10;
  if (h >= 'A' && h <= 'F') return h - 'A' + 10;
  return -1;
}

// A password may need '@', ':' or '/' of its own.
bool PercentDecode(std::string_view text, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigit(text[i + 1]);
    const int lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

bool IsIdChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Lower case; every run of other characters becomes one '_'.
std::string IdPart(std::string_view text) {
  std::string part;
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (IsIdChar(c)) {
      part += c;
    } else if (part.empty() || part.back() != '_') {
      part += '_';
    }
  }
  const auto first = part.find_first_not_of("_-");
  if (first == std::string::npos) return {};
  return part.substr(first, part.find_last_not_of("_-") - first + 1);
}

}  // namespace

bool ParseMqttUrl(std::string_view url, MqttOptions* options, std::string* problem) {
  const auto schemeEnd = url.find("://");
  const std::string_view scheme =
      schemeEnd == std::string_view::npos ? std::string_view() : url.substr(0, schemeEnd);
  const bool tls = scheme == "mqtts";
  if (scheme != "mqtt" && !tls)
    return *problem = "an MQTT broker's address begins with mqtt:// or mqtts://", false;
  std::string_view rest = url.substr(schemeEnd + 3);
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  if (rest.find('/') != std::string_view::npos)
    return *problem = "an MQTT broker's address has no path", false;

  std::string user;
  std::string password;
  if (const auto at = rest.rfind('@'); at != std::string_view::npos) {
    const std::string_view info = rest.substr(0, at);
    const auto colon = info.find(':');
    if (!PercentDecode(info.substr(0, colon), &user) ||
        (colon != std::string_view::npos && !PercentDecode(info.substr(colon + 1), &password)))
      return *problem = "the user or password in the MQTT address has a malformed %-escape", false;
    if (user.empty()) return *problem = "the MQTT address has an '@' but no user before it", false;
    rest = rest.substr(at + 1);
  }

  std::string_view host = rest;
  std::string_view portText;
  bool hasPort = false;
  if (!rest.empty() && rest.front() == '[') {  // [v6] or [v6]:port
    const auto close = rest.find(']');
    if (close == std::string_view::npos)
      return *problem = "no closing ']' in the MQTT broker's address", false;
    host = rest.substr(1, close - 1);
    const std::string_view after = rest.substr(close + 1);
    if (!after.empty() && after.front() != ':')
      return *problem = "expected ':' after ']' in the MQTT broker's address", false;
    hasPort = !after.empty();
    if (hasPort) portText = after.substr(1);
  } else if (const auto colon = rest.rfind(':'); colon != std::string_view::npos) {
    host = rest.substr(0, colon);
    portText = rest.substr(colon + 1);
    hasPort = true;
  }
  if (host.empty()) return *problem = "the MQTT address names no broker", false;
  int port = tls ? kMqttsPort : kMqttPort;
  if (hasPort) {
    const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || ec != std::errc() || end != portText.data() + portText.size() || port < 1 ||
        port > 65535)
      return *problem = "the port of the MQTT broker is not 1..65535", false;
  }
  options->host = std::string(host);
  options->port = port;
  options->user = std::move(user);
  options->password = std::move(password);
  options->tls = tls;
  return true;
}

std::string MqttUrlText(const MqttOptions& options) {
  const bool v6 = options.host.find(':') != std::string::npos;
  std::string text = options.tls ? "mqtts://" : "mqtt://";
  if (!options.user.empty()) text += options.user + "@";
  text += v6 ? "[" + options.host + "]" : options.host;
  return text + ":" + std::to_string(options.port);
}

bool IsValidMachineId(std::string_view id) {
  if (id.empty() || id.size() > kMachineIdLimit) return false;
  for (char c : id)
    if (!IsIdChar(c)) return false;
  return true;
}

std::string DeriveMachineId(std::string_view modelName, std::string_view hostName) {
  std::string model = IdPart(modelName);
  if (model.empty()) model = "vireo";
  const std::string host = IdPart(hostName.substr(0, hostName.find('.')));
  std::string id = host.empty() ? model : model + "-" + host;
  if (id.size() > kMachineIdLimit) id.resize(kMachineIdLimit);
  return id;
}

std::string NumberedMachineId(std::string_view id, int number) {
  if (number <= 1) return std::string(id);
  // Appended rather than built with operator+ on a literal, which GCC 12 at -O3 misreads as an overlapping
  // copy (-Wrestrict).
  std::string suffix(1, '-');
  suffix += std::to_string(number);
  std::string numbered(id.substr(0, kMachineIdLimit - suffix.size()));
  numbered += suffix;
  return numbered;
}

}  // namespace vireo::remote
