// The Qt dialogs behind the prompt seam.
#include "services/user_prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include "services/choice_box.h"

namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::information:
      return QMessageBox::Information;
    case BoxIcon::question:
      return QMessageBox::Question;
    case BoxIcon::warning:
      return QMessageBox::Warning;
    case BoxIcon::error:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::ok:
      return QMessageBox::Ok;
    case BoxButtons::yesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::yesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

class QtPrompts final : public UserPrompts {
 public:
  BoxAnswer Ask(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon,
                BoxButtons buttons) override {
    QMessageBox box(ToQtIcon(icon), caption, text, ToQtButtons(buttons), owner);
    switch (box.exec()) {
      case QMessageBox::Yes:
        return BoxAnswer::yes;
      case QMessageBox::No:
        return BoxAnswer::no;
      case QMessageBox::Cancel:
        return BoxAnswer::cancel;
      default:
        return buttons == BoxButtons::ok ? BoxAnswer::ok : BoxAnswer::cancel;
    }
  }

  QString ChooseFile(QWidget* owner, const FileDialogRequest& request) override {
    QFileDialog dialog(owner);
    dialog.setNameFilter(request.filter);
    if (request.save) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setDefaultSuffix(request.defaultSuffix);
      dialog.selectFile(request.defaultName);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }

  QStringList ChooseFiles(QWidget* owner, const FileDialogRequest& request) override {
    QFileDialog dialog(owner);
    dialog.setNameFilter(request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
  }
};

UserPrompts* installed = nullptr;

}  // namespace

int UserPrompts::Choose(QWidget* owner, const QString& message, const QString& first, const QString& second) {
  CDlgMsgBox box(message, first, second, owner);
  box.exec();
  return box.choice();
}

QStringList UserPrompts::ChooseFiles(QWidget* owner, const FileDialogRequest& request) {
  return ChooseFile(owner, request).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool UserPrompts::OpenUrl(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

UserPrompts& Prompts() {
  static QtPrompts qtPrompts;
  return installed ? *installed : qtPrompts;
}

void SetPrompts(UserPrompts* prompts) {
  installed = prompts;
}

BoxAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) {
  return Prompts().Ask(owner, text, caption, icon, BoxButtons::ok);
}

bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
  return Prompts().Ask(owner, text, caption, BoxIcon::question, BoxButtons::yesNo) == BoxAnswer::yes;
}
