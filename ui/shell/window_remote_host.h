// The remote-control server's host in the window: a remote's commands run on the GUI thread through the
// window's own edit session, A/B tunings and smart-home link, and the window shows what they changed.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

#include "remote/remote_host.h"

class AppServices;
class CMainFrame;

class CWindowRemoteHost final : public QObject, public vireo::remote::RemoteHost {
 public:
  // Both must outlive the host; build it on the GUI thread.
  CWindowRemoteHost(AppServices& app, CMainFrame& frame);
  ~CWindowRemoteHost() override;  // Close()
  CWindowRemoteHost(const CWindowRemoteHost&) = delete;
  CWindowRemoteHost& operator=(const CWindowRemoteHost&) = delete;

  // Work posted from now on is dropped, and work already queued no longer runs. Stop the server first:
  // it is the one that posts.
  void Close();

  void Post(std::function<void()> work) override;
  const vireo::ParameterStore& store() const override;
  bool connected() const override;
  bool syncing() const override;
  vireo::tuning::FieldSetResult SetField(const vireo::tuning::FieldValue& value) override;
  vireo::remote::ActionResult RecallMode(int slot) override;
  vireo::remote::ActionResult SwitchAb() override;
  vireo::remote::AbSlot abLive() const override;
  vireo::remote::ActionResult RunScene(int scene) override;
  vireo::remote::ActionResult SetPlug(int node, int value) override;
  const vireo::smarthome::SmartHomeController* smartHome() const override;

 private:
  // Shared with every queued closure, so that one running after Close() sees the gate shut.
  struct Gate {
    std::mutex lock;
    bool open = true;
  };

  AppServices& app_;
  CMainFrame& frame_;
  std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
};
