// Mouse presses and releases on a control open and close a gesture of the edit session, so that one
// drag is one undo step however many values it sent.
#pragma once

class QWidget;

namespace vireo::tuning {
class EditSession;
}  // namespace vireo::tuning

void TrackEditGestures(QWidget* control, vireo::tuning::EditSession& edits);
