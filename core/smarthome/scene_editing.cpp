// Texts and step-list edits of the smart-plug window.
#include "smarthome/scene_editing.h"

#include <algorithm>
#include <cstdio>

namespace vireo::smarthome {
namespace {

bool Selected(const std::vector<SceneStep>& steps, int selected) {
  return selected >= 0 && selected < static_cast<int>(steps.size());
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::string StepValueText(const SceneStep& step, int languageIndex, const std::string& keyName) {
  const bool english = languageIndex == 1;
  char text[32];
  if (step.node == kWaitNode) {
    std::snprintf(text, sizeof text, "%d%s", step.value, english ? "s" : "秒");
    return text;
  }
  if (step.node == kHdmiNode) {
    // The input it selects: read as a plug value, HDMI1 (0) would say "OFF" and HDMI3 (2) "2".
    std::snprintf(text, sizeof text, "HDMI%d", step.value + 1);
    return text;
  }
  if (step.value == kValueOff) return english ? "OFF" : "关";
  if (step.value == kValueOn) return english ? "ON" : "开";
  if (step.value >= kEmitKeyBase && step.value < kLearnKeyBase) return "遥控键:" + keyName;
  if (step.value >= 1 && step.value <= 98) {
    // Single precision, as the level is shown everywhere else.
    const float percent = static_cast<float>(step.value) / 99.0f * 100.0f;
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(percent));
    return text;
  }
  std::snprintf(text, sizeof text, "%d", step.value);
  return text;
}

std::string LevelSliderText(int position, int languageIndex) {
  const SceneStep level{kFirstPlugNode, static_cast<std::uint8_t>(std::clamp(position, 0, static_cast<int>(kValueOn)))};
  std::string text = StepValueText(level, languageIndex, {});
  if (level.value != kValueOff && level.value != kValueOn) text += '%';
  return text;
}

std::string KnobValueText(int value) {
  return KnobValueText(value, 0);
}

std::string KnobValueText(int value, int languageIndex) {
  const bool english = languageIndex == 1;
  if (value <= 0) return english ? "OFF" : "关";
  if (value >= kValueOn) return english ? "MAX" : "最大";
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", value);
  return text;
}

std::string IrProgressText(int value, int languageIndex) {
  static constexpr const char* kTexts[][2] = {
      {"准备就绪，请按下遥控器按键", "Ready, press the key on the remote control"},
      {"学习完成", "Key learned"},
      {"校验错误，请重新学习", "Check error, please learn again"},
      {"等待遥控器按键超时", "No key of the remote control was pressed in time"},
      {"遥控按键发射成功", "Remote key sent"},
      {"遥控按键发射失败", "Sending the remote key failed"},
  };
  if (value < 2 || value > 7) return {};
  return kTexts[value - 2][languageIndex == 1 ? 1 : 0];
}

std::u16string ProposePlugName(const std::vector<std::u16string>& taken) {
  for (int n = 1;; ++n) {
    std::u16string name = u"开关";
    for (char c : std::to_string(n)) name.push_back(static_cast<char16_t>(c));
    if (std::none_of(taken.begin(), taken.end(),
                     [&](const std::u16string& t) { return SameIgnoringCase(t, name); })) {
      return name;
    }
  }
}

std::uint8_t StepValueForPlug(std::uint8_t type, bool switchOn, int knobLevel) {
  if (type == static_cast<std::uint8_t>(PlugType::switchPlug)) return switchOn ? kValueOn : kValueOff;
  if (type == static_cast<std::uint8_t>(PlugType::knobPlug))
    return static_cast<std::uint8_t>(std::clamp(knobLevel, 0, 99));
  return 0;
}

SceneEdit AppendStep(std::vector<SceneStep>& steps, SceneStep step) {
  if (steps.size() >= static_cast<std::size_t>(kSceneSteps)) return SceneEdit::overRange;
  steps.push_back(step);
  return SceneEdit::ok;
}

SceneEdit DeleteStep(std::vector<SceneStep>& steps, int selected) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  steps.erase(steps.begin() + selected);
  return SceneEdit::ok;
}

SceneEdit MoveStepUp(std::vector<SceneStep>& steps, int selected) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  if (selected == 0) return SceneEdit::alreadyFirst;
  std::swap(steps[static_cast<std::size_t>(selected)], steps[static_cast<std::size_t>(selected - 1)]);
  return SceneEdit::ok;
}

SceneEdit MoveStepDown(std::vector<SceneStep>& steps, int selected) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  if (selected + 1 == static_cast<int>(steps.size())) return SceneEdit::alreadyLast;
  std::swap(steps[static_cast<std::size_t>(selected)], steps[static_cast<std::size_t>(selected + 1)]);
  return SceneEdit::ok;
}

SceneEdit ReplaceStepValue(std::vector<SceneStep>& steps, int selected, std::uint8_t value) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  steps[static_cast<std::size_t>(selected)].value = value;
  return SceneEdit::ok;
}

SceneEdit ResetStepPart(std::vector<SceneStep>& steps, int selected, StepPart part, std::uint8_t value) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  const int node = steps[static_cast<std::size_t>(selected)].node;
  const bool plug = node >= kFirstPlugNode && node <= kLastPlugNode;
  const bool fits = part == StepPart::delay ? node == kWaitNode : plug;
  if (!fits) return SceneEdit::wrongKind;
  return ReplaceStepValue(steps, selected, value);
}

SceneEdit ReplaceStep(std::vector<SceneStep>& steps, int selected, SceneStep step) {
  if (!Selected(steps, selected)) return SceneEdit::noSelection;
  steps[static_cast<std::size_t>(selected)] = step;
  return SceneEdit::ok;
}

}  // namespace vireo::smarthome
