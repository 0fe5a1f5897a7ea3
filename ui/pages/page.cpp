// Page defaults.
#include "pages/page.h"

#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"

CPage::CPage(PageKind kind, AppServices& app, QWidget* parent) : QWidget(parent), kind_(kind), app_(app) {
  SetControlId(this, templateId());
  ApplyDialogBackground(this);
}

void CPage::ApplyLanguage() {
  ApplyLanguageTexts(this, templateId());
}
