// The smart-plug window's wait dialog (template 486): a progress bar that runs while an add, remove or
// set is on its way, the controller's answer, a time-out and a button that stops the operation.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

#include "smarthome/wait_progress.h"

class SmartHomeLink;
class QLabel;
class QProgressBar;
class QPushButton;

namespace wait_id {
inline constexpr int dialog = 486;
inline constexpr int text = 1300;
inline constexpr int progress = 1301;
inline constexpr int abort = 1302;
}  // namespace wait_id

struct WaitTimings {
  int stepMs = 150;         // the bar moves by 10 each step
  int timeoutMs = 20000;    // the operation is given up
  int closeDelayMs = 1000;  // the answer stays readable this long
};

class CWaitDlg : public QDialog {
  Q_OBJECT
 public:
  // `node` is the plug a set addressed (unused for add and remove).
  CWaitDlg(SmartHomeLink& link, vireo::smarthome::WaitKind kind, int node, const QString& text,
           QWidget* parent, WaitTimings timings = {});

  // A controller event (3024): shows its text; an ending answer closes the dialog a second later.
  void OnZwaveEvent(std::intptr_t a, std::intptr_t b);
  void Recaption();

  vireo::smarthome::WaitKind kind() const { return kind_; }
  QString text() const { return plainText_; }
  int progress() const;
  bool answered() const { return answered_; }

 protected:
  // Escape stops the operation as the button does: the controller must not stay in add or remove mode.
  void reject() override;

 private:
  void SetText(const QString& text);
  void OnStep();
  void OnTimeout();
  void SendStop();

  SmartHomeLink& link_;
  vireo::smarthome::WaitKind kind_;
  int node_;
  WaitTimings timings_;
  QLabel* text_;
  QString plainText_;
  QProgressBar* progress_;
  QPushButton* abort_;
  QTimer step_;
  QTimer timeout_;
  QTimer close_;
  bool answered_ = false;
};
