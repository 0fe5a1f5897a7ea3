// Mode file reading and writing with the interface's messages.
#include "app/mode_file_loading.h"

#include <QFileInfo>

#include "app/user_prompts.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace {
QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

bool CheckModeFilePath(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    ShowMessage(nullptr, QString::fromUtf8("文件不存在！"), QString::fromUtf8("文件打开错误"),
                BoxIcon::information);
    return false;
  }
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  const QString extension = dot < 0 ? path : path.mid(dot + 1);
  return extension.compare(QLatin1String("noveq"), Qt::CaseInsensitive) == 0;
}

bool LoadModeFileIntoStore(const QString& path, QWidget* owner) {
  const vireo::ModeFileResult result = vireo::ReadModeFile(vireo::TheStore(), path.toStdString());
  if (result.ok) return true;
  if (result.errorCode != 0) {
    ShowMessage(owner, FromView(vireo::kModeFileOpenErrorFormat).replace(QLatin1String("%s"), path),
                FromView(vireo::kModeFileErrorCaption), BoxIcon::warning);
  }
  ShowMessage(owner, FromView(vireo::kModeFileVersionNotSupported), QStringLiteral("Info"),
              BoxIcon::information);
  return false;
}

bool SaveStoreAsModeFile(const QString& path, QWidget* owner) {
  const vireo::ModeFileResult result = vireo::WriteModeFile(vireo::TheStore(), path.toStdString());
  if (result.ok) return true;
  QString text = FromView(vireo::kModeFileWriteErrorFormat);
  text.replace(QLatin1String("%d"), QString::number(result.errorCode)).replace(QLatin1String("%s"), path);
  ShowMessage(owner, text, FromView(vireo::kModeFileErrorCaption), BoxIcon::warning);
  return false;
}
