#include "home/smart_home_windows.h"

#include <QDialog>
#include <string>

#include "device/events.h"
#include "dialogs/tuning_dialog_kit.h"
#include "home/home_theater_dlg.h"
#include "home/remote_dlg.h"
#include "home/remote_study_dlg.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "services/user_prompts.h"
#include "smarthome/plug_keys.h"

void OpenSmartPlugs(AppServices& app) {
  auto* window = ExistingWindow<CDialogHomeTheater>(app.windows().smartPlugs);
  if (window == nullptr) {
    // The key files of the infrared plugs live there; without the folder a learned key would be lost.
    std::string problem;
    const std::string folder = app.smartHome().plugFolder();
    if (!folder.empty() && !vireo::smarthome::EnsureFolder(folder, &problem))
      ShowMessage(app.mainWindow(), QString::fromUtf8("创建Key目录失败!"), QString::fromUtf8("提示"),
                  BoxIcon::error);
    window = new CDialogHomeTheater(app.smartHome(), app.mainWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    app.windows().smartPlugs = window;
  }
  window->Recaption();
  ShowCentred(window);
}

void OpenRemoteLearning(AppServices& app) {
  if (!app.smartHome().connected()) return;
  auto* window = ExistingWindow<CRemoteDlg>(app.windows().remoteLearning);
  if (window == nullptr) {
    window = new CRemoteDlg(app.smartHome(), app.mainWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    app.windows().remoteLearning = window;
  }
  window->Recaption();
  ShowCentred(window);
}

bool RouteSmartHomeEvent(AppServices& app, int message, std::intptr_t a, std::intptr_t b) {
  switch (message) {
    case vireo::event::keyLearned:
      if (auto* remote = ExistingWindow<CRemoteDlg>(app.windows().remoteLearning))
        remote->OnKeyLearned(static_cast<int>(a));
      return true;
    case vireo::event::zwaveEvent:
      if (auto* plugs = ExistingWindow<CDialogHomeTheater>(app.windows().smartPlugs))
        plugs->OnZwaveEvent(a, b);
      return true;
    case vireo::event::smartHomeRefresh:
      if (auto* plugs = ExistingWindow<CDialogHomeTheater>(app.windows().smartPlugs))
        plugs->OnSmartHomeRefresh(a, b);
      return true;
    default:
      return false;
  }
}

void RecaptionSmartHomeWindows(AppServices& app) {
  if (auto* plugs = ExistingWindow<CDialogHomeTheater>(app.windows().smartPlugs)) plugs->Recaption();
  if (auto* remote = ExistingWindow<CRemoteDlg>(app.windows().remoteLearning)) remote->Recaption();
}
