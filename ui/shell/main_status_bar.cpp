// The status bar.
#include "shell/main_status_bar.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "look/command_ids.h"
#include "look/control_id.h"
#include "ribbon/mode_slot_texts.h"

namespace {
const QColor kConnectedColour(0, 150, 0);
const QColor kDisconnectedColour(220, 0, 0);
const QColor kModeColour(255, 0, 0);

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

int WidthOfSpaces(const QWidget* widget, int count) {
  return widget->fontMetrics().horizontalAdvance(QString(count, QLatin1Char(' ')));
}
}  // namespace

QString ConnectionPaneText(bool connected, int languageIndex) {
  if (languageIndex == 1)
    return connected ? QStringLiteral("USB:Connected") : QStringLiteral("USB:Disconnected");
  return QString::fromUtf8(connected ? "USB：已连接" : "USB：未连接");
}

QString ModePaneText(int currentMode, int languageIndex) {
  return (languageIndex == 1 ? QStringLiteral("Current Mode:") : QString::fromUtf8("当前模式:")) +
         ModeSlotName(currentMode, languageIndex);
}

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  connection_ = new QLabel(this);
  SetControlId(connection_, cmd::connectionPane);
  connection_->setMinimumWidth(WidthOfSpaces(connection_, 52));
  mode_ = new QLabel(QString::fromUtf8("当前模式：模式一"), this);
  SetControlId(mode_, cmd::modePane);
  mode_->setAlignment(Qt::AlignCenter);
  mode_->setMinimumWidth(WidthOfSpaces(mode_, 97));
  SetTextColour(mode_, kModeColour);
  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  addWidget(connection_);
  addWidget(separator);
  addWidget(mode_);
  ab_ = new QLabel(this);
  ab_->setStyleSheet(QStringLiteral("color: #0a5fb4; font-weight: 600; padding: 0 8px;"));
  ab_->hide();
  addWidget(ab_);

  bypass_ = new QCheckBox(this);
  SetControlId(bypass_, cmd::eqBypass);
  bypass_->setFocusPolicy(Qt::NoFocus);
  resetEq_ = new QPushButton(this);
  SetControlId(resetEq_, cmd::resetEq);
  resetEq_->setFocusPolicy(Qt::NoFocus);
  addPermanentWidget(bypass_);
  addPermanentWidget(resetEq_);
  connect(bypass_, &QCheckBox::clicked, this, &CMainStatusBar::bypassClicked);
  connect(resetEq_, &QPushButton::clicked, this, &CMainStatusBar::resetEqClicked);
  Update(StatusBarState{});
  mode_->setText(QString::fromUtf8("当前模式：模式一"));
}

void CMainStatusBar::Update(const StatusBarState& state) {
  connection_->setText(ConnectionPaneText(state.connected, state.languageIndex));
  SetTextColour(connection_, state.connected ? kConnectedColour : kDisconnectedColour);
  mode_->setText(ModePaneText(state.currentMode, state.languageIndex));
  const bool english = state.languageIndex == 1;
  bypass_->setText(english ? QStringLiteral("Bypass") : QString::fromUtf8("均衡旁路"));
  resetEq_->setText(english ? QStringLiteral("Reset EQ") : QString::fromUtf8("重置均衡"));
  ab_->setVisible(state.abLive >= 0);
  if (state.abLive >= 0) {
    const QChar slot = state.abLive == 0 ? QLatin1Char('A') : QLatin1Char('B');
    ab_->setText(english ? QStringLiteral("Tuning %1 live (F9: A/B)").arg(slot)
                         : QString::fromUtf8("当前调音 %1（F9：A/B 对比）").arg(slot));
  }
  bypass_->setEnabled(state.eqElementsEnabled);
  resetEq_->setEnabled(state.eqElementsEnabled);
  bypass_->setChecked(state.eqElementsEnabled && state.eqBypass);
}
