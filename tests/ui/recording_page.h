// A page for tests: offers a shown EQ and sections, and records what the shell asked of it.
#pragma once

#include <QList>

#include "pages/page.h"
#include "pages/page_factory.h"

class RecordingPage : public CPage {
 public:
  RecordingPage(PageKind kind, AppServices& app, QWidget* parent) : CPage(kind, app, parent) { last = this; }
  ~RecordingPage() override {
    if (last == this) last = nullptr;
  }

  bool OffersShownEq() const override { return true; }
  bool ShownEqBypass() const override { return bypass; }
  void ToggleShownEqBypass() override { bypass = !bypass; }
  void ResetShownEq() override { ++resets; }
  void SelectSection(int section) override { sections << section; }
  void ReturnToFirstSection() override { ++returnsToFirst; }
  void ShowChannel(int channel) override { channels << channel; }
  void RefreshFromStore() override { ++refreshes; }

  bool bypass = false;
  int resets = 0;
  int returnsToFirst = 0;
  int refreshes = 0;
  QList<int> sections;
  QList<int> channels;
  static inline RecordingPage* last = nullptr;
};

// Installs recording pages for the life of the object.
struct RecordingPages {
  RecordingPages() {
    SetPageCreatorOverride([](PageKind kind, AppServices& app, QWidget* parent, int channel) {
      auto* page = new RecordingPage(kind, app, parent);
      page->ShowChannel(channel);
      return page;
    });
  }
  ~RecordingPages() { SetPageCreatorOverride(nullptr); }
};
