// Ribbon style sheet.
#include "ribbon/ribbon_style.h"

QString RibbonStyleSheet() {
  return QStringLiteral(
      "#ribbonBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dbe7f6, stop:1 #c4d8f1); }"
      "#ribbonTabRow { background: transparent; }"
      "#ribbonCategories { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f8fd, stop:1 "
      "#d5e4f5);"
      " border-top: 1px solid #8db2e3; border-bottom: 1px solid #8db2e3; }"
      "QTabBar#ribbonTabs::tab { color: #15428b; padding: 4px 14px; margin-right: 2px; border: 1px solid "
      "transparent;"
      " border-top-left-radius: 3px; border-top-right-radius: 3px; }"
      "QTabBar#ribbonTabs::tab:selected { background: #f4f8fd; border: 1px solid #8db2e3; border-bottom: "
      "none; }"
      "QTabBar#ribbonTabs::tab:hover:!selected { background: #e8f0fa; }"
      "CRibbonPanel { border: 1px solid #a7c1e2; border-radius: 3px;"
      " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7fafe, stop:1 #e3edf9); }"
      "#ribbonPanelCaption { color: #15428b; background: #c2d9f0; border-top: 1px solid #a7c1e2;"
      " padding: 1px 4px; }"
      "CRibbonPanel QLabel { color: #15428b; }"
      "CRibbonPanel QCheckBox { color: #15428b; }"
      "QToolButton { color: #15428b; }");
}
