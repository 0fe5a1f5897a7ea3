// The compressor page: the compressor of one output channel at a time, chosen in a drop-down list, with its
// switch, four sliders and the transfer-curve picture.
#pragma once

#include <array>

#include "pages/page.h"
#include "tuning/compressor_ops.h"

class CCompressPanelPlus;
class COutputNavBar;
class CXBmpSlider;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace comp_page_id {
inline constexpr int channelCombo = 1134;
inline constexpr int onBox = 1045;
inline constexpr int firstSlider = 1014;    // threshold, ratio, attack, release
inline constexpr int firstValueBox = 1038;  // their value texts
inline constexpr int curve = 1125;
}  // namespace comp_page_id

class CCompDlg : public CPage {
  Q_OBJECT
 public:
  CCompDlg(AppServices& app, QWidget* parent);

  int channel() const { return channel_; }
  CCompressPanelPlus* curve() const { return curve_; }

  void ShowChannel(int channel) override;
  void RefreshFromStore() override;
  void ApplyLanguage() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void BuildSliders();
  void ApplyTexts();
  void FillChannels();
  void OnSliderMoved(vireo::tuning::CompSlider slider, int position);
  void OnSwitchClicked(bool checked);
  void ShowValue(vireo::tuning::CompSlider slider, int position);

  int channel_ = 0;
  QLabel* channelCaption_;
  QComboBox* channels_;
  QCheckBox* onBox_;
  std::array<QLabel*, vireo::tuning::kCompSliderCount> captions_{};
  std::array<CXBmpSlider*, vireo::tuning::kCompSliderCount> sliders_{};
  std::array<QLineEdit*, vireo::tuning::kCompSliderCount> values_{};
  CCompressPanelPlus* curve_;
  COutputNavBar* nav_;
};
