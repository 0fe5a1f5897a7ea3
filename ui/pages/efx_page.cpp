// The effect EQ editor.
#include "pages/efx_page.h"

#include <QLabel>
#include <QResizeEvent>
#include <QWheelEvent>
#include <array>

#include "controls/eq_panel.h"
#include "controls/gdip_button.h"
#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "pages/band_editor.h"
#include "pages/eq_editing.h"
#include "pages/page_edits.h"
#include "pages/page_layout.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"

namespace {
constexpr int kTitleId = 1218;
constexpr int kBackId = 1219;
// Selector 0..3 to EQ identity: reverb A, reverb B, echo A, echo B.
constexpr std::array<int, 4> kIdentities = {2, 3, 4, 5};
// The effect editor accepts digits 1..7.
constexpr int kEffectBands = 7;
}  // namespace

QString EffectEqTitle(int selector, int languageIndex) {
  static const std::array<const char*, 4> kEnglish = {"Reverb A EQ", "Reverb B EQ", "Echo A EQ", "Echo B EQ"};
  static const std::array<const char*, 4> kChinese = {"混响A均衡", "混响B均衡", "回声A均衡", "回声B均衡"};
  const auto i = static_cast<std::size_t>(selector >= 0 && selector <= 3 ? selector : 0);
  return QString::fromUtf8(languageIndex == 1 ? kEnglish[i] : kChinese[i]);
}

CDialogEfx::CDialogEfx(int selector, AppServices& services, QWidget* parent)
    : CPage(PageKind::efx, services, parent),
      selector_(selector >= 0 && selector <= 3 ? selector : 0),
      eq_(new CEqEditing(this, templateId(), EqEditingRules{true, true, true})),
      title_(new QLabel(this)),
      back_(new CGdipButton(kBackId, QString(), this)) {
  SetControlId(title_, kTitleId);
  title_->setFont(HeiTiFont(24, 700));
  title_->setStyleSheet(QStringLiteral("color: rgb(21,66,139);"));
  back_->SetGlyph(ButtonGlyph::back);
  connect(back_, &QAbstractButton::clicked, this, [this] { ShowMusicPageAgain(app()); });
  TrackEditGestures(eq_->graph(), app().edits());
  for (int id : {band_editor_id::gainSlider, band_editor_id::frequencySlider, band_editor_id::qSlider}) {
    TrackEditGestures(eq_->editor()->slider(id), app().edits());
  }
  eq_->SetIdentity(kIdentities[static_cast<std::size_t>(selector_)]);
  ApplyTexts();
  RefreshFromStore();
}

void CDialogEfx::ApplyTexts() {
  CPage::ApplyLanguage();
  title_->setText(DialogText(templateId(), kTitleId, EffectEqTitle(selector_, LanguageIndex())));
  back_->setToolTip(DialogText(templateId(), kBackId, "返回", "Back"));
}

bool CDialogEfx::ShownEqBypass() const {
  return eq_->Bypass();
}

void CDialogEfx::ToggleShownEqBypass() {
  eq_->ToggleBypass();
}

void CDialogEfx::ResetShownEq() {
  eq_->Reset();
}

void CDialogEfx::SelectSection(int section) {
  if (section < kEffectBands) eq_->PickBand(section);
}

void CDialogEfx::RefreshFromStore() {
  eq_->RefreshFromStore();
}

void CDialogEfx::ApplyLanguage() {
  ApplyTexts();
  eq_->ApplyLanguage();
}

void CDialogEfx::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  const EfxPageLayout l = LayoutEfxPage(size());
  title_->setGeometry(l.title);
  back_->setGeometry(l.back);
  eq_->SetListArea(l.bandArea);
  eq_->graph()->setGeometry(l.graph);
}

void CDialogEfx::wheelEvent(QWheelEvent* event) {
  if (!ForwardWheelToFocus(this, event)) CPage::wheelEvent(event);
}
