// The tray balloon.
#include "app/tray_balloon.h"

#include <QSystemTrayIcon>

#include "ribbon/ribbon_icons.h"

CTrayBalloon::CTrayBalloon(QObject* parent) : QObject(parent) {
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
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  if (!icon_) {
    icon_ = new QSystemTrayIcon(RibbonIcon(RibbonPicture::application), this);
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

void CTrayBalloon::Remove() {
  timer_.stop();
  if (!icon_) return;
  icon_->hide();
  icon_->deleteLater();
  icon_ = nullptr;
}
