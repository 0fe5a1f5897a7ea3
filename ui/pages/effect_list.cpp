// The effect-parameter list.
#include "pages/effect_list.h"

#include "pages/page.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "controls/report_ctrl.h"
#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "model/parameter_store.h"
#include "pages/page_edits.h"
#include "services/app_services.h"

namespace t = vireo::tuning;

namespace {
constexpr int kNameColumn = 1;
constexpr int kValueColumn = 2;

QString RowName(int row) {
  const t::EffectParamRow& r = t::EffectParamRows()[static_cast<std::size_t>(row)];
  return LanguageIndex() == 1 ? QString::fromUtf8(r.english.data(), static_cast<int>(r.english.size()))
                              : QString::fromUtf8(r.chinese.data(), static_cast<int>(r.chinese.size()));
}

QString ValueText(int row, int value) {
  const auto param = static_cast<t::EffectParam>(row);
  return QString::fromStdString(t::EffectParamText(param, value, LanguageIndex()));
}

QString MuteNotice(t::EffectNotice notice) {
  return notice == t::EffectNotice::reverbMuted ? LangText("混响已静音", "Reverb vol is mute")
                                                : LangText("回声已静音", "Echo vol is mute");
}
}  // namespace

CEffectParamList::CEffectParamList(CPage* page)
    : QObject(page),
      app_(page->app()),
      list_(new CReportCtrl(effect_list_id::list, page)),
      slider_(new CXBmpSlider(effect_list_id::slider, page)),
      valueBox_(new QLineEdit(page)),
      name_(new QLabel(page)) {
  slider_->SetOrientation(SliderOrientation::vertical);
  slider_->SetMargins(kEffectEqSliderMargins);
  slider_->SetBackgroundColor(QColor(240, 250, 255));
  SetControlId(valueBox_, effect_list_id::valueBox);
  SetControlId(name_, effect_list_id::name);
  // The value box only shows the value: what is typed there is never read.
  valueBox_->setReadOnly(true);
  valueBox_->setAlignment(Qt::AlignCenter);
  valueBox_->setFocusPolicy(Qt::NoFocus);
  name_->setAlignment(Qt::AlignCenter);
  name_->setWordWrap(true);
  connect(list_, &CReportCtrl::rowClicked, this, [this](int, int row) { SelectRow(row); });
  connect(list_, &CReportCtrl::wheelTurned, this, [this](int, int direction) {
    if (list_->GetSelectedRow() >= 0) slider_->Step(direction);
  });
  connect(slider_, &CXBmpSlider::positionChanged, this,
          [this](int, int position) { OnSliderMoved(position); });
}

void CEffectParamList::Build() {
  list_->DeleteAll();
  list_->InsertColumn(0, LanguageIndex() == 1 ? QStringLiteral(" ") : QString(), Qt::AlignCenter, 50);
  list_->InsertColumn(kNameColumn, LangText("参数名", "Parameter name"), Qt::AlignLeft, 130);
  list_->InsertColumn(kValueColumn, LangText("参数值", "Value"), Qt::AlignCenter, 80);
  for (int row = 0; row < t::kEffectParamCount; ++row) {
    list_->InsertRow(row, QString::number(row + 1));
    list_->SetItemText(row, kNameColumn, RowName(row));
  }
  list_->selectRow(row_);
}

void CEffectParamList::RefreshFromStore() {
  const vireo::ParameterStore& store = app_.store();
  for (int row = 0; row < t::kEffectParamCount; ++row) {
    list_->SetItemText(row, kValueColumn,
                       ValueText(row, t::EffectParamValue(store, set_, static_cast<t::EffectParam>(row))));
  }
  SelectRow(row_);
}

void CEffectParamList::SetEnabled(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(slider_),
                     static_cast<QWidget*>(valueBox_), static_cast<QWidget*>(name_)}) {
    w->setEnabled(enabled);
  }
}

void CEffectParamList::SetGeometry(const QRect& list, const QRect& column) {
  list_->setGeometry(list);
  name_->setGeometry(column.x(), column.y(), column.width(), 36);
  valueBox_->setGeometry(column.x(), column.bottom() - 23, column.width(), 24);
  const int sliderTop = column.y() + 40;
  slider_->setGeometry(column.x() + (column.width() - 28) / 2, sliderTop, 28,
                       std::max(40, column.bottom() - 28 - sliderTop));
}

void CEffectParamList::SelectRow(int row) {
  if (row < 0 || row >= t::kEffectParamCount) return;
  row_ = row;
  const t::EffectParamRow& r = t::EffectParamRows()[static_cast<std::size_t>(row)];
  slider_->SetRange(r.lo, r.hi);
  const int value = t::EffectParamValue(app_.store(), set_, r.param);
  slider_->SetPos(std::clamp(value, r.lo, r.hi));
  valueBox_->setText(ValueText(row, value));
  name_->setText(RowName(row));
}

void CEffectParamList::ShowRowValue(int row, int value) {
  list_->SetItemText(row, kValueColumn, ValueText(row, value));
  if (row == row_) valueBox_->setText(ValueText(row, value));
}

void CEffectParamList::OnSliderMoved(int position) {
  const auto param = static_cast<t::EffectParam>(row_);
  const t::EffectParamResult result = PageEdits(app_.edits()).SetEffectParam(set_, param, position);
  if (result.notice != t::EffectNotice::none) app_.ShowNotice(MuteNotice(result.notice), kNoticeShortMs);
  if (result.reverbPredelayCoupled) {
    const int row = static_cast<int>(t::EffectParam::reverbPredelay);
    ShowRowValue(row, t::EffectParamValue(app_.store(), set_, t::EffectParam::reverbPredelay));
  }
  ShowRowValue(row_, result.value);
}
