// What every window uses of the application, as one object handed to each page, dialog and shell part
// when it is built: the store, the edits, the connection, the smart-home link, settings, backups,
// notices and questions, and the few requests a window makes of the main window. The application
// implements it; no window looks the application up by itself, so a window can be built over any
// implementation (the emulator, a test's own).
#pragma once

#include <QString>

#include "services/app_settings.h"
#include "services/device_services.h"
#include "services/remote_control_service.h"
#include "services/smart_home_link.h"
#include "services/window_slots.h"

class QWidget;

namespace vireo {
class ParameterStore;
}  // namespace vireo

inline constexpr int kNoticeShortMs = 1100;

// The notice of a level moved while its output is muted (the ribbon, the output channels page):
// "当前是静音状态" / "vol is mute".
QString MutedVolumeNotice();

class AppServices {
 public:
  virtual ~AppServices() = default;

  // --- the machine ---
  virtual vireo::ParameterStore& store() = 0;
  virtual DeviceServices& device() = 0;
  vireo::MachineConnection& connection() { return device().connection(); }
  // Every user edit goes through here: sent on the sender thread, one step of the undo history.
  vireo::tuning::EditSession& edits() { return device().edits(); }
  virtual SmartHomeLink& smartHome() = 0;

  // --- the desktop ---
  virtual AppSettings& settings() = 0;
  virtual WindowSlots& windows() = 0;
  // The remote-control server (phones and scripts over the network).
  virtual RemoteControlService& remote() = 0;
  // The window that boxes and dialogs stand over: the main window, nullptr before it is built.
  virtual QWidget* mainWindow() const = 0;
  virtual QString helpPagePath() const = 0;

  // --- notices and questions ---
  virtual void ShowNotice(const QString& text, int durationMs) = 0;
  // Modal: returns once FinishSyncWindow() has ended it (or its own time-out).
  virtual void ShowSyncWindow(const QString& text) = 0;
  virtual void FinishSyncWindow() = 0;
  // 1 for the first choice, 2 for the second, 0 for Cancel or closing.
  virtual int ShowChoiceBox(const QString& message, const QString& firstChoice,
                            const QString& secondChoice) = 0;

  // --- backups and mode files ---
  // Keeps the machine's tuning as last read before `source` ("open-file", "slot-2", ...) overwrites it;
  // false when it could not be kept and the user chose not to go on.
  virtual bool BackUpTuning(const QString& source) = 0;
  virtual QString backupFolder() const = 0;
  virtual void OpenModeFileByPath(const QString& path,
                                  const QString& backupSource = QStringLiteral("open-file")) = 0;

  // --- what a window asks of the main window ---
  virtual int currentOutputChannel() const = 0;
  virtual void setCurrentOutputChannel(int channel) = 0;
  // Shows the page of a dialog template id once the current event has been handled.
  virtual void ShowPageLater(int templateId) = 0;
  virtual void RestoreFactorySlot(int slot) = 0;
  virtual void RefreshVolumeControls() = 0;

  // --- the application's life ---
  // The closing main window calls this once its questions are answered.
  virtual void ShutDownDevice() = 0;
  // After every accepted synchronisation.
  virtual void OnSyncAccepted() = 0;

  bool smartPlugWindowOpen() { return windows().smartPlugs && windows().smartPlugs->isVisible(); }
};
