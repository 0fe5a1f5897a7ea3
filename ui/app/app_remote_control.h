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
class RemoteServer;
}

class AppRemoteControl final : public RemoteControlService {
 public:
  // `tokenPath` empty selects "remote-token" in the application's configuration folder. `app` and
  // `frame` must outlive this object.
  AppRemoteControl(AppServices& app, CMainFrame& frame, const QString& tokenPath);
  ~AppRemoteControl() override;  // ShutDown()

  // Starts the server when the setting says so (the start of the window); false with problem() when it
  // was to start and could not.
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

 private:
  bool Listen();

  AppSettings& settings_;
  QString tokenPath_;
  mutable QString token_;    // read or made when first needed
  mutable QString problem_;  // a token file's problem arises where the token is first needed
  bool shutDown_ = false;
  // The host goes after the server, which posts to it.
  std::unique_ptr<CWindowRemoteHost> host_;
  std::unique_ptr<vireo::remote::RemoteServer> server_;
};
