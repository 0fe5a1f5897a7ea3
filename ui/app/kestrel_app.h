// The application object: single instance, settings, the main window, and the services every window
// uses (notices, the synchronisation window, the choice box, opening a mode file by path).
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/app_settings.h"
#include "app/launch_options.h"
#include "app/window_slots.h"

class CMainFrame;
class CKestrelv13View;
class DeviceServices;
class QApplication;
class QtEventSink;
class SmartHomeLink;
class AppSmartHomeLink;
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
};

// The identifier handed to the desktop: the window's app id (Wayland) and desktop-file name, which
// docks match against the installed io.github.vireo.Vireo.desktop, whose icon and AppStream entry carry
// the same name. It is reverse-DNS in lower-case domain parts because AppStream refuses an upper-case
// domain and an element that begins with a digit (which D-Bus names forbid as well). Settings and the
// single-instance lock use kSettingsKey, not this.
inline constexpr const char* kApplicationId = "io.github.vireo.Vireo";
inline constexpr int kNoticeShortMs = 1100;

class CKestrelv13App : public QObject {
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
  void ShowNotice(const QString& text, int durationMs);
  void ShowSyncWindow(const QString& text);
  // Closes the synchronisation window normally (the synchronisation finished).
  void FinishSyncWindow();
  int ShowChoiceBox(const QString& message, const QString& firstChoice, const QString& secondChoice);
  // `backupSource` names the backup kept before the file overwrites the machine.
  void OpenModeFileByPath(const QString& path, const QString& backupSource = QStringLiteral("open-file"));
  // Keeps the machine's tuning as last read as a backup before `source` ("open-file", "slot-2", ...)
  // overwrites it. When the backup cannot be written the user is asked; false means do not go on.
  bool BackUpTuning(const QString& source);
  QString backupFolder() const;

  AppSettings& settings() { return *settings_; }
  WindowSlots& windows() { return windows_; }
  DeviceServices& device() { return *device_; }
  // What the smart-home windows use of the application.
  SmartHomeLink& smartHome();
  vireo::MachineConnection& connection();
  CMainFrame* frame() const { return frame_.get(); }
  CKestrelv13View* view() const;
  SingleInstanceGuard* instanceGuard() const { return guard_.get(); }
  const AppConfig& config() const { return config_; }
  QString helpPagePath() const;

  bool smartPlugWindowOpen() const { return windows_.smartPlugs && windows_.smartPlugs->isVisible(); }
  int currentOutputChannel() const { return currentOutputChannel_; }
  void setCurrentOutputChannel(int channel) { currentOutputChannel_ = channel; }

  // The closing main window calls this once its questions are answered: no device event is delivered
  // from now on, and the machine gets its disconnect notice.
  void ShutDownDevice();
  // Called by the connection logic after every accepted synchronisation.
  void OnSyncAccepted();

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
  WindowSlots windows_;
  QTimer noticeTimer_;        // the notice's duration (one-shot, restarted by every notice)
  QString deferredModeFile_;  // a command-line file that waits for the first synchronisation
  int currentOutputChannel_ = 0;
};

// The one application object (nullptr before construction and after destruction).
CKestrelv13App* TheApp();
