// Where the MQTT bridge connects and under which name: the broker's address from an mqtt:// URL, TLS,
// and the machine id that keeps several rooms apart on one broker.
#pragma once

#include <string>
#include <string_view>

namespace vireo::remote {

inline constexpr int kMqttPort = 1883;
inline constexpr int kMqttsPort = 8883;
inline constexpr std::size_t kMachineIdLimit = 64;

struct MqttOptions {
  std::string host;
  int port = kMqttPort;
  std::string user;       // empty: none
  std::string password;   // only with a user
  bool tls = false;       // mqtts://: TLS with the system's certificate authorities
  std::string caFile;     // TLS with this authority instead (whatever the scheme)
  std::string machineId;  // empty: derived from the machine's model name and this computer's name
  // The Nth machine of one host (vireod with several attached): from 2 on, its id, given or derived,
  // ends in "-N", so machines of one model on one computer never share topics.
  int machineNumber = 1;
};

// "mqtt://[USER[:PASS]@]HOST[:PORT]" or "mqtts://..." (port 8883 by default); the user and password
// may hold %XX escapes. Sets host, port, user, password and tls, leaving caFile and machineId alone.
// False with one line that never repeats the password.
bool ParseMqttUrl(std::string_view url, MqttOptions* options, std::string* problem);

// The broker's address for logs and windows: the user but never the password.
std::string MqttUrlText(const MqttOptions& options);

// 1..64 characters of a-z, 0-9, '-' and '_': safe in a topic and in a Home Assistant object id.
bool IsValidMachineId(std::string_view id);

// "calyx-room-3" from the model "Calyx" and the host "Room-3.local": lower case, anything else than
// a-z, 0-9, '-' and '_' becomes one '_', the host's domain dropped.
std::string DeriveMachineId(std::string_view modelName, std::string_view hostName);

// `id` for the first machine of a host, "id-N" for the Nth (id shortened to keep within 64 characters).
std::string NumberedMachineId(std::string_view id, int number);

}  // namespace vireo::remote
