// The main window: construction, categories, wheel, idle update, closing.
#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QToolButton>

#include "device/connection.h"
#include "dialogs/tuning_dialogs.h"
#include "i18n/language_table.h"
#include "model/parameter_store.h"
#include "pages/page.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_bar.h"
#include "services/app_services.h"
#include "services/device_services.h"
#include "shell/input_controls.h"
#include "shell/main_status_bar.h"
#include "shell/main_view.h"
#include "shell/mode_commands.h"

CMainFrame::CMainFrame(AppServices& app) : app_(app) {
  setMinimumSize(kMainFrameMinWidth, kMainFrameMinHeight);
  resize(kMainFrameMinWidth + 160, kMainFrameMinHeight + 60);
  // The view first: it sets the store's defaults, reads the language and shows the first page.
  view_ = new CKestrelv13View(app, this);
  setCentralWidget(view_);
  app.settings().WriteApplicationLook();

  ribbon_ = new CRibbonBar(
      LanguageIndex(), [&app] { return app.settings().RecentFiles(); }, this);
  setMenuWidget(ribbon_);
  statusBar_ = new CMainStatusBar(this);
  setStatusBar(statusBar_);
  inputs_ = std::make_unique<CInputControls>(app, *ribbon_);
  // Until the machine answers, the levels show what the store starts with, labels and sliders alike.
  inputs_->RefreshVolumeControls();
  modes_ = std::make_unique<CModeCommands>(app);

  connect(ribbon_, &CRibbonBar::commandTriggered, this, &CMainFrame::OnCommand);
  connect(ribbon_, &CRibbonBar::recentFileChosen, this,
          [&app](const QString& path) { app.OpenModeFileByPath(path); });
  connect(ribbon_, &CRibbonBar::categoryChanged, this, &CMainFrame::OnCategoryChanged);
  connect(ribbon_, &CRibbonBar::wheelTurned, this, &CMainFrame::OnWheel);
  connect(ribbon_, &CRibbonBar::sliderMoved, this,
          [this](int, MasterLevel level, int) { inputs_->OnSliderMoved(level); });
  connect(ribbon_, &CRibbonBar::muteClicked, this,
          [this](int, MasterLevel level) { inputs_->ToggleMute(level, false); });
  connect(statusBar_, &CMainStatusBar::bypassClicked, this, &CMainFrame::ToggleShownEqBypass);
  connect(statusBar_, &CMainStatusBar::resetEqClicked, this, &CMainFrame::AskResetShownEq);

  app.device().edits().SetOnChange([this] { UpdateUndoButtons(); });
  UpdateUndoButtons();

  connect(&idleTimer_, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
  idleTimer_.start(kIdleUpdateMs);
  UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
  app_.device().edits().SetOnChange(nullptr);
}

void CMainFrame::Undo() {
  if (!app_.device().edits().Undo()) return;
  tunings_.Follow(app_.store());  // an undone A/B switch brings the other tuning back
  RefreshAfterEdit();
}

void CMainFrame::Redo() {
  if (!app_.device().edits().Redo()) return;
  tunings_.Follow(app_.store());
  RefreshAfterEdit();
}

void CMainFrame::SwitchTuning() {
  vireo::ParameterStore& store = app_.store();
  const std::vector<vireo::tuning::EditValue> values = tunings_.Switch(store);
  if (!values.empty()) {
    app_.device().edits().Run(values, [&](vireo::ReportSender& sender, vireo::Clock& clock) {
      return vireo::tuning::ApplyValues(store, sender, clock, values);
    });
  }
  RefreshAfterEdit();
}

void CMainFrame::RefreshAfterEdit() {
  RefreshVolumeControls();
  RefreshTuningDialogs(app_, false);
  if (CPage* page = view_->currentPage()) {
    page->RefreshFromStore();
    page->update();
  }
  UpdateCommandUi();
}

void CMainFrame::UpdateUndoButtons() {
  const vireo::tuning::EditSession& edits = app_.device().edits();
  ribbon_->SetUndoRedoEnabled(edits.CanUndo(), edits.CanRedo());
}

void CMainFrame::OnCategoryChanged(int index) {
  CPage* page = view_->currentPage();
  if (index == kInputCategory) {
    if (page && page->kind() == PageKind::music) {
      page->ReturnToFirstSection();
      page->update();
    } else {
      view_->ShowPage(PageKind::music);
    }
  } else {
    if (page && page->kind() == PageKind::output) {
      page->ShowChannel(app_.currentOutputChannel());
    } else {
      view_->ShowPage(PageKind::output);
    }
  }
  RefreshVolumeControls();
}

void CMainFrame::OnWheel(const QPoint& pos, int direction) {
  MasterLevel level;
  if (ribbon_->WheelTargetAt(pos, &level)) inputs_->StepBoth(level, direction);
}

void CMainFrame::RefreshVolumeControls() {
  inputs_->RefreshVolumeControls();
}

void CMainFrame::RefreshAfterSync() {
  RefreshVolumeControls();
  if (CPage* page = view_->currentPage()) page->RefreshFromStore();
  RefreshTuningDialogs(app_, true);
  UpdateCommandUi();
}

void CMainFrame::UpdateCommandUi() {
  const vireo::ParameterStore& store = app_.store();
  CPage* page = view_->currentPage();
  StatusBarState state;
  state.connected = store.connected() != 0;
  state.currentMode = store.currentMode();
  state.languageIndex = LanguageIndex();
  state.eqElementsEnabled = page && page->OffersShownEq();
  state.eqBypass = state.eqElementsEnabled && page->ShownEqBypass();
  if (tunings_.started()) state.abLive = tunings_.live() == vireo::tuning::AbTunings::Slot::a ? 0 : 1;
  // The tab row's A/B stays pressed while B is live.
  if (QToolButton* ab = ribbon_->tabRowButton(cmd::abCompare)) {
    ab->setCheckable(true);
    ab->setChecked(state.abLive == 1);
    ab->setToolTip(LangText("A/B 对比两套调音 (F9)", "Compare two tunings, A and B (F9)"));
  }
  if (page && page->kind() == PageKind::output && state.eqElementsEnabled) {
    if (state.eqBypass != lastOutputBypass_) page->update();
    lastOutputBypass_ = state.eqBypass;
  }
  statusBar_->Update(state);
  ribbon_->modeMenus()->SetCurrentMode(store.currentMode());
  inputs_->UpdateMuteBoxes();
  inputs_->UpdateWirelessTexts();
}

void CMainFrame::ToggleShownEqBypass() {
  CPage* page = view_->currentPage();
  if (page && page->OffersShownEq()) page->ToggleShownEqBypass();
  UpdateCommandUi();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!modes_->AskSaveBeforeExit()) {
    event->ignore();
    return;
  }
  idleTimer_.stop();
  app_.ShutDownDevice();
  event->accept();
  emit closed();
}
