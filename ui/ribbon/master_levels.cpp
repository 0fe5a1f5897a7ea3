// Texts of the master-level labels and panel captions.
#include "ribbon/master_levels.h"

#include <array>

MasterLevelIds IdsOf(const CategoryIds& category, MasterLevel level) {
  switch (level) {
    case MasterLevel::mic:
      return category.mic;
    case MasterLevel::effect:
      return category.effect;
    case MasterLevel::reverb:
      return category.reverb;
    case MasterLevel::echo:
      return category.echo;
    case MasterLevel::music:
      return category.music;
    case MasterLevel::noiseGate:
      return {category.noiseGateLabel, category.noiseGateSlider, 0};
    case MasterLevel::pitch:
      return {0, category.pitchSlider, 0};
  }
  return {0, 0, 0};
}

QString LevelLabelText(MasterLevel level, int value, int languageIndex, bool forLanguageSwitch) {
  const bool english = languageIndex == 1;
  const char* name = "";
  int width = 3;
  switch (level) {
    case MasterLevel::mic:
      name = english ? "Mic    Vol: " : "话筒音量:";
      break;
    case MasterLevel::effect:
      name = english ? "Effect    Vol:" : "效果总音量:";
      break;
    case MasterLevel::reverb:
      name = english ? "Reverb Vol:" : (forLanguageSwitch ? "混响音量:" : "混响音量:  ");
      break;
    case MasterLevel::echo:
      name = english ? "Echo Vol:" : "回声音量:";
      break;
    case MasterLevel::music:
      name = english ? "Music Vol:" : "音乐音量:";
      break;
    case MasterLevel::noiseGate:
      name = english ? "Noisegate:" : "音乐噪声门:";
      width = english ? 7 : 3;
      break;
    case MasterLevel::pitch:
      return PitchCaption(value, languageIndex);
  }
  return QString::fromUtf8(name) + QStringLiteral("%1").arg(value, width);
}

QString PitchCaption(int pitch, int languageIndex) {
  const QString name = QString::fromUtf8(languageIndex == 1 ? "Music Pitch:" : "音乐变调:");
  return name + (pitch < 0 ? QString::number(pitch) : QStringLiteral("+%1").arg(pitch));
}

namespace {
struct CaptionPair {
  const char* zh;
  const char* en;
};
constexpr CaptionPair kWirelessCaption{"无线话筒", "Wireless Mic"};
constexpr std::array<CaptionPair, 8> kBuildCaptions{{{"话筒音量", "Mic Vol"},
                                                     {"效果总音量", "Efx Vol"},
                                                     {"混响音量", "Reverb Vol"},
                                                     {"回声音量", "Echo Vol"},
                                                     {"音乐音量", "Music Vol"},
                                                     {"音乐变调", "Music pitch"},
                                                     {"调用", "Load"},
                                                     {"保存", "Save"}}};
constexpr std::array<CaptionPair, 8> kSwitchCaptions{{{"话筒音量", "Mic  Vol"},
                                                      {"效果总音量", "Effect Vol"},
                                                      {"混响音量", "Reverb Vol"},
                                                      {"回声音量", "Echo Vol"},
                                                      {"音乐音量", "Music Vol"},
                                                      {"", ""},
                                                      {"调用", "Load"},
                                                      {"保存", "Save"}}};

QString PickCaption(const CaptionPair& pair, int languageIndex) {
  return QString::fromUtf8(languageIndex == 1 ? pair.en : pair.zh);
}
}  // namespace

QString BuildPanelCaption(int panel, int languageIndex) {
  if (panel == kWirelessPanel) return PickCaption(kWirelessCaption, languageIndex);
  if (panel < 1 || panel > 8) return {};
  return PickCaption(kBuildCaptions[static_cast<std::size_t>(panel - 1)], languageIndex);
}

QString SwitchPanelCaption(int panel, int languageIndex, int pitch) {
  if (panel == kWirelessPanel) return PickCaption(kWirelessCaption, languageIndex);
  if (panel < 1 || panel > 8) return {};
  if (panel == 6) return PitchCaption(pitch, languageIndex);
  return PickCaption(kSwitchCaptions[static_cast<std::size_t>(panel - 1)], languageIndex);
}
