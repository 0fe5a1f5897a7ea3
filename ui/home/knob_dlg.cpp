// The knob dialog.
#include "home/knob_dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "controls/xbmp_slider.h"
#include "home/switch_dlg.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "services/smart_home_link.h"
#include "smarthome/scene_editing.h"
#include "smarthome/smart_home_controller.h"

namespace sh = vireo::smarthome;

namespace {
constexpr int kTopLevel = 99;
}  // namespace

CDlgZwaveLight::CDlgZwaveLight(SmartHomeLink& link, int node, StartWaitFn startWait, QWidget* parent)
    : QDialog(parent), link_(link), node_(node), startWait_(std::move(startWait)) {
  SetControlId(this, knob_id::dialog);
  setAttribute(Qt::WA_DeleteOnClose);
  name_ = new QLabel(PlugNameText(link, node), this);
  SetControlId(name_, knob_id::name);
  name_->setAlignment(Qt::AlignCenter);
  name_->setFont(HeiTiFont(16, 400));
  slider_ = new CXBmpSlider(knob_id::slider, this);
  slider_->SetRange(0, kTopLevel);
  slider_->SetOrientation(SliderOrientation::horizontal);
  slider_->setMinimumWidth(220);
  slider_->SetBackgroundColor(palette().color(QPalette::Window));
  slider_->setFocusPolicy(Qt::StrongFocus);
  value_ = new QLabel(this);
  SetControlId(value_, knob_id::value);
  value_->setAlignment(Qt::AlignCenter);
  value_->setMinimumWidth(48);
  value_->setFont(HeiTiFont(14, 400));
  down_ = new QPushButton(QStringLiteral("-"), this);
  up_ = new QPushButton(QStringLiteral("+"), this);
  SetControlId(down_, knob_id::down);
  SetControlId(up_, knob_id::up);
  for (QPushButton* b : {down_, up_}) {
    b->setFixedSize(32, 28);
    b->setAutoDefault(false);
  }
  connect(slider_, &CXBmpSlider::positionChanged, this, [this](int, int position) { ShowLevel(position); });
  connect(slider_, &CXBmpSlider::released, this, [this](int, int) { Send(); });
  connect(down_, &QPushButton::clicked, this, [this] { StepBy(-1); });
  connect(up_, &QPushButton::clicked, this, [this] { StepBy(1); });

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 14, 16, 16);
  column->setSpacing(12);
  column->addWidget(name_);
  auto* row = new QHBoxLayout;
  row->addWidget(down_);
  row->addWidget(slider_, 1);
  row->addWidget(up_);
  column->addLayout(row);
  column->addWidget(value_);
  // 255 (full) is shown at the top of the travel.
  const int known = link.controller().value(node);
  slider_->SetPos(std::clamp(known, 0, kTopLevel));
  ShowLevel(slider_->GetPos());
  Recaption();
}

int CDlgZwaveLight::level() const {
  return slider_->GetPos();
}

void CDlgZwaveLight::Recaption() {
  setWindowTitle(LangText("调压插座", "Knob plug"));
  ApplyLanguageTexts(this, knob_id::dialog);
  ShowLevel(slider_->GetPos());
}

void CDlgZwaveLight::ShowLevel(int level) {
  value_->setText(QString::fromStdString(sh::KnobValueText(level, LanguageIndex())));
}

void CDlgZwaveLight::StepBy(int delta) {
  const int before = slider_->GetPos();
  slider_->SetPos(before + delta);
  if (slider_->GetPos() == before) return;  // already at an end: nothing new to send
  ShowLevel(slider_->GetPos());
  Send();
}

void CDlgZwaveLight::Send() {
  SetPlugValue(link_, startWait_, node_, slider_->GetPos(), LangText("设备调压操作", "Setting the level"));
}
