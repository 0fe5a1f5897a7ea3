// The per-user settings store.
#include "services/app_settings.h"

#include <QFileInfo>
#include <QLocale>

namespace {
constexpr const char* kWorkspace = "Workspace";
constexpr const char* kRecentGroup = "Recent File List";
constexpr const char* kRemoteOn = "Remote Control/on";
constexpr const char* kRemoteListen = "Remote Control/listen";
constexpr const char* kMqttOn = "Remote Control/mqttOn";
constexpr const char* kMqttHost = "Remote Control/mqttHost";
constexpr const char* kMqttPort = "Remote Control/mqttPort";
constexpr const char* kMqttUser = "Remote Control/mqttUser";
constexpr const char* kMqttTls = "Remote Control/mqttTls";
constexpr const char* kMqttCaFile = "Remote Control/mqttCaFile";
constexpr const char* kMqttMachineId = "Remote Control/mqttMachineId";
}  // namespace

AppSettings::AppSettings() : settings_(kSettingsKey, kApplicationName) {}

int LanguageForLocale(const QLocale& locale) {
  return locale.language() == QLocale::Chinese ? 0 : 1;
}

int AppSettings::Language() const {
  const QVariant stored = settings_.value(QStringLiteral("%1/language").arg(kWorkspace));
  // Before the user ever chose, speak the desktop's language: Chinese desktops get Chinese, all others
  // English. QLocale() is the system locale unless the process set another default.
  if (!stored.isValid()) return LanguageForLocale(QLocale());
  return stored.toInt() == 1 ? 1 : 0;
}

void AppSettings::SetLanguage(int languageIndex) {
  settings_.setValue(QStringLiteral("%1/language").arg(kWorkspace), languageIndex);
  settings_.sync();
}

void AppSettings::WriteApplicationLook() {
  settings_.setValue(QStringLiteral("%1/ApplicationLook").arg(kWorkspace), kApplicationLook);
  settings_.sync();
}

int AppSettings::ApplicationLook() const {
  return settings_.value(QStringLiteral("%1/ApplicationLook").arg(kWorkspace), kApplicationLook).toInt();
}

QStringList AppSettings::RecentFiles() const {
  QStringList files;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString path = settings_.value(QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i)).toString();
    if (!path.isEmpty()) files << path;
  }
  return files;
}

void AppSettings::AddRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kRecentFileCount) files.removeLast();
  WriteRecentFiles(files);
}

void AppSettings::WriteRecentFiles(const QStringList& files) {
  settings_.remove(kRecentGroup);
  for (int i = 0; i < files.size(); ++i) {
    settings_.setValue(QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i + 1), files[i]);
  }
  settings_.sync();
}

bool AppSettings::RemoteControlOn() const {
  return settings_.value(kRemoteOn, false).toBool();
}

void AppSettings::SetRemoteControlOn(bool on) {
  settings_.setValue(kRemoteOn, on);
  settings_.sync();
}

QStringList AppSettings::RemoteListenAddresses() const {
  const QStringList stored = settings_.value(kRemoteListen).toStringList();
  return stored.isEmpty() ? QStringList{QString::fromLatin1(kDefaultRemoteListen)} : stored;
}

void AppSettings::SetRemoteListenAddresses(const QStringList& addresses) {
  settings_.setValue(kRemoteListen, addresses);
  settings_.sync();
}

bool AppSettings::MqttOn() const {
  return settings_.value(kMqttOn, false).toBool();
}

void AppSettings::SetMqttOn(bool on) {
  settings_.setValue(kMqttOn, on);
  settings_.sync();
}

QString AppSettings::MqttHost() const {
  return settings_.value(kMqttHost).toString();
}

int AppSettings::MqttPort() const {
  bool ok = false;
  const int port = settings_.value(kMqttPort).toInt(&ok);
  return ok && port >= 1 && port <= 65535 ? port : 1883;
}

QString AppSettings::MqttUser() const {
  return settings_.value(kMqttUser).toString();
}

bool AppSettings::MqttTls() const {
  return settings_.value(kMqttTls, false).toBool();
}

QString AppSettings::MqttCaFile() const {
  return settings_.value(kMqttCaFile).toString();
}

QString AppSettings::MqttMachineId() const {
  return settings_.value(kMqttMachineId).toString();
}

void AppSettings::SetMqttBroker(const QString& host, int port, const QString& user, bool tls,
                                const QString& caFile, const QString& machineId) {
  settings_.setValue(kMqttHost, host);
  settings_.setValue(kMqttPort, port);
  settings_.setValue(kMqttUser, user);
  settings_.setValue(kMqttTls, tls);
  settings_.setValue(kMqttCaFile, caFile);
  settings_.setValue(kMqttMachineId, machineId);
  settings_.sync();
}
