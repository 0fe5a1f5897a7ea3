// The per-user settings: "Calyx V1.0" / "Vireo", section "Workspace", and the recent-file list.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

inline constexpr const char* kSettingsKey = "Calyx V1.0";
inline constexpr const char* kApplicationName = "Vireo";
inline constexpr int kApplicationLook = 215;
inline constexpr int kRecentFileCount = 10;

class AppSettings {
 public:
  AppSettings();

  int Language() const;  // 0 Chinese (also when missing or unknown), 1 English
  void SetLanguage(int languageIndex);
  void WriteApplicationLook();
  int ApplicationLook() const;

  // Most recent first, at most 10, only paths that were added (existence is checked when opened).
  QStringList RecentFiles() const;
  void AddRecentFile(const QString& path);

  QSettings& raw() { return settings_; }

 private:
  void WriteRecentFiles(const QStringList& files);
  QSettings settings_;
};
