#include "home/smart_home_pages.h"

#include "i18n/language_table.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"

bool StartedOrAskForMachine(SmartHomeLink& link, bool started) {
  if (!started) link.ShowNotice(LangText("请先连接设备!", "Please connect device!"), kNoticeShortMs);
  return started;
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
