// What the main view asks of the page it shows: its kind, and the EQ and section services of the shell.
#pragma once

#include <QWidget>

#include "look/command_ids.h"
#include "pages/page_edits.h"
#include "services/app_services.h"
#include "services/edit_gestures.h"

// The pages the view can host, by their dialog template.
enum class PageKind {
  music = dlg::music,
  output = dlg::output,
  efx = dlg::efx,
  delay = dlg::delay,
  ssvc = dlg::ssvc,
  comp = dlg::comp
};

class CPage : public QWidget {
  Q_OBJECT
 public:
  CPage(PageKind kind, AppServices& app, QWidget* parent);

  // What the page uses of the application; its edits go through the edit session.
  AppServices& app() const { return app_; }
  PageEdits pageEdits() const { return PageEdits(app_.edits()); }

  PageKind kind() const { return kind_; }
  int templateId() const { return static_cast<int>(kind_); }

  // The EQ shown by the page, for the status bar's bypass box, Reset EQ and the P key. Pages that show
  // no EQ keep these defaults.
  virtual bool OffersShownEq() const { return false; }
  virtual bool ShownEqBypass() const { return false; }
  virtual void ToggleShownEqBypass() {}
  virtual void ResetShownEq() {}
  // Left Ctrl + digit: show section n (0..9). Pages without sections ignore it.
  virtual void SelectSection(int section) { (void)section; }
  // The Input category was chosen again while this page is shown.
  virtual void ReturnToFirstSection() {}
  // The output channels page: show this channel.
  virtual void ShowChannel(int channel) { (void)channel; }
  // After a synchronisation: show what the store holds.
  virtual void RefreshFromStore() {}
  // After a language switch: take the texts of the new language.
  virtual void ApplyLanguage();

 private:
  PageKind kind_;
  AppServices& app_;
};
