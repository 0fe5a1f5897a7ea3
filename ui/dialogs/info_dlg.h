// The notice pop-up (template 344): one message line, closed by its button or by the notice timer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class CInfoDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CInfoDlg(QWidget* parent = nullptr);

  void SetMessage(const QString& text);
  QString message() const;
  // Caption and close button in the current language.
  void Recaption();

 private:
  QLabel* message_;
  QString plainMessage_;
  QPushButton* close_;
};
