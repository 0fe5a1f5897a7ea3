// The application object: single instance, settings, the main window, and the services every window
// uses (notices, the synchronisation window, the choice box, opening a mode file by path).
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "services/app_services.h"
#include "services/app_settings.h"
#include "services/launch_options.h"
#include "services/window_slots.h"

class CMainFrame;
class CKestrelv13View;
class DeviceServices;
class QApplication;
class QtEventSink;
class SmartHomeLink;
class AppSmartHomeLink;
class AppRemoteControl;
class SingleInstanceGuard;
class CShortcutFilter;

namespace vireo {
class Clock;
class MachineConnection;
}  // namespace vireo

struct AppConfig {
  LaunchOptions launch;
  vireo::Clock* clock = nullptr;  // the wall clock unless a test gives its own
  QString instanceDirectory;      // lock file and socket; the runtime folder when empty
  bool singleInstance = true;
  QString helpPagePath;        // the default under the data folder when empty
  QString plugFolder;          // the plug key files; the documents folder's "Plug" when empty
  QString backupFolder;        // the automatic backups; the application data folder's "backups" when empty
  bool quitWhenClosed = true;  // end the event loop when the main window has closed
  // The remote control's token file; "remote-token" in the configuration folder when empty.
  QString remoteTokenPath;
};

class CKestrelv13App : public QObject, public AppServices {
  Q_OBJECT
 public:
  enum class StartResult { running, endQuietly, endWithFailure };

  // Uses the QApplication that exists, or makes one from argc/argv.
  CKestrelv13App(int& argc, char** argv, AppConfig config);
  explicit CKestrelv13App(AppConfig config);
  ~CKestrelv13App() override;

  StartResult Start();
  int Exec();

  // --- services ---
  vireo::ParameterStore& store() override;
  DeviceServices& device() override { return *device_; }
  SmartHomeLink& smartHome() override;
  AppSettings& settings() override { return *settings_; }
  WindowSlots& windows() override { return windows_; }
  RemoteControlService& remote() override;
  QWidget* mainWindow() const override;
  QString helpPagePath() const override;
  void ShowNotice(const QString& text, int durationMs) override;
  void ShowSyncWindow(const QString& text) override;
  void FinishSyncWindow() override;
  int ShowChoiceBox(const QString& message, const QString& firstChoice, const QString& secondChoice) override;
  bool BackUpTuning(const QString& source) override;
  QString backupFolder() const override;
  void OpenModeFileByPath(const QString& path,
                          const QString& backupSource = QStringLiteral("open-file")) override;
  int currentOutputChannel() const override { return currentOutputChannel_; }
  void setCurrentOutputChannel(int channel) override { currentOutputChannel_ = channel; }
  void ShowPageLater(int templateId) override;
  void RestoreFactorySlot(int slot) override;
  void RefreshVolumeControls() override;

  CMainFrame* frame() const { return frame_.get(); }
  CKestrelv13View* view() const;
  SingleInstanceGuard* instanceGuard() const { return guard_.get(); }
  const AppConfig& config() const { return config_; }

  // The closing main window calls this once its questions are answered: no device event is delivered
  // from now on, and the machine gets its disconnect notice.
  void ShutDownDevice() override;
  // Called by the connection logic after every accepted synchronisation.
  void OnSyncAccepted() override;

 signals:
  void noticeShown(const QString& text, int durationMs);

 private:
  void OnDeviceEvent(int message, std::intptr_t a, std::intptr_t b);
  void ActivateMainWindow();
  bool ReportStartProblem(const QString& text);

  AppConfig config_;
  std::unique_ptr<QApplication> ownedQtApp_;
  std::unique_ptr<AppSettings> settings_;
  std::unique_ptr<SingleInstanceGuard> guard_;
  std::unique_ptr<QtEventSink> events_;
  std::unique_ptr<DeviceServices> device_;
  std::unique_ptr<AppSmartHomeLink> smartHomeLink_;
  std::unique_ptr<CShortcutFilter> shortcuts_;
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<AppRemoteControl> remote_;  // its host uses the frame
  WindowSlots windows_;
  QTimer noticeTimer_;        // the notice's duration (one-shot, restarted by every notice)
  QString deferredModeFile_;  // a command-line file that waits for the first synchronisation
  int currentOutputChannel_ = 0;
};

// The one application object (nullptr before construction and after destruction).
CKestrelv13App* TheApp();
