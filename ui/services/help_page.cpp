// Installing the help page.
#include "services/help_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <string_view>

#include "files/file_access.h"

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
  // In one step: a page cut short (a full disk) would otherwise stay, as an existing page is never
  // installed again.
  return vireo::files::WriteFileAtomically(
             QFile::encodeName(path).toStdString(),
             std::string_view(page.constData(), static_cast<std::size_t>(page.size()))) == 0;
}
