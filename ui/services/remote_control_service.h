// What the "Remote control" window uses of the application's remote-control server (switching it on and
// off, where it listens, its token, who is connected) and of its MQTT bridge to home automation. The
// application implements it over the Qt-free server and bridge, so the window needs neither their headers
// nor the main window's.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// An address the server listens on, as bound (a port 0 replaced by the one the system chose).
struct RemoteEndpoint {
  QString host;  // "127.0.0.1", "0.0.0.0", "::1", "::"
  int port = 0;
  bool operator==(const RemoteEndpoint&) const = default;
};

struct RemoteClientEntry {
  QString address;  // "192.168.1.20:51544"
  QDateTime since;
};

// Where the MQTT bridge connects, as the window edits it.
struct MqttLinkSettings {
  QString host;
  int port = 1883;
  QString user;      // empty: none
  QString password;  // only with a user; kept in a file of the user's alone, not in the settings
  bool tls = false;
  QString caFile;     // empty: the system's certificate authorities (with TLS)
  QString machineId;  // empty: derived from the machine's model and this computer's name
  bool operator==(const MqttLinkSettings&) const = default;
};

enum class MqttLinkState { off, naming, connecting, connected, reconnecting };

struct MqttLinkStatus {
  MqttLinkState state = MqttLinkState::off;
  QString broker;     // mqtt://user@host:port, never the password
  QString machineId;  // once known
  QString lastError;  // why the last connection failed; empty once connected
};

class RemoteControlService : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~RemoteControlService() override = default;

  virtual bool running() const = 0;
  // Listens on listenAddresses() with the token and remembers "on"; false, with problem(), when the
  // server cannot listen (an address in use): nothing is left listening and the setting is unchanged.
  virtual bool Start() = 0;
  // Closes every connection and remembers "off".
  virtual void Stop() = 0;

  // As the user wrote them: "127.0.0.1:8719", "0.0.0.0:8719", "[::1]:8719".
  virtual QStringList listenAddresses() const = 0;
  // Every address must be an IP address with an optional port; otherwise false with one line in *problem
  // and nothing changes. A running server moves to the new addresses at once.
  virtual bool SetListenAddresses(const QStringList& addresses, QString* problem) = 0;

  // Empty when the token file could not be read or made (problem() says why).
  virtual QString token() const = 0;
  // A fresh token in the token file and the server: phones holding the old one must scan again.
  virtual bool NewToken() = 0;

  virtual QList<RemoteEndpoint> boundAddresses() const = 0;
  virtual QList<RemoteClientEntry> clients() const = 0;
  // The last failure in one line (empty after a success).
  virtual QString problem() const = 0;

  // The MQTT bridge: off unless switched on; it connects in the background and keeps reconnecting, so
  // none of these waits for the broker.
  virtual MqttLinkSettings mqttSettings() const = 0;
  // Checks and keeps the settings; a running bridge starts over with them. False with one line in
  // *problem (no broker, a port outside 1..65535, a bad machine name, a password without a user, an
  // unreadable CA file), nothing changed.
  virtual bool SetMqttSettings(const MqttLinkSettings& settings, QString* problem) = 0;
  virtual bool mqttOn() const = 0;
  // Starts the bridge and remembers "on"; false with one line in *problem when the settings cannot work.
  virtual bool StartMqtt(QString* problem) = 0;
  // Takes the machine out of Home Assistant, disconnects and remembers "off".
  virtual void StopMqtt() = 0;
  virtual MqttLinkStatus mqttStatus() const = 0;

 signals:
  // The server started or stopped, or its addresses, token or problem changed.
  void stateChanged();
  // A WebSocket client came or went.
  void clientsChanged();
  // The bridge's state or settings changed.
  void mqttChanged();
};
