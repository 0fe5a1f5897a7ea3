// The application menu.
#include "ribbon/application_menu.h"

#include <QDir>
#include <QLabel>
#include <QWidgetAction>

#include "controls/ribbon_icons.h"
#include "look/command_ids.h"
#include "look/control_id.h"

namespace {
constexpr int kMenuWidth = 300;
}

CApplicationMenu::CApplicationMenu(int languageIndex, std::function<QStringList()> recentFiles,
                                   QWidget* parent)
    : QMenu(parent), recentFiles_(std::move(recentFiles)) {
  setMinimumWidth(kMenuWidth);
  AddCommand(cmd::fileOpen)->setIcon(RibbonIcon(RibbonPicture::openFile));
  AddCommand(cmd::fileSave)->setIcon(RibbonIcon(RibbonPicture::saveFile));
  AddCommand(cmd::backups)->setIcon(RibbonIcon(RibbonPicture::loadMode));
  AddCommand(cmd::remoteServer)->setIcon(RibbonIcon(RibbonPicture::phone));
  addSeparator();
  auto* heading = new QWidgetAction(this);
  auto* label = new QLabel(
      QString::fromUtf8(languageIndex == 1 ? "Last documents(最近的文档)" : "最近的文档(Last documents)"));
  label->setObjectName(QStringLiteral("recentHeading"));
  label->setContentsMargins(8, 4, 8, 4);
  heading->setDefaultWidget(label);
  heading_ = heading;
  addAction(heading_);
  exitSeparator_ = addSeparator();
  AddCommand(cmd::appExit)->setIcon(RibbonIcon(RibbonPicture::exit));
  Recaption(languageIndex);
  connect(this, &QMenu::aboutToShow, this, &CApplicationMenu::RefreshRecentFiles);
}

QAction* CApplicationMenu::AddCommand(int id) {
  QAction* action = addAction(QString());
  SetControlId(action, id);
  connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
  return action;
}

void CApplicationMenu::Recaption(int languageIndex) {
  const bool english = languageIndex == 1;
  for (QAction* action : actions()) {
    switch (ControlIdOf(action)) {
      case cmd::fileOpen:
        action->setText(english ? QStringLiteral("Open(&O)") : QString::fromUtf8("打开(&O)"));
        break;
      case cmd::fileSave:
        action->setText(english ? QStringLiteral("Save(&S)") : QString::fromUtf8("保存(&S)"));
        break;
      case cmd::backups:
        action->setText(english ? QStringLiteral("Backups(&B)...") : QString::fromUtf8("自动备份(&B)..."));
        break;
      case cmd::remoteServer:
        action->setText(english ? QStringLiteral("Remote control(&R)...")
                                : QString::fromUtf8("远程控制(&R)..."));
        break;
      case cmd::appExit:
        action->setText(english ? QStringLiteral("Exit(&X)") : QString::fromUtf8("退出(&X)"));
        break;
      default:
        break;
    }
  }
}

void CApplicationMenu::RefreshRecentFiles() {
  for (QAction* action : recentActions_) {
    removeAction(action);
    action->deleteLater();
  }
  recentActions_.clear();
  const QStringList files = recentFiles_ ? recentFiles_() : QStringList();
  for (int i = 0; i < files.size(); ++i) {
    auto* action =
        new QAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(QDir::toNativeSeparators(files[i])), this);
    connect(action, &QAction::triggered, this, [this, path = files[i]] { emit recentFileChosen(path); });
    insertAction(exitSeparator_, action);
    recentActions_ << action;
  }
}
