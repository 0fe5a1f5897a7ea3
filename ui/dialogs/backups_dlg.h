// The automatic backups: when each was kept and what was about to overwrite the machine, how much it
// differs from the tuning now, the differences themselves, and a way back to it.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "model/backups.h"

class AppServices;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// What overwrote the machine, in the interface language: "open-file", "slot-2", "factory-slot-1",
// "restore", or the name as it stands.
QString BackupSourceText(const QString& source);

class CBackupsDlg : public QDialog {
  Q_OBJECT
 public:
  CBackupsDlg(AppServices& app, QWidget* parent);

  QTreeWidget* list() const { return list_; }
  QPlainTextEdit* details() const { return details_; }
  QPushButton* restoreButton() const { return restore_; }

 private:
  void Fill();
  void ShowDetails();
  void RestoreChosen();

  AppServices& app_;
  std::vector<vireo::BackupEntry> entries_;
  QTreeWidget* list_;
  QPlainTextEdit* details_;
  QPushButton* restore_;
};
