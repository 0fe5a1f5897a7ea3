// The language switch.
#include "shell/language_switch.h"

#include <QToolButton>

#include "dialogs/info_dlg.h"
#include "dialogs/tuning_dialogs.h"
#include "home/smart_home_windows.h"
#include "i18n/language_table.h"
#include "pages/page.h"
#include "ribbon/application_menu.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_bar.h"
#include "ribbon/ribbon_category.h"
#include "services/app_services.h"
#include "shell/input_controls.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

namespace {

void RecaptionFileButtons(CRibbonCategory& category, int languageIndex) {
  const bool en = languageIndex == 1;
  const CategoryIds& ids = category.ids();
  category.button(ids.loadMode)->setText(en ? QStringLiteral("LoadMode") : QString::fromUtf8("载入模式"));
  category.button(ids.saveMode)->setText(en ? QStringLiteral("SaveMode") : QString::fromUtf8("保存模式"));
  category.button(ids.loadFile)->setText(en ? QStringLiteral("LoadFile") : QString::fromUtf8("载入文件"));
  category.button(ids.saveFile)->setText(en ? QStringLiteral("SaveFile") : QString::fromUtf8("保存文件"));
}

}  // namespace

void RecaptionRibbon(CRibbonBar& ribbon, CInputControls& inputs, int languageIndex) {
  ribbon.RecaptionShell(languageIndex);
  inputs.RecaptionForLanguage(languageIndex);
  for (int index : {kInputCategory, kOutputCategory}) {
    RecaptionFileButtons(*ribbon.category(index), languageIndex);
    ribbon.category(index)->FitPanels();
  }
  ribbon.modeMenus()->Recaption(languageIndex);
  ribbon.applicationMenu()->Recaption(languageIndex);
  ribbon.updateGeometry();
  ribbon.update();
}

void SwitchLanguage(AppServices& app, CMainFrame& mainFrame) {
  SetLanguageIndex(1 - LanguageIndex());
  app.settings().SetLanguage(LanguageIndex());
  const bool written = WriteLanguageTable(LanguageIndex());
  CMainFrame* frame = &mainFrame;
  if (frame) RecaptionRibbon(*frame->ribbon(), frame->inputControls(), LanguageIndex());
  if (written) {
    // The auxiliary windows take their texts here as they are built; the notice follows at once.
    if (auto* notice = ExistingWindow<CInfoDlg>(app.windows().notice)) notice->Recaption();
    RecaptionTuningDialogs(app);
    RecaptionSmartHomeWindows(app);
    if (frame && frame->view()->currentPage()) frame->view()->currentPage()->ApplyLanguage();
  }
  if (frame && frame->view()->currentPage()) frame->view()->currentPage()->update();
  if (frame) frame->UpdateCommandUi();
}
