// The output channels page's quick delay and compressor controls of the current channel: the delay switch,
// its mode radios, the split and time sliders, the compressor switch and its four sliders. Every edit
// applies to the channels the page names (the link set).
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "pages/output_edits.h"
#include "pages/output_layout.h"
#include "tuning/compressor_ops.h"

class CXBmpSlider;
class QCheckBox;
class QLabel;
class QRadioButton;
class QWidget;
class AppServices;
class CPage;

namespace output_quick_id {
inline constexpr int delaySwitch = 1293;
inline constexpr int highFreqRadio = 1190;
inline constexpr int channelRadio = 1191;
inline constexpr int splitSlider = 1014;
inline constexpr int splitText = 1008;
inline constexpr int timeSlider = 1019;
inline constexpr int timeText = 1038;
inline constexpr int compSwitch = 1081;
inline constexpr int firstCompSlider = 1015;  // threshold, ratio, attack, release
inline constexpr int firstCompText = 1225;
}  // namespace output_quick_id

class COutputQuickControls : public QObject {
  Q_OBJECT
 public:
  // `linkSet` gives the channels of an edit, the current channel among them.
  COutputQuickControls(CPage* page, std::function<std::vector<int>()> linkSet);

  // Shows channel `channel` from the store.
  void Refresh(int channel);
  void ApplyLanguage(int dialogId);
  void SetGeometry(const OutputPageLayout& layout);

 private:
  AppServices& app_;
  OutputEdits OutputEditsOf() const;
  void ApplyDelayEnabling();
  void OnTimeMoved(int position);
  void OnCompMoved(vireo::tuning::CompSlider slider, int position);

  std::function<std::vector<int>()> linkSet_;
  int channel_ = 0;
  QCheckBox* delaySwitch_;
  QRadioButton* highFreq_;
  QRadioButton* channelMode_;
  CXBmpSlider* split_;
  QLabel* splitText_;
  CXBmpSlider* time_;
  QLabel* timeText_;
  QCheckBox* compSwitch_;
  std::array<QLabel*, vireo::tuning::kCompSliderCount> compCaptions_{};
  std::array<CXBmpSlider*, vireo::tuning::kCompSliderCount> compSliders_{};
  std::array<QLabel*, vireo::tuning::kCompSliderCount> compTexts_{};
};
