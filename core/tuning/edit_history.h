// Undo and redo of user edits: every edit is one step of old and new values, and undoing re-applies
// the old values through the same tuning operations and the edit sender, so the machine follows.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "device/clock.h"
#include "model/parameter_store.h"
#include "tuning/edit_sender.h"
#include "tuning/edit_value.h"

namespace vireo::tuning {

inline constexpr std::size_t kHistoryDepth = 200;

// Lives on the thread that makes the edits (the GUI thread); not thread-safe itself.
class EditSession {
 public:
  EditSession(ParameterStore& store, EditSender& sender, Clock& clock, std::size_t depth = kHistoryDepth);
  EditSession(const EditSession&) = delete;
  EditSession& operator=(const EditSession&) = delete;

  // Runs `op(ReportSender&, Clock&)` through the sender as one edit of `targets` (the values it may
  // change; ExpandTargets adds what they bring along): the store's values before and after become one
  // undo step, unless nothing changed. While a gesture is open, consecutive runs on the same targets
  // make one step. Returns what op returned.
  template <class F>
  auto Run(std::vector<EditValue> targets, F&& op) {
    Pending pending = Prepare(std::move(targets));
    if constexpr (std::is_void_v<std::invoke_result_t<F&, ReportSender&, Clock&>>) {
      sender_.Edit(pending.key, std::forward<F>(op));
      Record(std::move(pending));
    } else {
      auto result = sender_.Edit(pending.key, std::forward<F>(op));
      Record(std::move(pending));
      return result;
    }
  }
  // Sets `values` (ApplyValues) as one edit.
  FieldSetResult Apply(std::vector<EditValue> values);

  // The store every edit changes.
  ParameterStore& store() const { return store_; }

  // Mouse press and release of a drag: the runs in between make at most one step per target set.
  void BeginGesture();
  void EndGesture();
  bool gestureOpen() const { return gestureOpen_; }

  // False when there is nothing to undo or redo.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t undoSteps() const { return undo_.size(); }
  std::size_t redoSteps() const { return redo_.size(); }
  // A read-all, a mode load or a machine reset makes the old values meaningless.
  void ClearHistory();

  // Called whenever CanUndo or CanRedo may have changed.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  EditSender& sender() { return sender_; }
  Clock& clock() { return clock_; }

 private:
  struct Step {
    std::string key;
    std::vector<EditValue> before;
    std::vector<EditValue> after;
  };
  struct Pending {
    std::string key;
    std::vector<EditValue> targets;
    std::vector<EditValue> before;
  };
  Pending Prepare(std::vector<EditValue> targets);
  void Record(Pending pending);
  void Push(Step step);
  void Replay(const Step& step, const std::vector<EditValue>& values);
  static bool Unchanged(const Step& step);
  void Changed();

  ParameterStore& store_;
  EditSender& sender_;
  Clock& clock_;
  const std::size_t depth_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
  bool gestureOpen_ = false;
  bool gestureStepOnTop_ = false;  // the newest step belongs to the open gesture and may still grow
  std::function<void()> onChange_;
};

}  // namespace vireo::tuning
