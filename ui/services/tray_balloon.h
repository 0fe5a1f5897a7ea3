// The notification-area balloon: one icon with an information balloon, removed after its duration or
// when the user touches it. Where the desktop has no notification area (GNOME) the text goes out as a
// desktop notification instead, so the connection announcements are not lost.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QSystemTrayIcon;

class CTrayBalloon : public QObject {
  Q_OBJECT
 public:
  // Whether the desktop has a notification area (QSystemTrayIcon::isSystemTrayAvailable by default).
  using TrayProbe = std::function<bool()>;
  // Shows a balloon's title and text where there is no notification area.
  using Notifier = std::function<void(const QString& title, const QString& text, int durationMs)>;

  explicit CTrayBalloon(QObject* parent = nullptr);
  ~CTrayBalloon() override;

  void Show(const QString& text, const QString& title, int durationMs);
  void Remove();
  bool iconShown() const { return icon_ != nullptr; }
  // What was asked for last (also where no notification area exists).
  QString lastText() const { return lastText_; }
  QString lastTitle() const { return lastTitle_; }
  int shownCount() const { return shownCount_; }

  // Tests give their own probe and notifier; the defaults ask Qt and the session bus.
  void SetTrayProbe(TrayProbe probe) { trayProbe_ = std::move(probe); }
  void SetNotifier(Notifier notifier) { notifier_ = std::move(notifier); }

 private:
  void NotifyDesktop(const QString& title, const QString& text, int durationMs);

  QSystemTrayIcon* icon_ = nullptr;
  QTimer timer_;  // the balloon's duration
  QString lastText_;
  QString lastTitle_;
  int shownCount_ = 0;
  TrayProbe trayProbe_;
  Notifier notifier_;
  uint notificationId_ = 0;  // the desktop notification on screen (0: none), replaced by the next one
};

// Sends org.freedesktop.Notifications.Notify without waiting for the answer; false when there is no
// session bus. `onId` receives the notification's id once the server has answered.
bool SendDesktopNotification(const QString& title, const QString& text, int durationMs, uint replacesId,
                             QObject* context, std::function<void(uint)> onId);
// Asks the notification server to take notification `id` down (nothing without a session bus).
void CloseDesktopNotification(uint id);
