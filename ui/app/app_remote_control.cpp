// The application's remote-control server.
#include "app/app_remote_control.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cstdio>
#include <vector>

#include "remote/access_guard.h"
#include "remote/mqtt_bridge.h"
#include "remote/remote_server.h"
#include "remote/token_file.h"
#include "services/app_services.h"
#include "services/app_settings.h"
#include "shell/window_remote_host.h"

namespace {

bool ParseListenList(const QStringList& texts, std::vector<vireo::remote::ListenAddress>* addresses,
                     QString* problem) {
  addresses->clear();
  for (const QString& text : texts) {
    vireo::remote::ListenAddress address;
    std::string why;
    if (!vireo::remote::ParseListenAddress(text.trimmed().toStdString(), &address, &why)) {
      *problem = QString::fromStdString(why);
      return false;
    }
    addresses->push_back(address);
  }
  if (addresses->empty()) {
    *problem = QStringLiteral("no address to listen on");
    return false;
  }
  return true;
}

vireo::remote::MqttOptions ToOptions(const MqttLinkSettings& s) {
  vireo::remote::MqttOptions o;
  o.host = s.host.toStdString();
  o.port = s.port;
  o.user = s.user.toStdString();
  o.password = s.password.toStdString();
  o.tls = s.tls;
  o.caFile = s.caFile.toStdString();
  o.machineId = s.machineId.toStdString();
  return o;
}

// What the bridge itself cannot tell: the fields as the window gives them.
bool CheckMqttSettings(const MqttLinkSettings& s, QString* problem) {
  if (s.host.trimmed().isEmpty())
    *problem = QStringLiteral("no broker: give its name or address");
  else if (s.host.contains(QRegularExpression(QStringLiteral("[\\s/@]"))))
    *problem = QStringLiteral("'%1' is not a broker's name or address").arg(s.host);
  else if (s.port < 1 || s.port > 65535)
    *problem = QStringLiteral("the port must be 1 to 65535");
  else if (!s.password.isEmpty() && s.user.isEmpty())
    *problem = QStringLiteral("a password needs a user");
  else if (!s.machineId.isEmpty() && !vireo::remote::IsValidMachineId(s.machineId.toStdString()))
    *problem = QStringLiteral("the machine name needs 1 to 64 of a-z, 0-9, '-' and '_'");
  else if (!s.caFile.isEmpty() && !QFileInfo(s.caFile).isReadable())
    *problem = QStringLiteral("cannot read the CA file %1").arg(s.caFile);
  else
    return true;
  return false;
}

MqttLinkState ToLinkState(vireo::remote::MqttState state) {
  switch (state) {
    case vireo::remote::MqttState::stopped: return MqttLinkState::off;
    case vireo::remote::MqttState::naming: return MqttLinkState::naming;
    case vireo::remote::MqttState::connecting: return MqttLinkState::connecting;
    case vireo::remote::MqttState::connected: return MqttLinkState::connected;
    case vireo::remote::MqttState::reconnecting: return MqttLinkState::reconnecting;
  }
  return MqttLinkState::off;
}

}  // namespace

AppRemoteControl::AppRemoteControl(AppServices& app, CMainFrame& frame, const QString& tokenPath)
    : settings_(app.settings()),
      tokenPath_(tokenPath.isEmpty()
                     ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/remote-token"
                     : tokenPath),
      passwordPath_(QFileInfo(tokenPath_).absolutePath() + "/mqtt-password"),
      host_(std::make_unique<CWindowRemoteHost>(app, frame)),
      server_(std::make_unique<vireo::remote::RemoteServer>(*host_)),
      bridge_(std::make_unique<vireo::remote::MqttBridge>(*host_)) {
  // The server and the bridge call these on their own threads; the signals go out on the GUI thread
  // through the host, so they end with the host too.
  server_->SetOnClientsChanged([this] { host_->Post([this] { emit clientsChanged(); }); });
  bridge_->SetOnStatusChanged([this] { host_->Post([this] { emit mqttChanged(); }); });
  // Refused commands and failed publishes: the window has no log pane, so they go where a service's
  // messages go.
  bridge_->SetLog([](std::string line) { std::fprintf(stderr, "vireo: MQTT: %s\n", line.c_str()); });
}

AppRemoteControl::~AppRemoteControl() {
  ShutDown();
}

void AppRemoteControl::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  bridge_->Stop();  // takes the entities out of Home Assistant and joins the bridge's threads
  server_->Stop();  // joins the server's thread: nothing posts to the host after this
  host_->Close();
}

bool AppRemoteControl::StartIfSwitchedOn() {
  if (settings_.MqttOn()) {
    StartBridge(mqttSettings(), &mqttProblem_);
    emit mqttChanged();
  }
  if (!settings_.RemoteControlOn()) return true;
  const bool started = Listen();
  emit stateChanged();
  return started;
}

bool AppRemoteControl::running() const {
  return server_->running();
}

bool AppRemoteControl::Listen() {
  if (shutDown_) return false;
  std::vector<vireo::remote::ListenAddress> addresses;
  QString why;
  if (!ParseListenList(settings_.RemoteListenAddresses(), &addresses, &why)) {
    server_->Stop();
    problem_ = why;
    return false;
  }
  const QString key = token();
  if (key.isEmpty()) {
    server_->Stop();
    return false;
  }
  vireo::remote::ServerOptions options;
  options.listen = std::move(addresses);
  options.token = key.toStdString();
  std::string failure;
  if (!server_->Start(options, &failure)) {
    problem_ = QString::fromStdString(failure);
    return false;
  }
  problem_.clear();
  return true;
}

bool AppRemoteControl::Start() {
  const bool started = Listen();
  if (started) settings_.SetRemoteControlOn(true);
  emit stateChanged();
  return started;
}

void AppRemoteControl::Stop() {
  server_->Stop();
  settings_.SetRemoteControlOn(false);
  emit stateChanged();
  emit clientsChanged();
}

QStringList AppRemoteControl::listenAddresses() const {
  return settings_.RemoteListenAddresses();
}

bool AppRemoteControl::SetListenAddresses(const QStringList& addresses, QString* problem) {
  std::vector<vireo::remote::ListenAddress> parsed;
  if (!ParseListenList(addresses, &parsed, problem)) return false;
  QStringList texts;
  for (const vireo::remote::ListenAddress& a : parsed) texts << QString::fromStdString(ListenAddressText(a));
  settings_.SetRemoteListenAddresses(texts);
  if (running()) {
    Listen();  // a failure leaves the server off, with the reason in problem()
    emit clientsChanged();
  }
  emit stateChanged();
  return true;
}

QString AppRemoteControl::token() const {
  if (token_.isEmpty()) {
    bool created = false;
    std::string why;
    token_ = QString::fromStdString(
        vireo::remote::LoadOrCreateToken(QFile::encodeName(tokenPath_).toStdString(), &created, &why));
    if (token_.isEmpty()) problem_ = QString::fromStdString(why);
  }
  return token_;
}

bool AppRemoteControl::NewToken() {
  const QString fresh = QString::fromStdString(vireo::remote::NewToken());
  std::string why = "the system's random source gave no token";
  if (fresh.isEmpty() ||
      !vireo::remote::WriteSecretFile(QFile::encodeName(tokenPath_).toStdString(), fresh.toStdString(),
                                      "token file", &why)) {
    problem_ = QString::fromStdString(why);
    emit stateChanged();
    return false;
  }
  token_ = fresh;
  problem_.clear();
  server_->SetToken(fresh.toStdString());
  emit stateChanged();
  return true;
}

QList<RemoteEndpoint> AppRemoteControl::boundAddresses() const {
  QList<RemoteEndpoint> endpoints;
  for (const vireo::remote::ListenAddress& a : server_->boundAddresses())
    endpoints.append({QString::fromStdString(a.host), a.port});
  return endpoints;
}

QList<RemoteClientEntry> AppRemoteControl::clients() const {
  QList<RemoteClientEntry> entries;
  for (const vireo::remote::ClientInfo& c : server_->clients()) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(c.since.time_since_epoch()).count();
    entries.append({QString::fromStdString(c.address), QDateTime::fromMSecsSinceEpoch(ms)});
  }
  return entries;
}

MqttLinkSettings AppRemoteControl::mqttSettings() const {
  MqttLinkSettings s;
  s.host = settings_.MqttHost();
  s.port = settings_.MqttPort();
  s.user = settings_.MqttUser();
  // An unreadable password file reads as none; the broker then refuses with its reason.
  std::string password, ignored;
  if (!s.user.isEmpty() &&
      vireo::remote::ReadSecretFile(QFile::encodeName(passwordPath_).toStdString(), &password, &ignored))
    s.password = QString::fromStdString(password);
  s.tls = settings_.MqttTls();
  s.caFile = settings_.MqttCaFile();
  s.machineId = settings_.MqttMachineId();
  return s;
}

bool AppRemoteControl::SetMqttSettings(const MqttLinkSettings& settings, QString* problem) {
  if (!CheckMqttSettings(settings, problem)) return false;
  const QString password = settings.user.isEmpty() ? QString() : settings.password;
  std::string why;
  if (password.isEmpty()) {
    if (QFile::exists(passwordPath_) && !QFile::remove(passwordPath_)) {
      *problem = QStringLiteral("cannot remove %1").arg(passwordPath_);
      return false;
    }
  } else if (!vireo::remote::WriteSecretFile(QFile::encodeName(passwordPath_).toStdString(),
                                             password.toStdString(), "password file", &why)) {
    *problem = QString::fromStdString(why);
    return false;
  }
  settings_.SetMqttBroker(settings.host.trimmed(), settings.port, settings.user, settings.tls, settings.caFile,
                          settings.machineId);
  if (bridge_->running()) StartBridge(mqttSettings(), problem);
  emit mqttChanged();
  return true;
}

bool AppRemoteControl::mqttOn() const {
  return bridge_->running();
}

bool AppRemoteControl::StartBridge(const MqttLinkSettings& settings, QString* problem) {
  if (shutDown_) return false;
  if (!CheckMqttSettings(settings, problem)) return false;
  std::string why;
  if (!bridge_->Start(ToOptions(settings), &why)) {
    *problem = QString::fromStdString(why);
    return false;
  }
  problem->clear();
  return true;
}

bool AppRemoteControl::StartMqtt(QString* problem) {
  const bool started = StartBridge(mqttSettings(), problem);
  if (started) settings_.SetMqttOn(true);
  emit mqttChanged();
  return started;
}

void AppRemoteControl::StopMqtt() {
  bridge_->Stop();
  settings_.SetMqttOn(false);
  emit mqttChanged();
}

MqttLinkStatus AppRemoteControl::mqttStatus() const {
  const vireo::remote::MqttStatus s = bridge_->status();
  MqttLinkStatus status;
  status.state = ToLinkState(s.state);
  status.broker = QString::fromStdString(s.broker);
  status.machineId = QString::fromStdString(s.machineId);
  status.lastError = QString::fromStdString(s.lastError);
  if (status.state == MqttLinkState::off && settings_.MqttOn()) status.lastError = mqttProblem_;
  return status;
}
