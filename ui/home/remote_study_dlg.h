// The learning dialog (template 372): names the function being learned, waits for the machine to report
// the code of the key pressed on the user's remote, shows it and closes itself a second later. Giving up
// tells the machine to stop learning.
#pragma once

#include <QDialog>
#include <QTimer>

class CGdipButton;
class QLabel;
class SmartHomeLink;

namespace remote_study_id {
inline constexpr int dialog = 372;
inline constexpr int close = 1;
inline constexpr int cancel = 2;
inline constexpr int keyText = 1300;
inline constexpr int code = 1301;
inline constexpr int closingNote = 1302;
inline constexpr int hint = 1303;
}  // namespace remote_study_id

inline constexpr int kLearnedCloseMs = 1000;

class CRemoteStudyDlg : public QDialog {
  Q_OBJECT
 public:
  // `function` is the remote key table index (1..17) being learned.
  CRemoteStudyDlg(SmartHomeLink& link, int function, QWidget* parent);

  // The machine learned a key: the code as two hex digits, Close instead of Cancel, and the close a
  // second later.
  void OnKeyLearned(int code);
  void Recaption();

  bool learned() const { return learned_; }

 public slots:
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  SmartHomeLink& link_;
  int function_;
  bool learned_ = false;
  bool stopSent_ = false;
  QLabel* keyText_;
  QLabel* hint_;
  QLabel* code_;
  QLabel* closingNote_;
  CGdipButton* cancel_;
  CGdipButton* close_;
  QWidget* icon_;
  QTimer autoClose_;
};
