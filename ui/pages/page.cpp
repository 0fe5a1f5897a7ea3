// Page defaults.
#include "pages/page.h"

#include "app/control_id.h"
#include "app/language_table.h"
#include "dialogs/dialog_look.h"

CPage::CPage(PageKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  SetControlId(this, templateId());
  ApplyDialogBackground(this);
}

void CPage::ApplyLanguage() {
  ApplyLanguageTexts(this, templateId());
}
