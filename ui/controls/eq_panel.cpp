// The EQ graph's events: each turns into a vireo::dsp edit, a notification and a repaint.
#include "controls/eq_panel.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <cmath>

#include "controls/eq_panel_painter.h"
#include "dsp/eq_graph_editing.h"

namespace {

using vireo::dsp::EqKey;
using vireo::dsp::EqKeyResult;

const QPointF kPlotOrigin(vireo::dsp::kPlotLeft, vireo::dsp::kPlotTop);

EqKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_PageUp:
      return EqKey::previousBand;
    case Qt::Key_PageDown:
      return EqKey::nextBand;
    case Qt::Key_Home:
      return EqKey::firstBand;
    case Qt::Key_End:
      return EqKey::lastBand;
    case Qt::Key_Left:
      return EqKey::frequencyDown;
    case Qt::Key_Right:
      return EqKey::frequencyUp;
    case Qt::Key_Up:
      return EqKey::gainUp;
    case Qt::Key_Down:
      return EqKey::gainDown;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return EqKey::qUp;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return EqKey::qDown;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return EqKey::typeDown;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return EqKey::typeUp;
    case Qt::Key_0:
      return EqKey::digit0;
    default:
      if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        return static_cast<EqKey>(static_cast<int>(EqKey::digit1) + (key - Qt::Key_1));
      }
      return EqKey::other;
  }
}

int RunPopupMenu(QWidget* owner, const CEqPanel::MenuEntries& entries, const QPoint& globalPos) {
  QMenu menu(owner);
  for (const auto& [command, text] : entries) {
    if (command == 0)
      menu.addSeparator();
    else
      menu.addAction(text)->setData(command);
  }
  const QAction* chosen = menu.exec(globalPos);
  return chosen != nullptr ? chosen->data().toInt() : 0;
}

QString MenuText(int language, const char* zh, const char* en) {
  return QString::fromUtf8(language == 1 ? en : zh);
}

CEqPanel::MenuEntries TypeMenu(int language) {
  const char* texts[][2] = {
      {"参量(PEQ)", "PEQ"}, {"低通(LP)", "LP"}, {"高通(HP)", "HP"}, {"低架(LS)", "LS"}, {"高架(HS)", "HS"}};
  CEqPanel::MenuEntries entries;
  for (int type = 1; type <= 5; ++type) {
    entries.append(
        {CEqPanel::kTypeMenuCommand + type, MenuText(language, texts[type - 1][0], texts[type - 1][1])});
  }
  return entries;
}

CEqPanel::MenuEntries CopyPasteMenu(int language, bool measured) {
  CEqPanel::MenuEntries entries = {
      {CEqPanel::kCopyCommand, MenuText(language, "复制均衡", "Copy EQ")},
      {CEqPanel::kPasteCommand, MenuText(language, "粘贴均衡", "Paste EQ")},
      {CEqPanel::kImportFiltersCommand,
       MenuText(language, "导入滤波器文件(REW/APO)…", "Import filters (REW/APO)…")},
      {CEqPanel::kExportFiltersCommand, MenuText(language, "导出滤波器文件(APO)…", "Export filters (APO)…")},
      {0, QString()},
      {CEqPanel::kLoadMeasurementCommand, MenuText(language, "载入测量…", "Load measurement…")},
      {CEqPanel::kTargetCommand, MenuText(language, "目标曲线…", "Target…")}};
  if (measured) {
    entries.append({CEqPanel::kFitBandsCommand, MenuText(language, "拟合频段…", "Fit bands…")});
    entries.append({CEqPanel::kClearMeasurementCommand, MenuText(language, "清除测量", "Clear measurement")});
  }
  return entries;
}

}  // namespace

CEqPanel::CEqPanel(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted on each repaint, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);  // a left press takes the focus itself; a right press does not
  menuRunner_ = [this](const MenuEntries& entries, const QPoint& at) {
    return RunPopupMenu(this, entries, at);
  };
  bands_.SetClientSize(width(), height());
}

void CEqPanel::SetBandCount(int n) {
  bands_.SetBandCount(n);
  update();
}

void CEqPanel::SetBandType(int slot, int type) {
  bands_.SetBandType(slot, type);
  update();
}

void CEqPanel::SetBandGain(int slot, double gain) {
  bands_.SetBandGain(slot, gain);
  update();
}

void CEqPanel::SetBandQ(int slot, double q) {
  bands_.SetBandQ(slot, q);
  update();
}

void CEqPanel::SetBandFrequency(int slot, double frequency) {
  bands_.SetBandFrequency(slot, frequency);
  update();
}

void CEqPanel::ApplyMenuType(int slot, int type) {
  bands_.ApplyMenuType(slot, type);
  update();
}

void CEqPanel::ApplyCrossoverFamily(int slot, int family) {
  bands_.ApplyCrossoverFamily(slot, family);
  update();
}

void CEqPanel::RecomputeBand(int slot) {
  bands_.RecomputeBand(slot);
  update();
}

void CEqPanel::SetIdentity(int identity) {
  bands_.SetIdentity(identity);
  update();
}

void CEqPanel::SetBypass(bool bypass) {
  bypass_ = bypass;
  update();
}

void CEqPanel::SetLanguage(int languageIndex) {
  language_ = languageIndex == 1 ? 1 : 0;
  update();
}

void CEqPanel::SelectBand(int slot) {
  selected_ = slot < 0 ? -1 : slot;
  update();
}

void CEqPanel::RunMenuCommand(int command) {
  if (command == kCopyCommand || command == kPasteCommand) {
    emit CopyPasteEq(command == kCopyCommand ? 0 : 1, identity());
    return;
  }
  if (command >= kImportFiltersCommand && command <= kClearMeasurementCommand) {
    emit FileCommandChosen(command);
    return;
  }
  const int type = command - kTypeMenuCommand;
  if (type >= 1 && type <= 5 && selected_ >= 0) {
    bands_.ApplyMenuType(selected_, type);
    NotifyChanged();
  }
}

void CEqPanel::SetOverlay(const Overlay& overlay) {
  overlay_ = overlay;
  update();
}

vireo::dsp::ResponseArray CEqPanel::PredictionOf(const vireo::dsp::EqBandSet& bands, const Overlay& overlay) {
  vireo::dsp::ResponseArray prediction = bands.TotalResponse();
  for (std::size_t i = 0; i < prediction.size(); ++i) prediction[i] += overlay.measurement[i];
  return prediction;
}

void CEqPanel::NotifyChanged() {
  emit BandChanged(bands_.band(selected_), selected_);
  update();
}

void CEqPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintEqPanel(painter, size(), {&bands_, selected_, hovered_, bypass_, language_, &overlay_});
}

void CEqPanel::resizeEvent(QResizeEvent*) {
  bands_.SetClientSize(width(), height());
}

void CEqPanel::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position() - kPlotOrigin;
  if (event->button() == Qt::LeftButton && !rightDown_) {
    PressLeft(at);
  } else if (event->button() == Qt::RightButton && !leftDown_) {
    PressRight(at);
  }
}

void CEqPanel::PressLeft(QPointF at) {
  leftDown_ = true;
  setFocus(Qt::MouseFocusReason);
  pressAt_ = at;
  moved_ = false;
  selected_ = vireo::dsp::LeftPressHit(bands_, at.x(), at.y());
  pressHit_ = selected_ >= 0;
  if (pressHit_) {
    const vireo::dsp::EqBand& b = bands_.band(selected_);
    grabOffset_ = at - QPointF(b.markerX, b.markerY);
    NotifyChanged();
  }
  update();
}

void CEqPanel::PressRight(QPointF at) {
  rightDown_ = true;
  pressAt_ = at;
  moved_ = false;
  selected_ = vireo::dsp::RightPressHit(bands_, at.x(), at.y());
  if (selected_ >= 0) {
    lastX_ = at.x();
    NotifyChanged();
  }
  update();
}

void CEqPanel::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position() - kPlotOrigin;
  const int wasHovered = hovered_;
  hovered_ = leftDown_ || rightDown_ ? -1 : vireo::dsp::HoverHit(bands_, at.x(), at.y());
  if (hovered_ != wasHovered) update();
  if (selected_ < 0 || !(leftDown_ || rightDown_)) return;
  if (!moved_ && (std::fabs(at.x() - pressAt_.x()) > 1.0 || std::fabs(at.y() - pressAt_.y()) > 1.0)) {
    moved_ = true;
  }
  if (!moved_) return;
  if (leftDown_) {
    vireo::dsp::DragBand(bands_, selected_, at.x(), at.y(), grabOffset_.y());
    NotifyChanged();
  } else {
    vireo::dsp::DragBandQ(bands_, selected_, at.x() - lastX_);
    lastX_ = at.x();
    NotifyChanged();
  }
}

void CEqPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && leftDown_) {
    leftDown_ = false;
    if (!pressHit_) {
      emit EmptyClick();
    } else if (moved_) {
      NotifyChanged();
    }
  } else if (event->button() == Qt::RightButton && rightDown_) {
    rightDown_ = false;
    ReleaseRight(event->globalPosition().toPoint());
  }
}

void CEqPanel::ReleaseRight(const QPoint& globalPos) {
  if (selected_ < 0) {
    ChooseFromMenu(CopyPasteMenu(language_, overlay_.hasMeasurement), globalPos);
    return;
  }
  NotifyChanged();
  if (!moved_) ChooseFromMenu(TypeMenu(language_), globalPos);
}

void CEqPanel::ChooseFromMenu(const MenuEntries& entries, const QPoint& globalPos) {
  const int command = menuRunner_ ? menuRunner_(entries, globalPos) : 0;
  if (command != 0) RunMenuCommand(command);
}

void CEqPanel::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  const int steps = delta.y() != 0 ? delta.y() : delta.x();
  if (selected_ < 0 || !vireo::dsp::WheelBand(bands_, selected_, steps)) {
    event->ignore();  // the owner may use the wheel
    return;
  }
  NotifyChanged();
}

void CEqPanel::keyPressEvent(QKeyEvent* event) {
  leftCtrl_.OnKeyEvent(*event);
  const bool fine = leftCtrl_.LeftCtrlHeld(event->modifiers());
  const EqKeyResult result = vireo::dsp::ApplyEqKey(bands_, selected_, KeyOf(event->key()), fine);
  selected_ = result.selected;
  if (result.notice == EqKeyResult::Notice::bandChanged) {
    emit BandChanged(bands_.band(selected_), selected_);
  } else if (result.notice == EqKeyResult::Notice::bandPicked) {
    emit BandPicked(bands_.band(selected_), selected_);
  }
  update();
  event->accept();  // the focused graph swallows every key
}

void CEqPanel::keyReleaseEvent(QKeyEvent* event) {
  leftCtrl_.OnKeyEvent(*event);
  event->accept();
}

void CEqPanel::leaveEvent(QEvent*) {
  if (hovered_ >= 0) {
    hovered_ = -1;
    update();
  }
}
