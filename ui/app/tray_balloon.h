// The notification-area balloon: one icon with an information balloon, removed after its duration or
// when the user touches it. Nothing appears where the desktop has no notification area.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QSystemTrayIcon;

class CTrayBalloon : public QObject {
  Q_OBJECT
 public:
  explicit CTrayBalloon(QObject* parent = nullptr);
  ~CTrayBalloon() override;

  void Show(const QString& text, const QString& title, int durationMs);
  void Remove();
  bool iconShown() const { return icon_ != nullptr; }
  // What was asked for last (also where no notification area exists).
  QString lastText() const { return lastText_; }
  QString lastTitle() const { return lastTitle_; }
  int shownCount() const { return shownCount_; }

 private:
  QSystemTrayIcon* icon_ = nullptr;
  QTimer timer_;  // the balloon's duration
  QString lastText_;
  QString lastTitle_;
  int shownCount_ = 0;
};
