// The single-instance guard.
#include "app/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "services/app_settings.h"

namespace {
constexpr const char* kActivateRequest = "activate\n";
constexpr const char* kActivatedReply = "ok\n";
constexpr int kAnswerTimeoutMs = 3000;
}  // namespace

SingleInstanceGuard::SingleInstanceGuard(QString directory, QObject* parent)
    : QObject(parent), directory_(std::move(directory)) {}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (server_) server_->close();
}

QString SingleInstanceGuard::DefaultDirectory() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir;
}

QString SingleInstanceGuard::socketPath() const {
  return QDir(directory_).filePath(QString::fromLatin1(kSettingsKey) + QStringLiteral(".socket"));
}

SingleInstanceGuard::Outcome SingleInstanceGuard::Acquire() {
  QDir().mkpath(directory_);
  lock_ = std::make_unique<QLockFile>(
      QDir(directory_).filePath(QString::fromLatin1(kSettingsKey) + QStringLiteral(".lock")));
  // A lock left by a copy that crashed names a dead process and is taken over.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return Outcome::first;
  const QLockFile::LockError error = lock_->error();
  lock_.reset();
  if (error != QLockFile::LockFailedError) return Outcome::failed;
  return AskRunningInstanceToActivate(socketPath(), kAnswerTimeoutMs) ? Outcome::activatedOther
                                                                      : Outcome::noWindow;
}

bool SingleInstanceGuard::AskRunningInstanceToActivate(const QString& path, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kActivateRequest);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine() == kActivatedReply;
}

bool SingleInstanceGuard::Listen() {
  if (server_) return server_->isListening();
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // We hold the lock, so a socket file left here belongs to a copy that is gone.
  QLocalServer::removeServer(socketPath());
  connect(server_, &QLocalServer::newConnection, this, &SingleInstanceGuard::OnNewConnection);
  return server_->listen(socketPath());
}

bool SingleInstanceGuard::listening() const {
  return server_ && server_->isListening();
}

void SingleInstanceGuard::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() == kActivateRequest) {
        emit activationRequested();
        socket->write(kActivatedReply);
        socket->flush();
      }
      socket->disconnectFromServer();
    });
  }
}
