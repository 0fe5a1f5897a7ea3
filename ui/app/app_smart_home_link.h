// The application's side of the smart-home windows: the controller of the connection, the notices and
// the synchronisation window of the application, the plug folder and the help page.
#pragma once

#include <QString>

#include "services/smart_home_link.h"

class CKestrelv13App;

class AppSmartHomeLink final : public SmartHomeLink {
 public:
  // `plugFolder` empty selects "Plug" in the desktop's documents folder.
  AppSmartHomeLink(CKestrelv13App& app, const QString& plugFolder);

  vireo::smarthome::SmartHomeController& controller() override;
  vireo::ParameterStore& store() override;
  bool connected() const override;
  void ShowNotice(const QString& text, int durationMs) override;
  void ShowSyncWindow(const QString& text) override;
  void FinishSyncWindow() override;
  std::string plugFolder() const override { return plugFolder_; }
  void OpenHelp() override;
  bool meterPollEnabled() const override;
  void setMeterPollEnabled(bool on) override;
  void SendCommand(std::uint8_t code, std::span<const std::uint8_t> bytes, bool releasePacing) override;

 private:
  CKestrelv13App& app_;
  std::string plugFolder_;
};
