// The machine settings dialog (template 335): start and maximum volumes, volume save mode, power-on mode,
// factory reset of a mode slot and clearing of the smart-plug data. Edits go to the working copy; Apply
// sends it; closing drops what was not applied and destroys the dialog.
#pragma once

#include <QDialog>
#include <array>

#include "dialogs/dialog_edits.h"

#include "tuning/machine_settings_ops.h"

class CGdipButton;
class AppServices;
class CXBmpSlider;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace machine_set_id {
inline constexpr int micStartSlider = 1014;
inline constexpr int musicStartSlider = 1015;
inline constexpr int micMaxSlider = 1016;
inline constexpr int musicMaxSlider = 1019;
inline constexpr int micStartBox = 1039;
inline constexpr int musicStartBox = 1040;
inline constexpr int micStartValue = 1145;
inline constexpr int musicStartValue = 1146;
inline constexpr int micMaxValue = 1147;
inline constexpr int musicMaxValue = 1150;
inline constexpr int byPower = 1190;
inline constexpr int byMode = 1191;
inline constexpr int powerOnList = 1134;
inline constexpr int clearPlugs = 1070;
inline constexpr int firstModeButton = 32823;
inline constexpr int apply = 1073;
inline constexpr int cancel = 2;
}  // namespace machine_set_id

class CMachineSetDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CMachineSetDlg(AppServices& app, QWidget* parent = nullptr);

  // The controls from the applied settings (on creation and after every synchronisation).
  void FillFromSettings();
  void ApplyLanguage();

 protected:
  void reject() override;

 private:
  AppServices& app_;
  struct StartRow {
    vireo::tuning::StartVolume which;
    CXBmpSlider* start = nullptr;
    QLabel* caption = nullptr;
    QLabel* startValue = nullptr;
    QCheckBox* enable = nullptr;
    CXBmpSlider* max = nullptr;
    QLabel* maxValue = nullptr;
  };
  void BuildVolumes(StartRow& row, int captionId, int maxCaptionId, const char* zh, const char* maxZh);
  void ShowStart(StartRow& row, int byte);
  void OnStartMoved(StartRow& row, int position);
  void OnMaxMoved(StartRow& row, int position);
  void OnEnableClicked(StartRow& row, bool on);
  void OnModeButton(int slot);
  void OnClearPlugs();
  void OnApply();
  void UpdateModeButtons();

  std::array<StartRow, 2> rows_;
  QRadioButton* byPower_;
  QRadioButton* byMode_;
  QComboBox* powerOn_;
  std::array<CGdipButton*, 4> modes_{};
  bool closing_ = false;
};
