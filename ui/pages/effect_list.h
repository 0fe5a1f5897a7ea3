// The effect-parameter list of the microphone and music page: nine rows of reverb, echo and shift settings
// of effect set A or B, one vertical slider that edits the clicked row, its value box and the row's name.
#pragma once

#include <QObject>
#include <QRect>

#include "tuning/effect_params.h"

class CReportCtrl;
class CXBmpSlider;
class QLabel;
class QLineEdit;
class QWidget;
class AppServices;
class CPage;

namespace effect_list_id {
inline constexpr int list = 1141;
inline constexpr int slider = 1000;
inline constexpr int valueBox = 1038;
inline constexpr int name = 1124;
}  // namespace effect_list_id

class CEffectParamList : public QObject {
  Q_OBJECT
 public:
  explicit CEffectParamList(CPage* page);

  // Columns and the nine rows in the current language.
  void Build();
  void SetEffectSet(vireo::tuning::EffectSet set) { set_ = set; }
  vireo::tuning::EffectSet effectSet() const { return set_; }
  // Every row's value text from the store, and the selected row's value onto the slider.
  void RefreshFromStore();
  // The list, the slider, the value box and the name; disabled while the page shows the music equaliser.
  void SetEnabled(bool enabled);
  // The list at `list`; the name, the slider and the value box stacked in `sliderColumn`.
  void SetGeometry(const QRect& list, const QRect& sliderColumn);
  // A click on row `row`: the slider takes its range and value.
  void SelectRow(int row);
  int selectedRow() const { return row_; }

  CReportCtrl* list() const { return list_; }
  CXBmpSlider* slider() const { return slider_; }

 private:
  AppServices& app_;
  void OnSliderMoved(int position);
  void ShowRowValue(int row, int value);

  CReportCtrl* list_;
  CXBmpSlider* slider_;
  QLineEdit* valueBox_;
  QLabel* name_;
  vireo::tuning::EffectSet set_ = vireo::tuning::EffectSet::a;
  int row_ = 0;
};
