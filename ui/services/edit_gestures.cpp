// Edit gestures.
#include "services/edit_gestures.h"

#include <QEvent>
#include <QWidget>

#include "tuning/edit_history.h"

namespace {
class GestureFilter : public QObject {
 public:
  GestureFilter(vireo::tuning::EditSession& edits, QObject* owner) : QObject(owner), edits_(edits) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) edits_.BeginGesture();
    if (event->type() == QEvent::MouseButtonRelease) edits_.EndGesture();
    return QObject::eventFilter(watched, event);
  }

 private:
  vireo::tuning::EditSession& edits_;
};
}  // namespace

void TrackEditGestures(QWidget* control, vireo::tuning::EditSession& edits) {
  control->installEventFilter(new GestureFilter(edits, control));
}
