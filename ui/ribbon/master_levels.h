// The master levels of the ribbon: which control is which, and the texts of their labels and captions.
#pragma once

#include <QString>

#include "look/command_ids.h"

enum class MasterLevel { mic, effect, reverb, echo, music, noiseGate, pitch };

inline constexpr MasterLevel kAllMasterLevels[] = {
    MasterLevel::mic,   MasterLevel::effect,    MasterLevel::reverb, MasterLevel::echo,
    MasterLevel::music, MasterLevel::noiseGate, MasterLevel::pitch};

// Label, slider and mute ids of a level in one category (0 for what the level lacks).
MasterLevelIds IdsOf(const CategoryIds& category, MasterLevel level);

// The value label: "%s%3d" with the level's name ("%s%7d" for the English noise gate). The ribbon's
// language switch writes the Chinese reverb name without its two trailing blanks.
QString LevelLabelText(MasterLevel level, int value, int languageIndex, bool forLanguageSwitch = false);

// Caption of panel 6: "%s%+-d" with "音乐变调:" / "Music Pitch:" (always signed: +0, +3, -2).
QString PitchCaption(int pitch, int languageIndex);

// Panels 1..8 of a category, then the wireless-microphone panel.
inline constexpr int kRibbonPanels = 9;
inline constexpr int kWirelessPanel = 9;

// The panel captions as the ribbon is built, and as a language switch rewrites them (panels 1..9).
QString BuildPanelCaption(int panel, int languageIndex);
QString SwitchPanelCaption(int panel, int languageIndex, int pitch);
