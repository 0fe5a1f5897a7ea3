// The per-user settings: "Calyx V1.0" / "Vireo", section "Workspace", and the recent-file list.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

class QLocale;

inline constexpr const char* kSettingsKey = "Calyx V1.0";
inline constexpr const char* kApplicationName = "Vireo";
inline constexpr int kApplicationLook = 215;

// The identifier handed to the desktop: the window's app id (Wayland) and desktop-file name, which
// docks match against the installed io.github.vireo.Vireo.desktop, whose icon and AppStream entry carry
// the same name. It is reverse-DNS in lower-case domain parts because AppStream refuses an upper-case
// domain and an element that begins with a digit (which D-Bus names forbid as well). Settings and the
// single-instance lock use kSettingsKey, not this.
inline constexpr const char* kApplicationId = "io.github.vireo.Vireo";
inline constexpr int kRecentFileCount = 10;
// Only this computer until the user lets phones in.
inline constexpr const char* kDefaultRemoteListen = "127.0.0.1:8719";

class AppSettings {
 public:
  AppSettings();

  // 0 Chinese (also for an unknown stored value), 1 English; with nothing stored, after the locale.
  int Language() const;
  void SetLanguage(int languageIndex);
  void WriteApplicationLook();
  int ApplicationLook() const;

  // Most recent first, at most 10, only paths that were added (existence is checked when opened).
  QStringList RecentFiles() const;
  void AddRecentFile(const QString& path);

  // The remote-control server: off unless switched on; where it listens, each "address:port".
  bool RemoteControlOn() const;
  void SetRemoteControlOn(bool on);
  QStringList RemoteListenAddresses() const;
  void SetRemoteListenAddresses(const QStringList& addresses);

  // The MQTT bridge: off unless switched on; the broker and the machine's name (the password is kept in a
  // file of its own).
  bool MqttOn() const;
  void SetMqttOn(bool on);
  QString MqttHost() const;
  int MqttPort() const;  // 1883 when none is stored
  QString MqttUser() const;
  bool MqttTls() const;
  QString MqttCaFile() const;
  QString MqttMachineId() const;
  void SetMqttBroker(const QString& host, int port, const QString& user, bool tls, const QString& caFile,
                     const QString& machineId);

  QSettings& raw() { return settings_; }

 private:
  void WriteRecentFiles(const QStringList& files);
  QSettings settings_;
};

// 0 for a Chinese locale (any script or country), 1 for every other.
int LanguageForLocale(const QLocale& locale);
