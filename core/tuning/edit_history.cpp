// The undo and redo stacks of user edits.
#include "tuning/edit_history.h"

#include <algorithm>

namespace vireo::tuning {

EditSession::EditSession(ParameterStore& store, EditSender& sender, Clock& clock, std::size_t depth)
    : store_(store), sender_(sender), clock_(clock), depth_(std::max<std::size_t>(depth, 1)) {}

EditSession::Pending EditSession::Prepare(std::vector<EditValue> targets) {
  Pending pending;
  pending.targets = ExpandTargets(targets);
  pending.key = TargetKey(pending.targets);
  pending.before = ReadValues(store_, pending.targets);
  return pending;
}

bool EditSession::Unchanged(const Step& step) {
  return std::equal(step.before.begin(), step.before.end(), step.after.begin(), step.after.end(),
                    [](const EditValue& a, const EditValue& b) { return SameValue(a, b); });
}

void EditSession::Record(Pending pending) {
  std::vector<EditValue> after = ReadValues(store_, pending.targets);
  if (gestureOpen_ && gestureStepOnTop_ && undo_.back().key == pending.key) {
    undo_.back().after = std::move(after);
    return;
  }
  Step step{std::move(pending.key), std::move(pending.before), std::move(after)};
  if (Unchanged(step)) return;
  Push(std::move(step));
  gestureStepOnTop_ = gestureOpen_;
}

void EditSession::Push(Step step) {
  redo_.clear();
  undo_.push_back(std::move(step));
  if (undo_.size() > depth_) undo_.pop_front();
  Changed();
}

FieldSetResult EditSession::Apply(std::vector<EditValue> values) {
  std::vector<EditValue> targets = values;
  return Run(std::move(targets), [this, &values](ReportSender& sender, Clock& clock) {
    return ApplyValues(store_, sender, clock, values);
  });
}

void EditSession::BeginGesture() {
  gestureOpen_ = true;
  gestureStepOnTop_ = false;
}

void EditSession::EndGesture() {
  // A drag that came back to where it started leaves nothing to undo.
  if (gestureOpen_ && gestureStepOnTop_ && Unchanged(undo_.back())) {
    undo_.pop_back();
    Changed();
  }
  gestureOpen_ = false;
  gestureStepOnTop_ = false;
}

void EditSession::Replay(const Step& step, const std::vector<EditValue>& values) {
  sender_.Edit(step.key,
               [&](ReportSender& sender, Clock& clock) { ApplyValues(store_, sender, clock, values); });
}

bool EditSession::Undo() {
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  gestureStepOnTop_ = false;
  Replay(step, step.before);
  redo_.push_back(std::move(step));
  Changed();
  return true;
}

bool EditSession::Redo() {
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  gestureStepOnTop_ = false;
  Replay(step, step.after);
  undo_.push_back(std::move(step));
  Changed();
  return true;
}

void EditSession::ClearHistory() {
  const bool had = !undo_.empty() || !redo_.empty();
  undo_.clear();
  redo_.clear();
  gestureStepOnTop_ = false;
  if (had) Changed();
}

void EditSession::Changed() {
  if (onChange_) onChange_();
}

}  // namespace vireo::tuning
