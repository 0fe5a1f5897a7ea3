// The tuning dialogs' slots.
#include "dialogs/tuning_dialogs.h"

#include "dialogs/features_dlg.h"
#include "dialogs/machine_set_dlg.h"
#include "dialogs/music_input_dlg.h"
#include "dialogs/tuning_dialog_kit.h"
#include "services/app_services.h"

void OpenMachineSettings(AppServices& app) {
  if (auto* open = ExistingWindow<CMachineSetDlg>(app.windows().machineSettings)) {
    open->show();
    open->raise();
    open->activateWindow();
    return;
  }
  auto* dialog = new CMachineSetDlg(app, app.mainWindow());
  app.windows().machineSettings = dialog;
  ShowCentred(dialog);
}

void OpenFeatures(AppServices& app) {
  auto* dialog = ExistingWindow<CloudnessDlg>(app.windows().features);
  if (dialog == nullptr) {
    dialog = new CloudnessDlg(app, app.mainWindow());
    app.windows().features = dialog;
  }
  dialog->FillFeatures();
  dialog->ApplyLanguage();
  ShowCentred(dialog);
}

void OpenMusicInput(AppServices& app) {
  auto* dialog = ExistingWindow<CDialogMusicInput>(app.windows().inputSource);
  if (dialog == nullptr) {
    dialog = new CDialogMusicInput(app, app.mainWindow());
    app.windows().inputSource = dialog;
  }
  dialog->FillSources();
  dialog->ApplyLanguage();
  ShowCentred(dialog);
}

void RefreshTuningDialogs(AppServices& app, bool afterSync) {
  if (auto* settings = ExistingWindow<CMachineSetDlg>(app.windows().machineSettings); settings && afterSync)
    settings->FillFromSettings();
  if (auto* features = ExistingWindow<CloudnessDlg>(app.windows().features)) features->FillFeatures();
  if (auto* sources = ExistingWindow<CDialogMusicInput>(app.windows().inputSource)) sources->FillSources();
}

void RecaptionTuningDialogs(AppServices& app) {
  if (auto* settings = ExistingWindow<CMachineSetDlg>(app.windows().machineSettings))
    settings->ApplyLanguage();
  if (auto* features = ExistingWindow<CloudnessDlg>(app.windows().features)) features->ApplyLanguage();
  if (auto* sources = ExistingWindow<CDialogMusicInput>(app.windows().inputSource)) sources->ApplyLanguage();
}
