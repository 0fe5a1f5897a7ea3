// The synchronisation progress dialog (template 347): a marquee while the machine and the store are
// synchronised; gives up with a message after 30 s.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

inline constexpr int kSyncTimeoutMs = 30000;

class CSynDlg : public QDialog {
  Q_OBJECT
 public:
  // An empty `text` shows "当前正在与机器同步数据,请稍候......" / "Please wait a moment……".
  explicit CSynDlg(const QString& text, QWidget* parent = nullptr, int timeoutMs = kSyncTimeoutMs);

  // The synchronisation finished: stop the time-out and close normally.
  void Finish();
  bool timedOut() const { return timedOut_; }
  QString shownText() const;

 signals:
  void syncTimedOut();

 protected:
  // Escape and the close box do not end a synchronisation; only its end or the time-out does.
  void reject() override {}

 private:
  void OnTimeout();

  QLabel* text_;
  QTimer timeout_;
  bool timedOut_ = false;
};

// "发生错误，与设备数据同步超时……" in a box captioned "错误".
void ShowSyncTimeoutMessage(QWidget* owner);
