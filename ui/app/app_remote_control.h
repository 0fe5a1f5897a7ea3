// The application's remote-control server: the Qt-free server over the window's host, its switch and
// addresses in the settings, its token in a file of the user's alone.
#pragma once

#include <QString>
#include <memory>

#include "services/remote_control_service.h"

class AppServices;
class AppSettings;
class CMainFrame;
class CWindowRemoteHost;

namespace vireo::remote {
class MqttBridge;
class RemoteServer;
struct MqttOptions;
}

class AppRemoteControl final : public RemoteControlService {
 public:
  // `tokenPath` empty selects "remote-token" in the application's configuration folder; the MQTT
  // password is kept in "mqtt-password" beside it. `app` and `frame` must outlive this object.
  AppRemoteControl(AppServices& app, CMainFrame& frame, const QString& tokenPath);
  ~AppRemoteControl() override;  // ShutDown()

  // Starts the server and the MQTT bridge when the settings say so (the start of the window); false with
  // problem() when the server was to start and could not (a bridge's problem is in its status).
  bool StartIfSwitchedOn();
  // For good, leaving the setting as it is: the window is closing.
  void ShutDown();

  bool running() const override;
  bool Start() override;
  void Stop() override;
  QStringList listenAddresses() const override;
  bool SetListenAddresses(const QStringList& addresses, QString* problem) override;
  QString token() const override;
  bool NewToken() override;
  QList<RemoteEndpoint> boundAddresses() const override;
  QList<RemoteClientEntry> clients() const override;
  QString problem() const override { return problem_; }

  MqttLinkSettings mqttSettings() const override;
  bool SetMqttSettings(const MqttLinkSettings& settings, QString* problem) override;
  bool mqttOn() const override;
  bool StartMqtt(QString* problem) override;
  void StopMqtt() override;
  MqttLinkStatus mqttStatus() const override;

 private:
  bool Listen();
  bool StartBridge(const MqttLinkSettings& settings, QString* problem);

  AppSettings& settings_;
  QString tokenPath_;
  QString passwordPath_;
  QString mqttProblem_;  // a refused start from the settings at the start of the window
  mutable QString token_;    // read or made when first needed
  mutable QString problem_;  // a token file's problem arises where the token is first needed
  bool shutDown_ = false;
  // The host goes after the server and the bridge, which post to it.
  std::unique_ptr<CWindowRemoteHost> host_;
  std::unique_ptr<vireo::remote::RemoteServer> server_;
  std::unique_ptr<vireo::remote::MqttBridge> bridge_;
};
