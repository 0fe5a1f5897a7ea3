// The tuning dialogs' shared pieces.
#include "dialogs/tuning_dialog_kit.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QWheelEvent>

#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "services/edit_gestures.h"

namespace {
constexpr SliderMargins kDialogSliderMargins{3, 3, 3, 2};
constexpr int kSliderWidth = 200;
}  // namespace

CXBmpSlider* MakeDialogSlider(int controlId, int minimum, int maximum, QWidget* parent,
                              vireo::tuning::EditSession& edits) {
  auto* slider = new CXBmpSlider(controlId, parent);
  slider->SetMargins(kDialogSliderMargins);
  slider->SetBackgroundColor(kDialogBackground);
  slider->SetRange(minimum, maximum);
  slider->setMinimumWidth(kSliderWidth);
  TrackEditGestures(slider, edits);
  return slider;
}

QLabel* MakeDialogLabel(int controlId, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  SetControlId(label, controlId);
  return label;
}

QGroupBox* MakeDialogGroup(int controlId, const QString& title, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  SetControlId(group, controlId);
  return group;
}

void ApplyDialogTexts(QWidget* dialog, int dialogId) {
  ApplyLanguageTexts(dialog, dialogId);
  for (QGroupBox* group : dialog->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
    // The walk gives a group the dialog's title as its window title too; a child never shows it.
    ApplyLanguageTexts(group, dialogId);
  }
}

namespace {
class WheelRule : public QObject {
 public:
  WheelRule(QDialog* dialog, std::function<bool(int)> takes)
      : QObject(dialog), dialog_(dialog), takes_(std::move(takes)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    auto* slider = qobject_cast<CXBmpSlider*>(QApplication::focusWidget());
    if (slider == nullptr || !dialog_->isAncestorOf(slider) || !slider->isEnabled()) return false;
    if (!takes_(ControlIdOf(slider))) return false;
    if (!dialog_->rect().contains(dialog_->mapFromGlobal(wheel->globalPosition().toPoint()))) return false;
    const int delta = wheel->angleDelta().y();
    if (delta == 0) return false;
    slider->Step(delta > 0 ? 1 : -1);
    wheel->accept();
    return true;
  }

 private:
  QDialog* dialog_;
  std::function<bool(int)> takes_;
};
}  // namespace

void InstallWheelRule(QDialog* dialog, std::function<bool(int controlId)> takes) {
  auto* rule = new WheelRule(dialog, std::move(takes));
  dialog->installEventFilter(rule);
  for (QWidget* w : dialog->findChildren<QWidget*>()) w->installEventFilter(rule);
}

void ShowCentred(QDialog* dialog) {
  dialog->adjustSize();
  // Over the window that owns it: the main window, for every dialog that is shown this way.
  if (const QWidget* parent = dialog->parentWidget()) {
    const QRect owner = parent->window()->frameGeometry();
    QRect r = dialog->frameGeometry();
    r.moveCenter(owner.center());
    dialog->move(r.topLeft());
  }
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void MakeModeless(QDialog* dialog) {
  dialog->setModal(false);
  dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ApplyDialogBackground(dialog);
}
