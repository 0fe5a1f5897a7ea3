// The features dialog (template 515): microphone boost, the music low-frequency path, the automatic
// sub-woofer decay and the music compressor. Every change is stored and sent at once; closing hides it.
#pragma once

#include <QDialog>
#include <array>

#include "dialogs/dialog_edits.h"

#include "tuning/feature_ops.h"

class AppServices;
class CXBmpSlider;
class QCheckBox;
class QLabel;

namespace features_id {
inline constexpr int boostBox = 1040;
inline constexpr int boostSlider = 1043;
inline constexpr int lowFrequencySlider = 1046;  // 1046..1048 the low-frequency path
inline constexpr int subSlider = 1050;
inline constexpr int thresholdSlider = 1051;  // 1051..1054 the compressor
inline constexpr int compBox = 1044;
inline constexpr int subBox = 1042;
inline constexpr int agcBox = 1041;
inline constexpr int agcSlider = 1049;
inline constexpr int agcGroup = 1012;
}  // namespace features_id

class CloudnessDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CloudnessDlg(AppServices& app, QWidget* parent = nullptr);

  // The controls from the store (on every open and after every synchronisation).
  void FillFeatures();
  void ApplyLanguage();
  CXBmpSlider* slider(vireo::tuning::FeatureSlider s) const { return sliders_[static_cast<std::size_t>(s)]; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  AppServices& app_;
  QWidget* BuildRow(vireo::tuning::FeatureSlider s, int sliderId, int valueId, class QGridLayout* grid,
                    int row, int captionId, const char* zh, QWidget* group);
  void OnMoved(vireo::tuning::FeatureSlider s, int position);

  std::array<CXBmpSlider*, vireo::tuning::kFeatureSliders> sliders_{};
  std::array<QLabel*, vireo::tuning::kFeatureSliders> values_{};
  QCheckBox* boostBox_;
  QCheckBox* compBox_;
  QCheckBox* subBox_;
  QLabel* subNote_ = nullptr;
  QCheckBox* agcBox_;
  CXBmpSlider* agcSlider_;
  QLabel* agcValue_;
};
