// The tray balloon.
#include "services/tray_balloon.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QVariantMap>

#include "look/app_icon.h"
#include "services/app_settings.h"

namespace {

const QString kNotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage NotificationsCall(const QString& method) {
  return QDBusMessage::createMethodCall(kNotificationsService, kNotificationsPath, kNotificationsService,
                                        method);
}

}  // namespace

bool SendDesktopNotification(const QString& title, const QString& text, int durationMs, uint replacesId,
                             QObject* context, std::function<void(uint)> onId) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = NotificationsCall(QStringLiteral("Notify"));
  const QString id = QString::fromLatin1(kApplicationId);
  // The desktop entry lets the server show the application's name and icon with the text.
  const QVariantMap hints{{QStringLiteral("desktop-entry"), id}};
  call << QString::fromLatin1(kApplicationName) << replacesId << id << title << text << QStringList() << hints
       << durationMs;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [onId = std::move(onId)](QDBusPendingCallWatcher* finished) {
                     const QDBusPendingReply<uint> reply = *finished;
                     if (!reply.isError() && onId) onId(reply.value());
                     finished->deleteLater();
                   });
  return true;
}

void CloseDesktopNotification(uint id) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage call = NotificationsCall(QStringLiteral("CloseNotification"));
  call << id;
  bus.send(call);
}

CTrayBalloon::CTrayBalloon(QObject* parent)
    : QObject(parent), trayProbe_([] { return QSystemTrayIcon::isSystemTrayAvailable(); }) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CTrayBalloon::Remove);
}

CTrayBalloon::~CTrayBalloon() {
  Remove();
}

void CTrayBalloon::Show(const QString& text, const QString& title, int durationMs) {
  lastText_ = text;
  lastTitle_ = title;
  ++shownCount_;
  timer_.start(durationMs);
  if (!trayProbe_()) {
    if (notifier_) {
      notifier_(title, text, durationMs);
    } else {
      NotifyDesktop(title, text, durationMs);
    }
    return;
  }
  if (!icon_) {
    icon_ = new QSystemTrayIcon(ApplicationIcon(), this);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick ||
          reason == QSystemTrayIcon::Context) {
        Remove();
      }
    });
    connect(icon_, &QSystemTrayIcon::messageClicked, this, &CTrayBalloon::Remove);
  }
  icon_->show();
  icon_->showMessage(title, text, QSystemTrayIcon::Information, durationMs);
}

void CTrayBalloon::NotifyDesktop(const QString& title, const QString& text, int durationMs) {
  // Windows drawn off screen (tests, the gallery) have no desktop to tell.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
  SendDesktopNotification(title, text, durationMs, notificationId_, this,
                          [this](uint id) { notificationId_ = id; });
}

void CTrayBalloon::Remove() {
  timer_.stop();
  if (notificationId_ != 0) {
    CloseDesktopNotification(notificationId_);
    notificationId_ = 0;
  }
  if (!icon_) return;
  icon_->hide();
  icon_->deleteLater();
  icon_ = nullptr;
}
