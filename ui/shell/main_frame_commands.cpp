// The main window's command handlers.
#include <QApplication>

#include "device/connection.h"
#include "device/events.h"
#include "dialogs/about_dlg.h"
#include "dialogs/backups_dlg.h"
#include "dialogs/remote_control_dlg.h"
#include "dialogs/tuning_dialogs.h"
#include "home/smart_home_windows.h"
#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "pages/page.h"
#include "services/app_services.h"
#include "services/user_prompts.h"
#include "shell/connection_controller.h"
#include "shell/language_switch.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "shell/mode_commands.h"

namespace {
bool InRange(int id, int first, int count) {
  return id >= first && id < first + count;
}
}  // namespace

void CMainFrame::OnCommand(int id) {
  const bool connected = app_.connection().connected();
  if (InRange(id, cmd::loadSlotFirst, 4)) return modes_->LoadSlot(id - cmd::loadSlotFirst, false);
  if (InRange(id, cmd::saveSlotFirst, 4)) return modes_->StoreSlot(id - cmd::saveSlotFirst, false);
  if (InRange(id, cmd::resetSlotFirst, 4)) return modes_->RestoreFactorySlot(id - cmd::resetSlotFirst);
  switch (id) {
    case cmd::fileOpen:
    case kInputIds.loadFile:
    case kOutputIds.loadFile:
      modes_->LoadFile();
      break;
    case cmd::fileSave:
    case kInputIds.saveFile:
    case kOutputIds.saveFile:
      modes_->SaveFile();
      break;
    case cmd::appExit:
      close();
      break;
    case cmd::smartPlug:
      // The smart-plug window opens even without a machine, after this reminder.
      if (!connected) app_.ShowNotice(LangText("请先连接机器", "Please connect device"), kNoticeShortMs);
      OpenSmartPlugs(app_);
      break;
    case cmd::remoteControl:
      OpenRemoteLearning(app_);
      break;
    case cmd::machineReset:
      if (connected) view_->connectionController().AskResetMachine();
      break;
    case cmd::switchLanguage:
      SwitchLanguage(app_, *this);
      break;
    case cmd::abCompare:
      SwitchTuning();
      break;
    case cmd::backups: {
      CBackupsDlg backups(app_, this);
      backups.exec();
      break;
    }
    case cmd::remoteServer: {
      CRemoteControlDlg remote(app_, this);
      remote.exec();
      break;
    }
    case cmd::appAbout:
      ShowAbout();
      break;
    case cmd::editUndo:
      Undo();
      break;
    case cmd::editRedo:
      Redo();
      break;
    case cmd::eqBypass:
      ToggleShownEqBypass();
      break;
    case cmd::resetEq:
      AskResetShownEq();
      break;
    case cmd::features:
      OpenFeatures(app_);
      break;
    case cmd::inputSource:
      OpenMusicInput(app_);
      break;
    default:
      break;
  }
}

void CMainFrame::AskResetShownEq() {
  CPage* page = view_->currentPage();
  if (!page || !page->OffersShownEq()) return;
  if (!AskYesNo(this, LangText("您确定重置当前均衡吗?", "Are you sure reset the EQ?"),
                QString::fromUtf8("提示")))
    return;
  page->ResetShownEq();
  page->update();
}

void CMainFrame::ShowAbout() {
  vireo::MachineConnection& connection = app_.connection();
  CAboutDlg about(
      app_.store(), connection.meterPollEnabled(),
      [&connection](bool on) { connection.setMeterPollEnabled(on); }, this);
  about.exec();
}

void CMainFrame::OnDeviceEvent(int message, std::intptr_t a, std::intptr_t b) {
  switch (message) {
    case vireo::event::syncDone:
      view_->connectionController().OnSyncDone(static_cast<int>(a));
      break;
    case vireo::event::parameterError: {
      // The machine refused a parameter; the core raises this once per run and the box says which.
      const auto byte = [a](int shift) { return static_cast<unsigned>((a >> shift) & 0xFF); };
      const QString text =
          QString::asprintf("参数错误,代码0x:%02X,指令1:0x%02X,指令2:0x%02X ", byte(16), byte(8), byte(0));
      ShowMessage(this, text, QStringLiteral("Error"), BoxIcon::error);
      break;
    }
    default:
      RouteSmartHomeEvent(app_, message, a, b);
      break;
  }
}
