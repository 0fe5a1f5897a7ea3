// The up-down control.
#include "controls/up_down.h"

#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>

#include "look/control_id.h"

CUpDown::CUpDown(int controlId, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  SetControlId(this, controlId);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
  }
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  connect(up_, &QToolButton::clicked, this, [this] { emit stepClicked(1); });
  connect(down_, &QToolButton::clicked, this, [this] { emit stepClicked(-1); });
}

void CUpDown::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  position_ = std::clamp(position_, minimum_, maximum_);
}

void CUpDown::SetPos(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
}

int CUpDown::Stepped(int delta) const {
  return std::clamp(position_ + delta, minimum_, maximum_);
}

void CUpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
