#include "home/smart_home_windows.h"

#include <QDialog>
#include <string>

#include "app/kestrel_app.h"
#include "app/user_prompts.h"
#include "device/events.h"
#include "dialogs/tuning_dialog_kit.h"
#include "home/remote_dlg.h"
#include "home/remote_study_dlg.h"
#include "home/smart_home_link.h"
#include "shell/main_frame.h"
#include "smarthome/plug_keys.h"

namespace {
template <typename T>
T* Existing(const QPointer<QWidget>& slot) {
  return qobject_cast<T*>(slot.data());
}
}  // namespace

void OpenRemoteLearning(CKestrelv13App& app) {
  if (!app.smartHome().connected()) return;
  auto* window = Existing<CRemoteDlg>(app.windows().remoteLearning);
  if (window == nullptr) {
    window = new CRemoteDlg(app.smartHome(), app.frame());
    window->setAttribute(Qt::WA_DeleteOnClose);
    app.windows().remoteLearning = window;
  }
  window->Recaption();
  ShowCentred(window);
}

bool RouteSmartHomeEvent(CKestrelv13App& app, int message, std::intptr_t a, std::intptr_t /*b*/) {
  switch (message) {
    case vireo::event::keyLearned:
      if (auto* remote = Existing<CRemoteDlg>(app.windows().remoteLearning))
        remote->OnKeyLearned(static_cast<int>(a));
      return true;
    default:
      return false;
  }
}

void RecaptionSmartHomeWindows(CKestrelv13App& app) {
  if (auto* remote = Existing<CRemoteDlg>(app.windows().remoteLearning)) remote->Recaption();
}
