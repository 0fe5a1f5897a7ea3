// The scene page of the smart-plug window (template 482): the steps of the six scenes, edited on the PC
// and saved to the machine, and a test run of the saved scene.
#pragma once

#include <QWidget>
#include <vector>

#include "smarthome/plug_keys.h"
#include "smarthome/scene_editing.h"

class CGdipButton;
class CReportCtrl;
class CXBmpSlider;
class QCheckBox;
class QLabel;
class QListWidget;
class QStackedWidget;
class QVBoxLayout;
class SmartHomeLink;

namespace scene_page_id {
inline constexpr int dialog = 482;
inline constexpr int sceneList = 1300;
inline constexpr int plugList = 1301;
inline constexpr int stepList = 1302;
inline constexpr int switchBox = 1303;
inline constexpr int levelSlider = 1304;
inline constexpr int levelText = 1305;
inline constexpr int keyList = 1306;
inline constexpr int delaySlider = 1307;
inline constexpr int delayText = 1308;
inline constexpr int add = 1310;
inline constexpr int addKey = 1311;
inline constexpr int addDelay = 1312;
inline constexpr int deleteStep = 1313;
inline constexpr int up = 1314;
inline constexpr int down = 1315;
inline constexpr int clear = 1316;
inline constexpr int modify = 1317;
inline constexpr int save = 1318;
inline constexpr int test = 1319;
inline constexpr int resetValue = 1320;
inline constexpr int resetKey = 1321;
inline constexpr int resetDelay = 1322;
inline constexpr int sceneGroup = 1330;
inline constexpr int stepGroup = 1331;
inline constexpr int plugGroup = 1332;
inline constexpr int keyGroup = 1333;
inline constexpr int delayGroup = 1334;
}  // namespace scene_page_id

class CDialogZwaveRemoter : public QWidget {
  Q_OBJECT
 public:
  CDialogZwaveRemoter(SmartHomeLink& link, QWidget* parent);

  // The plug list and the chosen scene's steps from the PC copies; unsaved edits are kept while the
  // PC copy of the scene is still the one they started from.
  void RefreshLists();
  void Recaption();

  int currentScene() const;
  const std::vector<vireo::smarthome::SceneStep>& steps() const { return steps_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildScenes();
  QWidget* BuildSteps();
  void BuildEditors(QVBoxLayout* column);
  QWidget* BuildPlugEditor();
  QWidget* BuildKeyEditor();
  QWidget* BuildDelayEditor();
  CGdipButton* MakeButton(int id, void (CDialogZwaveRemoter::*slot)());
  void SetTabOrder();

  void FillPlugs();
  void FillSteps(int selectRow);
  void FillKeys();
  void ShowValueEditor();
  void ShowEditorsFor(int row);
  void UpdateValueTexts();

  int SelectedPlug() const;  // node id, -1 when none
  int SelectedStep() const;
  int SelectedKey() const;
  std::uint8_t PlugValue(int node) const;
  // The popup of an edit's outcome; `selection` is the no-selection text of the button.
  bool Report(vireo::smarthome::SceneEdit result, const char* selectionZh);
  void Notice(const char* zh, const char* en);
  std::vector<vireo::smarthome::PlugKey> KeysOf(int node) const;

  void OnSceneChosen();
  void OnAdd();
  void OnAddKey();
  void OnAddDelay();
  void OnDelete();
  void OnUp();
  void OnDown();
  void OnClear();
  void OnModify();
  void OnSave();
  void OnTest();
  void OnResetValue();
  void OnResetKey();
  void OnResetDelay();
  void Reset(vireo::smarthome::StepPart part, std::uint8_t value);

  SmartHomeLink& link_;
  std::vector<vireo::smarthome::SceneStep> steps_;   // the chosen scene as edited, saved by Save
  std::vector<vireo::smarthome::SceneStep> loaded_;  // the PC copy the edits started from
  std::vector<vireo::smarthome::PlugKey> keys_;      // the selected plug's keys
  QListWidget* scenes_ = nullptr;
  QListWidget* plugs_ = nullptr;
  CReportCtrl* stepList_ = nullptr;
  QStackedWidget* valueEditor_ = nullptr;
  QCheckBox* switchBox_ = nullptr;
  CXBmpSlider* level_ = nullptr;
  QLabel* levelText_ = nullptr;
  QListWidget* keyList_ = nullptr;
  CXBmpSlider* delay_ = nullptr;
  QLabel* delayText_ = nullptr;
};
