// Reading, creating and replacing the remote-control token file.
#include "app/remote_token_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "files/file_access.h"
#include "remote/access_guard.h"

namespace {

QString SystemText(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the folder and its missing parents; a folder made here is the user's alone.
bool MakeFolder(const QString& folder, QString* problem) {
  if (QFileInfo(folder).isDir()) return true;
  if (!QDir().mkpath(folder)) {
    *problem = QStringLiteral("cannot make the folder %1").arg(folder);
    return false;
  }
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return true;
}

// Replaces `path` with `bytes` (and a line end), mode 0600; `what` names the file in a problem.
bool WriteUserOnlyFile(const QString& path, const QByteArray& bytes, const char* what, QString* problem) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!MakeFolder(folder, problem)) return false;
  // mkstemp makes the file 0600 from the start, so the secret is never readable by others, not even for
  // the moment before the rename.
  QByteArray temporary = QFile::encodeName(path) + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    *problem = QStringLiteral("cannot write the %1 %2: %3").arg(QLatin1String(what), path, SystemText(errno));
    return false;
  }
  const QByteArray line = bytes + '\n';
  bool written =
      ::write(fd, line.constData(), static_cast<std::size_t>(line.size())) == line.size() && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temporary.constData());
    *problem = QStringLiteral("cannot write the %1 %2: %3").arg(QLatin1String(what), path, SystemText(error));
    return false;
  }
  const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace

bool WriteRemoteToken(const QString& path, const QString& token, QString* problem) {
  return WriteUserOnlyFile(path, token.toLatin1(), "token file", problem);
}

QString ReadSecretText(const QString& path, QString* problem) {
  problem->clear();
  std::string text;
  const vireo::files::FileRead read = vireo::files::ReadBoundedFile(path.toStdString(), 4096, &text);
  if (read.ok()) {
    QString secret = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (secret.endsWith(QLatin1Char('\n'))) secret.chop(1);
    return secret;
  }
  if (read.problem != vireo::files::FileProblem::cannotOpen || read.errorCode != ENOENT)
    *problem = QStringLiteral("cannot read %1: %2")
                   .arg(path, QString::fromStdString(vireo::files::DescribeFileProblem(read)));
  return {};
}

bool WriteSecretText(const QString& path, const QString& text, QString* problem) {
  if (text.isEmpty()) {
    if (QFile::exists(path) && !QFile::remove(path)) {
      *problem = QStringLiteral("cannot remove %1").arg(path);
      return false;
    }
    return true;
  }
  return WriteUserOnlyFile(path, text.toUtf8(), "password file", problem);
}

QString LoadOrCreateRemoteToken(const QString& path, QString* problem) {
  std::string text;
  const vireo::files::FileRead read = vireo::files::ReadBoundedFile(path.toStdString(), 4096, &text);
  if (read.ok()) {
    const QString token = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    if (vireo::remote::IsWellFormedToken(token.toStdString())) return token;
    *problem = QStringLiteral("the token file %1 does not hold 32 hexadecimal digits").arg(path);
    return {};
  }
  if (read.problem != vireo::files::FileProblem::cannotOpen || read.errorCode != ENOENT) {
    *problem = QStringLiteral("cannot read the token file %1: %2")
                   .arg(path, QString::fromStdString(vireo::files::DescribeFileProblem(read)));
    return {};
  }
  const QString token = QString::fromStdString(vireo::remote::NewToken());
  if (token.isEmpty()) {
    *problem = QStringLiteral("the system's random source gave no token");
    return {};
  }
  return WriteRemoteToken(path, token, problem) ? token : QString();
}
