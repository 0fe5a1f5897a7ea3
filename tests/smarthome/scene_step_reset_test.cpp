// The scene page's Reset and Modify edits: which step each may change.
#include <gtest/gtest.h>

#include "smarthome/scene_editing.h"

namespace vireo::smarthome {
namespace {

struct ResetCase {
  SceneStep step;
  StepPart part;
  SceneEdit expected;
  std::uint8_t after;  // the step's value afterwards
};

TEST(SceneStepReset, EachResetFitsItsKindOfStep) {
  const ResetCase cases[] = {
      {{2, 0}, StepPart::value, SceneEdit::ok, 7},
      {{232, 0}, StepPart::key, SceneEdit::ok, 7},
      {{240, 5}, StepPart::delay, SceneEdit::ok, 7},
      {{240, 5}, StepPart::value, SceneEdit::wrongKind, 5},
      {{240, 5}, StepPart::key, SceneEdit::wrongKind, 5},
      {{2, 99}, StepPart::delay, SceneEdit::wrongKind, 99},
      {{254, 2}, StepPart::value, SceneEdit::wrongKind, 2},
      {{254, 2}, StepPart::delay, SceneEdit::wrongKind, 2},
      {{1, 0}, StepPart::value, SceneEdit::wrongKind, 0},
      {{233, 0}, StepPart::key, SceneEdit::wrongKind, 0},
  };
  for (const ResetCase& c : cases) {
    std::vector<SceneStep> steps = {{3, 40}, c.step};
    EXPECT_EQ(ResetStepPart(steps, 1, c.part, 7), c.expected) << +c.step.node;
    EXPECT_EQ(steps[1].value, c.after) << +c.step.node;
    EXPECT_EQ(steps[0], (SceneStep{3, 40}));
  }
}

TEST(SceneStepReset, NeedsASelectedStep) {
  std::vector<SceneStep> steps = {{2, 0}};
  EXPECT_EQ(ResetStepPart(steps, -1, StepPart::value, 99), SceneEdit::noSelection);
  EXPECT_EQ(ResetStepPart(steps, 1, StepPart::value, 99), SceneEdit::noSelection);
  EXPECT_EQ(ReplaceStep(steps, 1, {3, 20}), SceneEdit::noSelection);
  EXPECT_EQ(steps, (std::vector<SceneStep>{{2, 0}}));
}

TEST(SceneStepReset, ModifyReplacesNodeAndValue) {
  std::vector<SceneStep> steps = {{2, 0}, {240, 3}};
  EXPECT_EQ(ReplaceStep(steps, 1, {3, 20}), SceneEdit::ok);
  EXPECT_EQ(steps, (std::vector<SceneStep>{{2, 0}, {3, 20}}));
}

}  // namespace
}  // namespace vireo::smarthome
