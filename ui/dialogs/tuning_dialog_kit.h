// What the modeless tuning dialogs (machine settings, features, music source) share: their sliders,
// value texts, language texts through group boxes, the wheel rule and placement over the main window.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class CXBmpSlider;
namespace vireo::tuning {
class EditSession;
}  // namespace vireo::tuning
class QGroupBox;
class QLabel;
class QWheelEvent;

// A horizontal picture slider with the dialogs' insets and background; a drag is one undo step.
CXBmpSlider* MakeDialogSlider(int controlId, int minimum, int maximum, QWidget* parent,
                              vireo::tuning::EditSession& edits);
// A static text with a control id (captions and value texts).
QLabel* MakeDialogLabel(int controlId, const QString& text, QWidget* parent);
QGroupBox* MakeDialogGroup(int controlId, const QString& title, QWidget* parent);

// The table's texts for the dialog's direct children and for the children of its group boxes.
void ApplyDialogTexts(QWidget* dialog, int dialogId);

// A wheel turn anywhere over `dialog` (its sliders included) while the focus is on one of its sliders
// that `takes` accepts: that slider steps once and the turn goes no further. Other turns are handled as
// usual. Install after the sliders exist.
void InstallWheelRule(QDialog* dialog, std::function<bool(int controlId)> takes);

// Centres `dialog` over the main window (or leaves it where it is without one), shows and raises it.
void ShowCentred(QDialog* dialog);

// The modeless tool-window flags of an auxiliary dialog owned by the main window.
void MakeModeless(QDialog* dialog);
