// The three-choice message dialog (template 513): a message, two named choices and Cancel.
#pragma once

#include <QDialog>

class CDlgMsgBox : public QDialog {
  Q_OBJECT
 public:
  CDlgMsgBox(const QString& message, const QString& firstChoice, const QString& secondChoice,
             QWidget* parent = nullptr);

  // 1 for the first choice, 2 for the second, 0 for Cancel or closing.
  int choice() const { return choice_; }

 private:
  int choice_ = 0;
};
