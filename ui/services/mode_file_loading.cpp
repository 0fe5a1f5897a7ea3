// Mode file reading and writing with the interface's messages.
#include "services/mode_file_loading.h"

#include <QFileInfo>

#include "i18n/language_table.h"
#include "model/parameter_store.h"
#include "services/user_prompts.h"

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

bool LoadModeFileIntoStore(vireo::ParameterStore& store, const QString& path, QWidget* owner) {
  const vireo::ModeFileResult result = vireo::ReadModeFile(store, path.toStdString());
  if (!result.ok) ShowModeFileReadFailure(result, path, owner);
  return result.ok;
}

void ShowModeFileReadFailure(const vireo::ModeFileResult& result, const QString& path, QWidget* owner) {
  if (result.errorCode != 0) ShowFileOpenFailure(path, owner);
  // The second box names what is wrong with the file: only an unknown version is "not support".
  QString text = FromView(vireo::kModeFileVersionNotSupported);
  if (result.problem == vireo::ModeFileProblem::truncated) {
    text = LangText("文件不完整：比版本%1的模式文件短。", "The file is shorter than a version-%1 mode file.")
               .arg(result.version);
  } else if (result.problem == vireo::ModeFileProblem::notRegularFile ||
             result.problem == vireo::ModeFileProblem::tooLarge) {
    text = LangText("这不是模式文件：\n%1", "This is not a mode file:\n%1").arg(path);
  }
  ShowMessage(owner, text, QStringLiteral("Info"), BoxIcon::information);
}

void ShowModeFileWriteFailure(const vireo::ModeFileResult& result, const QString& path, QWidget* owner) {
  ShowFileWriteFailure(result.errorCode, path, owner);
}

void ShowFileOpenFailure(const QString& path, QWidget* owner) {
  ShowMessage(owner, FromView(vireo::kModeFileOpenErrorFormat).replace(QLatin1String("%s"), path),
              FromView(vireo::kModeFileErrorCaption), BoxIcon::warning);
}

void ShowFileWriteFailure(int errorCode, const QString& path, QWidget* owner) {
  QString text = FromView(vireo::kModeFileWriteErrorFormat);
  text.replace(QLatin1String("%d"), QString::number(errorCode)).replace(QLatin1String("%s"), path);
  ShowMessage(owner, text, FromView(vireo::kModeFileErrorCaption), BoxIcon::warning);
}
