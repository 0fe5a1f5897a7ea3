// Page defaults.
#include "pages/page.h"

#include "dialogs/dialog_look.h"
#include "i18n/language_table.h"
#include "shell/control_id.h"

CPage::CPage(PageKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  SetControlId(this, templateId());
  ApplyDialogBackground(this);
}

void CPage::ApplyLanguage() {
  ApplyLanguageTexts(this, templateId());
}
