// Command and control ids of the main window: ribbon elements, status bar panes, dialog templates.
#pragma once

namespace cmd {

// Application menu and accelerators.
inline constexpr int fileOpen = 57601;
inline constexpr int fileSave = 57603;
inline constexpr int appExit = 57665;
inline constexpr int appAbout = 57664;
inline constexpr int editUndo = 57643;
inline constexpr int editRedo = 57644;

// Tab-row buttons, in their order on the ribbon.
inline constexpr int features = 32887;
inline constexpr int smartPlug = 32771;
inline constexpr int inputSource = 32922;
inline constexpr int machineReset = 32811;
inline constexpr int remoteControl = 32812;
inline constexpr int switchLanguage = 32805;
// A/B comparison of two tunings (our own command; F9).
inline constexpr int abCompare = 32990;
// The automatic backups' window (application menu; our own command).
inline constexpr int backups = 32991;
// The remote-control server's window (application menu; our own command). Not remoteControl above,
// which is the tab row's remote-learning window.
inline constexpr int remoteServer = 32992;

// Mode-slot menu items: slot s is first + s (Movie, Karaoke, Game, AV).
inline constexpr int loadSlotFirst = 32910;
inline constexpr int saveSlotFirst = 32914;
inline constexpr int resetSlotFirst = 32823;

// Status bar.
inline constexpr int connectionPane = 120;
inline constexpr int modePane = 121;
inline constexpr int eqBypass = 1121;
inline constexpr int resetEq = 1122;

}  // namespace cmd

// The ids of one ribbon category's controls (the Input and Output categories are twins).
struct MasterLevelIds {
  int label;
  int slider;
  int mute;  // 0 where the panel has no mute box
};

struct CategoryIds {
  MasterLevelIds mic;
  MasterLevelIds effect;
  MasterLevelIds reverb;
  MasterLevelIds echo;
  MasterLevelIds music;
  int noiseGateLabel;
  int noiseGateSlider;
  int pitchSlider;
  int loadMode;
  int loadFile;
  int saveMode;
  int saveFile;
};

inline constexpr CategoryIds kInputIds{{32832, 32829, 32847},
                                       {32833, 32830, 0},
                                       {32920, 32918, 32848},
                                       {32837, 32806, 32849},
                                       {32834, 32831, 32850},
                                       32842,
                                       32846,
                                       32841,
                                       32815,
                                       32827,
                                       32819,
                                       32828};
inline constexpr CategoryIds kOutputIds{{32857, 32858, 32859},
                                        {32860, 32861, 0},
                                        {32921, 32919, 32862},
                                        {32863, 32864, 32865},
                                        {32866, 32867, 32868},
                                        32878,
                                        32879,
                                        32880,
                                        32900,
                                        32881,
                                        32904,
                                        32882};

// The wireless-microphone labels: three texts (RF/AF, frequency, battery) per microphone, each as an
// Input / Output pair; microphone 0 from 32926, microphone 1 from 32932.
inline constexpr int kWirelessLabelFirst[2] = {32926, 32932};
constexpr int WirelessLabelId(int microphone, int text, int category) {
  return kWirelessLabelFirst[microphone] + 2 * text + category;
}

// Dialog templates (the language tables key their captions by these).
namespace dlg {
inline constexpr int about = 100;
inline constexpr int music = 313;
inline constexpr int delay = 333;
inline constexpr int ssvc = 334;
inline constexpr int machineSettings = 335;
inline constexpr int info = 344;
inline constexpr int comp = 346;
inline constexpr int sync = 347;
inline constexpr int output = 385;
inline constexpr int efx = 421;
inline constexpr int musicInput = 512;
inline constexpr int choiceBox = 513;
inline constexpr int features = 515;
}  // namespace dlg
