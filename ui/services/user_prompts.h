// Message boxes and file dialogs behind one seam: the application shows real ones, tests script answers.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

enum class BoxIcon { information, question, warning, error };
enum class BoxButtons { ok, yesNo, yesNoCancel };
enum class BoxAnswer { ok, yes, no, cancel };

struct FileDialogRequest {
  bool save = false;
  QString filter;         // "Mode Files (*.noveq)"
  QString defaultSuffix;  // save only
  QString defaultName;    // save only
};

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  virtual BoxAnswer Ask(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon,
                        BoxButtons buttons) = 0;
  // The chosen path, or empty on cancel.
  virtual QString ChooseFile(QWidget* owner, const FileDialogRequest& request) = 0;
  // Several existing files to open at once (none on cancel). By default one ChooseFile, whose answer may
  // list several paths, one a line.
  virtual QStringList ChooseFiles(QWidget* owner, const FileDialogRequest& request);
  // The three-choice box: 1 for the first choice, 2 for the second, 0 for Cancel or closing.
  virtual int Choose(QWidget* owner, const QString& message, const QString& first, const QString& second);
  // Hands a page (the help) to the desktop's viewer; false when none took it.
  virtual bool OpenUrl(const QUrl& url);
};

// The prompts in use: the Qt dialogs unless a test installed its own (nullptr restores them).
UserPrompts& Prompts();
void SetPrompts(UserPrompts* prompts);

// Convenience for the common shapes.
BoxAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon);
bool AskYesNo(QWidget* owner, const QString& text, const QString& caption);
