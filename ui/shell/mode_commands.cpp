// Mode file and mode slot commands.
#include "shell/mode_commands.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "device/connection.h"
#include "i18n/language_table.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "ribbon/mode_slot_texts.h"
#include "services/app_services.h"
#include "services/mode_file_loading.h"
#include "services/user_prompts.h"
#include "shell/main_frame.h"
#include "tuning/mode_file_ops.h"
#include "tuning/mode_slots.h"

namespace {
const char* const kModeFilter = "Mode Files (*.noveq)";
QString InformationCaption() {
  return LangText("信息", "Information");
}
}  // namespace

CModeCommands::CModeCommands(AppServices& app) : app_(app) {}

bool CModeCommands::RequireConnection() {
  if (app_.connection().connected()) return true;
  app_.ShowNotice(LangText("请先连接设备!", "Please connect device!"), kNoticeShortMs);
  return false;
}

void CModeCommands::LoadFile() {
  if (!RequireConnection()) return;
  FileDialogRequest request;
  request.filter = QString::fromLatin1(kModeFilter);
  const QString path = Prompts().ChooseFile(app_.mainWindow(), request);
  if (path.isEmpty()) return;
  if (!app_.BackUpTuning(QStringLiteral("open-file"))) return;
  vireo::MachineConnection& connection = app_.connection();
  // A file whose name begins with m1..m4 also lands in that slot once the write-all is done; a file
  // that failed leaves no slot pending.
  const vireo::ModeFileResult result = vireo::tuning::LoadModeFileIntoMachine(connection, path.toStdString());
  if (!result.ok) {
    // A machine that went away or is busy with a transfer is not the file's fault.
    if (connection.connected() && connection.idle()) ShowModeFileReadFailure(result, path, app_.mainWindow());
    return;
  }
  app_.settings().AddRecentFile(path);
  app_.ShowSyncWindow(QString());
}

QString CModeCommands::ChooseSaveFile(const QString& defaultName) {
  FileDialogRequest request;
  request.save = true;
  request.filter = QString::fromLatin1(kModeFilter);
  request.defaultSuffix = QStringLiteral("noveq");
  request.defaultName = defaultName;
  return Prompts().ChooseFile(app_.mainWindow(), request);
}

void CModeCommands::SaveFile() {
  if (!RequireConnection()) return;
  const QString path = ChooseSaveFile(QStringLiteral("name"));
  if (path.isEmpty()) return;
  const vireo::ModeFileResult result =
      vireo::tuning::SaveMachineModeFile(app_.connection(), path.toStdString());
  if (!result.ok) {
    ShowModeFileWriteFailure(result, path, app_.mainWindow());
    return;
  }
  app_.settings().AddRecentFile(path);
}

void CModeCommands::LoadSlot(int slot, bool fromKey) {
  vireo::MachineConnection& connection = app_.connection();
  if (!connection.connected()) return;
  if (app_.store().writeAck() == 1) {
    const QString lead = fromKey
                             ? LangText("参数已更改，确定要载入", "Setting changed ! Are you sure to load ")
                             : LangText("参数已更改，确定要直接载入", "Setting changed ! Are you sure load ");
    QWidget* owner = fromKey ? QApplication::activeWindow() : app_.mainWindow();
    if (!AskYesNo(owner, lead + ModeSlotQuestionTail(slot, LanguageIndex()), InformationCaption())) return;
  }
  if (!app_.BackUpTuning(QStringLiteral("slot-%1").arg(slot + 1))) return;
  if (vireo::tuning::LoadModeSlot(connection, slot)) app_.ShowSyncWindow(QString());
}

void CModeCommands::StoreSlot(int slot, bool fromKey) {
  vireo::MachineConnection& connection = app_.connection();
  if (!connection.connected()) return;
  QWidget* owner = fromKey ? QApplication::activeWindow() : app_.mainWindow();
  const QString question = LangText("确定要保存至", "Save to ") + ModeSlotQuestionTail(slot, LanguageIndex());
  if (!AskYesNo(owner, question, InformationCaption())) return;
  if (!vireo::tuning::StoreModeSlot(connection, slot)) return;
  const QString name = ModeSlotModeName(slot, LanguageIndex());
  app_.ShowNotice(LanguageIndex() == 1 ? QStringLiteral("Saving %1 ……").arg(name)
                                       : QString::fromUtf8("正在储存%1,请稍等").arg(name),
                  kSavingNoticeMs);
  if (fromKey) WaitOnInterface(kSaveKeyWaitMs);
}

void CModeCommands::RestoreFactorySlot(int slot) {
  if (!app_.connection().connected() || !app_.BackUpTuning(QStringLiteral("factory-slot-%1").arg(slot + 1)))
    return;
  if (vireo::tuning::RestoreFactorySlot(app_.connection(), slot)) app_.ShowSyncWindow(QString());
}

// The machine needs a moment after storing a slot: the interface waits without taking input, but
// still paints the notice.
void CModeCommands::WaitOnInterface(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool CModeCommands::AskSaveBeforeExit() {
  vireo::ParameterStore& store = app_.store();
  if (store.writeAck() != 1) return true;
  const QString text =
      LangText("参数已改动，请问是否需要保存?\r\n提示：保存成电脑文件并同时保存至机器的当前模式",
               "parameter value is changed, do you want save it ?");
  const BoxAnswer answer = Prompts().Ask(app_.mainWindow(), text, LangText("保存?", "Save?"),
                                         BoxIcon::question, BoxButtons::yesNoCancel);
  if (answer == BoxAnswer::cancel) return false;
  if (answer == BoxAnswer::yes) {
    const QString path = ChooseSaveFile(QStringLiteral("preset"));
    if (!path.isEmpty()) {
      store.setWriteAck(0);
      const vireo::ModeFileResult result =
          vireo::tuning::SaveMachineModeFile(app_.connection(), path.toStdString());
      if (result.ok) {
        app_.settings().AddRecentFile(path);
      } else {
        ShowModeFileWriteFailure(result, path, app_.mainWindow());
      }
    }
  }
  return true;
}
