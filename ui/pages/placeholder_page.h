// A plain page that holds the place of a page still to come, named in both languages.
#pragma once

#include "pages/page.h"

class CPlaceholderPage : public CPage {
  Q_OBJECT
 public:
  CPlaceholderPage(PageKind kind, AppServices& app, QWidget* parent);

  void ApplyLanguage() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The page's name: "话筒与音乐均衡" / "Microphone and music EQ", ...
QString PageTitle(PageKind kind, int languageIndex);
