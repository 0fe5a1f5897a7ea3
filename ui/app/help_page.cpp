// Installing the help page.
#include "app/help_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString DefaultHelpPagePath() {
  QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty()) data = QDir::homePath();
  return QDir(data).filePath(QStringLiteral("NOVEQ/Plug.html"));
}

bool InstallHelpPage(const QString& path) {
  if (QFileInfo::exists(path)) return true;
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile source(QStringLiteral(":/help/Plug.html"));
  if (!source.open(QIODevice::ReadOnly)) return false;
  const QByteArray page = source.readAll();
  QFile target(path);
  if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  return target.write(page) == page.size();
}
