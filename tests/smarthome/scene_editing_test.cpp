// Step texts, knob texts, the proposed plug name and the step-list edits of the smart-plug window.
#include "smarthome/scene_editing.h"

#include <gtest/gtest.h>

namespace vireo::smarthome {
namespace {

struct TextCase {
  SceneStep step;
  int language;
  const char* expected;
};

TEST(SceneEditing, StepValueTexts) {
  const TextCase cases[] = {
      {{240, 5}, 0, "5秒"}, {{240, 5}, 1, "5s"},  {{2, 0}, 0, "关"},          {{2, 0}, 1, "OFF"},
      {{2, 99}, 0, "开"},   {{2, 99}, 1, "ON"},   {{4, 128}, 1, "遥控键:TV"}, {{4, 191}, 0, "遥控键:TV"},
      {{3, 1}, 1, "1"},     {{3, 49}, 1, "49"},   {{3, 50}, 1, "51"},         {{3, 98}, 1, "99"},
      {{4, 192}, 1, "192"}, {{2, 255}, 1, "255"}, {{254, 2}, 1, "HDMI3"},     {{254, 0}, 0, "HDMI1"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(StepValueText(c.step, c.language, "TV"), c.expected) << +c.step.node << ' ' << +c.step.value;
  }
}

TEST(SceneEditing, KnobTexts) {
  EXPECT_EQ(KnobValueText(0), "关");
  EXPECT_EQ(KnobValueText(1), "1%");
  EXPECT_EQ(KnobValueText(98), "98%");
  EXPECT_EQ(KnobValueText(99), "最大");
  EXPECT_EQ(KnobValueText(0, 1), "OFF");
  EXPECT_EQ(KnobValueText(50, 1), "50%");
  EXPECT_EQ(KnobValueText(99, 1), "MAX");
  EXPECT_EQ(KnobValueText(99, 0), "最大");
}

TEST(SceneEditing, LevelSliderTextsCarryTheirUnit) {
  const std::pair<int, const char*> english[] = {{-3, "OFF"}, {0, "OFF"}, {1, "1%"},  {50, "51%"},
                                                 {98, "99%"}, {99, "ON"}, {120, "ON"}};
  for (const auto& [position, text] : english) EXPECT_EQ(LevelSliderText(position, 1), text) << position;
  EXPECT_EQ(LevelSliderText(50, 0), "51%");
  EXPECT_EQ(LevelSliderText(99, 0), "开");
}

TEST(SceneEditing, ProposedNameTakesTheSmallestFreeNumberIgnoringCase) {
  EXPECT_EQ(ProposePlugName({}), u"开关1");
  EXPECT_EQ(ProposePlugName({u"开关1", u"开关3"}), u"开关2");
  EXPECT_EQ(ProposePlugName({u"开关1", u"开关2", u"Lamp"}), u"开关3");
}

TEST(SceneEditing, AddValueByPlugType) {
  EXPECT_EQ(StepValueForPlug(1, true, 40), 99);
  EXPECT_EQ(StepValueForPlug(1, false, 40), 0);
  EXPECT_EQ(StepValueForPlug(2, true, 40), 40);
  EXPECT_EQ(StepValueForPlug(0, true, 40), 0);
}

TEST(SceneEditing, TheTwentyNinthStepIsRefused) {
  std::vector<SceneStep> steps(27, SceneStep{2, 99});
  EXPECT_EQ(AppendStep(steps, {3, 1}), SceneEdit::ok);
  EXPECT_EQ(AppendStep(steps, {3, 1}), SceneEdit::overRange);
  EXPECT_EQ(steps.size(), 28u);
}

TEST(SceneEditing, MovesAndTheirLimits) {
  std::vector<SceneStep> steps = {{2, 0}, {3, 1}, {4, 128}};
  EXPECT_EQ(MoveStepUp(steps, 0), SceneEdit::alreadyFirst);
  EXPECT_EQ(MoveStepDown(steps, 2), SceneEdit::alreadyLast);
  EXPECT_EQ(MoveStepUp(steps, 3), SceneEdit::noSelection);
  EXPECT_EQ(MoveStepDown(steps, -1), SceneEdit::noSelection);
  EXPECT_EQ(MoveStepDown(steps, 0), SceneEdit::ok);
  EXPECT_EQ(steps, (std::vector<SceneStep>{{3, 1}, {2, 0}, {4, 128}}));
  EXPECT_EQ(MoveStepUp(steps, 2), SceneEdit::ok);
  EXPECT_EQ(steps, (std::vector<SceneStep>{{3, 1}, {4, 128}, {2, 0}}));
  EXPECT_EQ(ReplaceStepValue(steps, 1, 130), SceneEdit::ok);
  EXPECT_EQ(DeleteStep(steps, 0), SceneEdit::ok);
  EXPECT_EQ(steps, (std::vector<SceneStep>{{4, 130}, {2, 0}}));
  EXPECT_EQ(DeleteStep(steps, 2), SceneEdit::noSelection);
}

}  // namespace
}  // namespace vireo::smarthome
