// The main window: the ribbon, the main view with its page, and the status bar; the command handlers.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "tuning/ab_compare.h"

class AppServices;
class CKestrelv13View;
class CInputControls;
class CMainStatusBar;
class CModeCommands;
class CRibbonBar;

inline constexpr int kMainFrameMinWidth = 1040;
inline constexpr int kMainFrameMinHeight = 700;
inline constexpr int kIdleUpdateMs = 100;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(AppServices& app);
  ~CMainFrame() override;

  CRibbonBar* ribbon() const { return ribbon_; }
  CKestrelv13View* view() const { return view_; }
  CMainStatusBar* mainStatusBar() const { return statusBar_; }
  CInputControls& inputControls() { return *inputs_; }
  CModeCommands& modeCommands() { return *modes_; }

  // Every command of the ribbon, the menus, the accelerators and the status bar.
  void OnCommand(int id);
  // The idle update of the status bar, the mode-menu checks, the mute boxes and the EQ elements.
  void UpdateCommandUi();
  // Ribbon levels from the store.
  void RefreshVolumeControls();
  // After a synchronisation: the ribbon, the current page and the open windows from the store.
  void RefreshAfterSync();
  void OnDeviceEvent(int message, std::intptr_t a, std::intptr_t b);
  // The bypass of the EQ shown by the current page (box 1121 and the P key).
  void ToggleShownEqBypass();
  // Ctrl+Z / Ctrl+Y and the ribbon's buttons: the previous edit undone or redone, then every shown
  // control from the store.
  void Undo();
  void Redo();
  // F9 and the tab row's "A/B": the other of the two tunings becomes live, sending only what differs,
  // as one undo step.
  void SwitchTuning();
  // After an edit made elsewhere (undo, a remote): the ribbon, the open tuning dialogs and the current
  // page from the store.
  void RefreshAfterEdit();
  const vireo::tuning::AbTunings& tunings() const { return tunings_; }
  void AskResetShownEq();
  void ShowAbout();

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnCategoryChanged(int index);
  void OnWheel(const QPoint& pos, int direction);
  void UpdateUndoButtons();

  AppServices& app_;
  CKestrelv13View* view_ = nullptr;
  CRibbonBar* ribbon_ = nullptr;
  CMainStatusBar* statusBar_ = nullptr;
  std::unique_ptr<CInputControls> inputs_;
  std::unique_ptr<CModeCommands> modes_;
  QTimer idleTimer_;
  bool lastOutputBypass_ = false;
  vireo::tuning::AbTunings tunings_;
};
