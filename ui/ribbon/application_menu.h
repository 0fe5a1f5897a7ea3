// The application button's menu: Open, Save, Backups, Remote control, the recent-file list under its heading, Exit.
#pragma once

#include <QMenu>
#include <functional>

class CApplicationMenu : public QMenu {
  Q_OBJECT
 public:
  // The recent files are asked for each time the menu opens. The heading's language is fixed here.
  CApplicationMenu(int languageIndex, std::function<QStringList()> recentFiles, QWidget* parent = nullptr);

  void Recaption(int languageIndex);
  // Rebuilds the recent-file entries (done before every showing).
  void RefreshRecentFiles();

 signals:
  void commandTriggered(int id);
  void recentFileChosen(const QString& path);

 private:
  QAction* AddCommand(int id);

  std::function<QStringList()> recentFiles_;
  QAction* heading_ = nullptr;
  QAction* exitSeparator_ = nullptr;
  QList<QAction*> recentActions_;
};
