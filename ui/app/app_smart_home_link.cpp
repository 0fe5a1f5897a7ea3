#include "app/app_smart_home_link.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <vector>

#include "app/kestrel_app.h"
#include "device/connection.h"
#include "device/protocol.h"
#include "model/parameter_store.h"
#include "services/device_services.h"
#include "services/user_prompts.h"
#include "smarthome/plug_keys.h"

namespace {
// Sends every report of an operation without waiting for the previous reply.
class UnpacedSender final : public vireo::ReportSender {
 public:
  explicit UnpacedSender(vireo::ReportSender& to) : to_(to) {}
  int SendPaced(const vireo::Report& report) override { return to_.SendUnpaced(report); }
  int SendUnpaced(const vireo::Report& report) override { return to_.SendUnpaced(report); }

 private:
  vireo::ReportSender& to_;
};
}  // namespace

AppSmartHomeLink::AppSmartHomeLink(CKestrelv13App& app, const QString& plugFolder)
    : app_(app), plugFolder_(plugFolder.toStdString()) {
  if (plugFolder_.empty()) {
    // The desktop's documents folder as the user's directories name it (a localised "文档" too).
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    plugFolder_ = documents.isEmpty() ? vireo::smarthome::DefaultPlugFolder()
                                      : QString(documents + QStringLiteral("/Plug")).toStdString();
  }
  controller().SetPlugFolder(plugFolder_);
}

vireo::smarthome::SmartHomeController& AppSmartHomeLink::controller() {
  return app_.device().smartHome();
}

vireo::ParameterStore& AppSmartHomeLink::store() {
  return vireo::TheStore();
}

bool AppSmartHomeLink::connected() const {
  return app_.connection().connected();
}

void AppSmartHomeLink::ShowNotice(const QString& text, int durationMs) {
  app_.ShowNotice(text, durationMs);
}

void AppSmartHomeLink::ShowSyncWindow(const QString& text) {
  app_.ShowSyncWindow(text);
}

void AppSmartHomeLink::FinishSyncWindow() {
  app_.FinishSyncWindow();
}

void AppSmartHomeLink::OpenHelp() {
  // The page is the smart-plug help as a whole; without an installed page nothing happens.
  const QString path = app_.helpPagePath();
  if (!QFileInfo::exists(path)) return;
  Prompts().OpenUrl(QUrl::fromLocalFile(path));
}

bool AppSmartHomeLink::meterPollEnabled() const {
  return app_.connection().meterPollEnabled();
}

void AppSmartHomeLink::setMeterPollEnabled(bool on) {
  app_.connection().setMeterPollEnabled(on);
}

void AppSmartHomeLink::SendCommand(std::uint8_t code, std::span<const std::uint8_t> bytes,
                                   bool releasePacing) {
  std::vector<std::uint8_t> args(bytes.begin(), bytes.end());
  // Each command is its own target: a newer learn request must not replace a stop still queued.
  static int serial = 0;
  const std::string target = "command " + std::to_string(++serial);
  app_.device().editSender().Edit(target, [&](vireo::ReportSender& sender, vireo::Clock&) {
    if (releasePacing) {
      UnpacedSender unpaced(sender);
      vireo::SendCommand(unpaced, code, args);
    } else {
      vireo::SendCommand(sender, code, args);
    }
  });
}
