#include "home/smart_home_pages.h"

#include "app/kestrel_app.h"
#include "app/user_prompts.h"
#include "home/smart_home_link.h"
#include "i18n/language_table.h"
#include "smarthome/smart_home_controller.h"

bool StartedOrAskForMachine(SmartHomeLink& link, bool started) {
  if (!started) link.ShowNotice(LangText("请先连接设备!", "Please connect device!"), kNoticeShortMs);
  return started;
}

bool ConfirmSmartHomeWipe(QWidget* owner) {
  return AskYesNo(owner,
                  LangText("这将删除所有插座、情景和遥控按键数据，按键文件会先备份。\n确定继续吗？",
                           "This removes every plug, scene and remote key; the key files are backed up "
                           "first.\nContinue?"),
                  LangText("警告", "Warning"));
}

void StartSceneRun(SmartHomeLink& link, int scene, bool fromTest) {
  if (!StartedOrAskForMachine(link, link.connected())) return;
  QString text;
  if (fromTest) {
    text = LangText("载入情景中……", "Loading scene...");
  } else if (scene == 4) {
    text = LangText("调用开机情景……", "Power on ");
  } else if (scene == 5) {
    text = LangText("调用关机情景……", "Power off");
  } else {
    text = LangText("载入情景中", "Loading scene...");
  }
  // The window is modal: the run starts first and its end (3025 with 1, 1) closes the window.
  if (!link.controller().RunScene(scene)) return;
  link.ShowSyncWindow(text);
}
