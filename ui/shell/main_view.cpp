// The main view.
#include "shell/main_view.h"

#include <QResizeEvent>
#include <algorithm>

#include "i18n/language_table.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "pages/page_factory.h"
#include "services/app_services.h"
#include "services/help_page.h"
#include "services/tray_balloon.h"
#include "shell/connection_controller.h"

CKestrelv13View::CKestrelv13View(AppServices& app, QWidget* parent)
    : QWidget(parent), app_(app), tray_(std::make_unique<CTrayBalloon>()) {
  ApplyDialogBackground(this);
  setMinimumSize(1, 1);
  vireo::ResetStoreDefaults(app_.store());
  SetLanguageIndex(app.settings().Language());
  ShowPage(PageKind::music);
  if (WriteLanguageTable(LanguageIndex()) && page_) page_->ApplyLanguage();
  InstallHelpPage(app.helpPagePath());
  connection_ = std::make_unique<CConnectionController>(app, *this);
  connection_->Start();
}

CKestrelv13View::~CKestrelv13View() {
  connection_.reset();
  tray_.reset();
}

QRect CKestrelv13View::pageArea() const {
  return QRect(0, 0, std::max(width(), kPageAreaMinWidth), std::max(height(), kPageAreaMinHeight));
}

void CKestrelv13View::ShowPage(PageKind kind) {
  if (page_) delete page_.data();
  page_ = CreatePage(kind, app_, this, app_.currentOutputChannel());
  page_->setGeometry(pageArea());
  page_->show();
}

void CKestrelv13View::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (page_) page_->setGeometry(pageArea());
}

void CKestrelv13View::ShowTrayBalloon(const QString& text, const QString& title, int durationMs) {
  tray_->Show(text, title, durationMs);
}
