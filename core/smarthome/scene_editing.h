// Pure helpers of the smart-plug window: step texts, knob texts, the proposed plug name and the edits
// of a scene's step list, so the window only presents them.
#pragma once

#include <string>
#include <vector>

#include "smarthome/smart_home_memory.h"

namespace vireo::smarthome {

// The value column of a scene step in the language (0 Chinese, 1 English), UTF-8: 240 "5秒" / "5s"; 254
// "HDMI1".."HDMI4";
// 0 "关" / "OFF"; 99 "开" / "ON"; 128..191 "遥控键:" and `keyName`; 1..98 the level in percent of 99
// without decimals; anything else the number.
std::string StepValueText(const SceneStep& step, int languageIndex, const std::string& keyName);
// The scene page's label beside its level slider (0..99): the step's text, with its unit for a level.
std::string LevelSliderText(int position, int languageIndex);
// The knob dialog's slider text: 0 "关", 99 "最大", else "N%".
std::string KnobValueText(int value);
// The same in the language (0 Chinese, 1 English: "OFF", "MAX", "N%").
std::string KnobValueText(int value, int languageIndex);
// The infrared plug's progress reports (2..7) as the wait dialog shows them in the language (0 Chinese,
// 1 English); empty for other values.
std::string IrProgressText(int value, int languageIndex);
// "开关" and the smallest number 1, 2, ... that no name in `taken` has (compared without regard to case).
std::u16string ProposePlugName(const std::vector<std::u16string>& taken);
// The value that Add gives a plug: switch plugs 99 or 0 from the check box, knob plugs the slider level,
// other types 0.
std::uint8_t StepValueForPlug(std::uint8_t type, bool switchOn, int knobLevel);

enum class SceneEdit {
  ok,
  overRange,     // "情景指令已达最大数量" / "command over range"
  noSelection,   // "请先选择列表项" / "Please select a item"
  alreadyFirst,  // "已移至首项" / "Already be first"
  alreadyLast,   // "已移至尾项" / "Already be last"
  wrongKind,  // a reset that does not fit the selected step (a key or level for a wait, seconds for a plug)
};

// What a Reset button gives the selected step: plug steps take a value or a key, wait steps a delay.
enum class StepPart { value, key, delay };

SceneEdit AppendStep(std::vector<SceneStep>& steps, SceneStep step);
SceneEdit DeleteStep(std::vector<SceneStep>& steps, int selected);
SceneEdit MoveStepUp(std::vector<SceneStep>& steps, int selected);
SceneEdit MoveStepDown(std::vector<SceneStep>& steps, int selected);
// Reset value, key or delay: the selected step keeps its node and takes `value`.
SceneEdit ReplaceStepValue(std::vector<SceneStep>& steps, int selected, std::uint8_t value);
// The same, refused with wrongKind when `part` does not fit the step: a key index taken as seconds would
// make a wait of minutes, and a delay given to a plug would switch it to a level.
SceneEdit ResetStepPart(std::vector<SceneStep>& steps, int selected, StepPart part, std::uint8_t value);
// Modify: the selected step becomes `step`.
SceneEdit ReplaceStep(std::vector<SceneStep>& steps, int selected, SceneStep step);

}  // namespace vireo::smarthome
