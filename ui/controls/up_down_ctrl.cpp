// The up-down control.
#include "controls/up_down_ctrl.h"

#include <QToolButton>
#include <algorithm>

#include "look/control_id.h"

namespace {
QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);  // held down, it keeps stepping
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}
}  // namespace

CUpDownCtrl::CUpDownCtrl(int controlId, QWidget* parent)
    : QWidget(parent), up_(ArrowButton(Qt::UpArrow, this)), down_(ArrowButton(Qt::DownArrow, this)) {
  SetControlId(this, controlId);
  connect(up_, &QToolButton::clicked, this, [this] { Click(true); });
  connect(down_, &QToolButton::clicked, this, [this] { Click(false); });
}

void CUpDownCtrl::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetPos(position_);
}

void CUpDownCtrl::SetPos(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
}

void CUpDownCtrl::Click(bool up) {
  if (!isEnabled()) return;
  const int from = position_;
  emit clicked(ControlIdOf(this), from, up);
  SetPos(from + (up ? 1 : -1));
}

void CUpDownCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
