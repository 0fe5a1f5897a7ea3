// The application's remote-control server.
#include "app/app_remote_control.h"

#include <QStandardPaths>
#include <vector>

#include "app/remote_token_file.h"
#include "remote/access_guard.h"
#include "remote/remote_server.h"
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

}  // namespace

AppRemoteControl::AppRemoteControl(AppServices& app, CMainFrame& frame, const QString& tokenPath)
    : settings_(app.settings()),
      tokenPath_(tokenPath.isEmpty()
                     ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/remote-token"
                     : tokenPath),
      host_(std::make_unique<CWindowRemoteHost>(app, frame)),
      server_(std::make_unique<vireo::remote::RemoteServer>(*host_)) {
  // The server calls this on its own thread; the signal goes out on the GUI thread through the host, so
  // it ends with the host too.
  server_->SetOnClientsChanged([this] { host_->Post([this] { emit clientsChanged(); }); });
}

AppRemoteControl::~AppRemoteControl() {
  ShutDown();
}

void AppRemoteControl::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  server_->Stop();  // joins the server's thread: nothing posts to the host after this
  host_->Close();
}

bool AppRemoteControl::StartIfSwitchedOn() {
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
    QString why;
    token_ = LoadOrCreateRemoteToken(tokenPath_, &why);
    if (token_.isEmpty()) problem_ = why;
  }
  return token_;
}

bool AppRemoteControl::NewToken() {
  const QString fresh = QString::fromStdString(vireo::remote::NewToken());
  QString why = QStringLiteral("the system's random source gave no token");
  if (fresh.isEmpty() || !WriteRemoteToken(tokenPath_, fresh, &why)) {
    problem_ = why;
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
