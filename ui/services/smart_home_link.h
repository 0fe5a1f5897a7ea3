// What the smart-home windows (smart-plug window, its pages and dialogs, the remote-learning window) use
// of the application. The application gives its own; tests and the gallery give one over the emulator.
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>

namespace vireo {
class ParameterStore;
namespace smarthome {
class SmartHomeController;
}
}  // namespace vireo

class QWidget;

class SmartHomeLink {
 public:
  virtual ~SmartHomeLink() = default;

  virtual vireo::smarthome::SmartHomeController& controller() = 0;
  virtual vireo::ParameterStore& store() = 0;
  virtual bool connected() const = 0;

  // A timed popup over the main window (the application's notice); kNoticeShortMs is the usual 1100 ms.
  virtual void ShowNotice(const QString& text, int durationMs) = 0;
  // The synchronisation window with a text. It is modal: the call returns once FinishSyncWindow() has
  // ended it (or its own time-out), so start the operation first and show the window after; the
  // operation's end event arrives while the window runs its event loop.
  virtual void ShowSyncWindow(const QString& text) = 0;
  virtual void FinishSyncWindow() = 0;

  // The folder of the plug key files; empty leaves files alone.
  virtual std::string plugFolder() const = 0;
  // Opens the installed help page at its smart-plug section; does nothing when there is none.
  virtual void OpenHelp() = 0;

  // The level-meter poll: the smart-plug and remote windows stop it while open and restore it after.
  virtual bool meterPollEnabled() const = 0;
  virtual void setMeterPollEnabled(bool on) = 0;

  // Sends a command report (code, then its bytes) on the sender thread, never on the calling one: the
  // window does not wait for the machine. `releasePacing` first lets a paced send go that waits for a
  // reply which will never come (stopping a remote learn that had none).
  virtual void SendCommand(std::uint8_t code, std::span<const std::uint8_t> bytes, bool releasePacing) = 0;
};

// The question before a reset that takes every plug, scene and key file ("ZWAVE复位", "清空插座数据"):
// true only for Yes.
bool ConfirmSmartHomeWipe(QWidget* owner);
