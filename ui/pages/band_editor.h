// The band editor of the EQ pages, shown in place of the band list while a band is selected: the band
// number, the type buttons PEQ..HS, and gain, frequency and Q each as a vertical slider and an edit box.
#pragma once

#include <QWidget>
#include <array>

#include "dsp/band_response.h"

class CXBmpSlider;
class QLabel;
class QLineEdit;
class QRadioButton;

// Control ids of the editor (the same on both EQ pages).
namespace band_editor_id {
inline constexpr int number = 1203;
inline constexpr int firstType = 1204;  // PEQ; LP, HP, LS, HS follow
inline constexpr int gainSlider = 1209;
inline constexpr int frequencySlider = 1210;
inline constexpr int qSlider = 1211;
inline constexpr int gainEdit = 1212;
inline constexpr int frequencyEdit = 1213;
inline constexpr int qEdit = 1214;
inline constexpr int gainLabel = 1215;
inline constexpr int frequencyLabel = 1216;
inline constexpr int qLabel = 1217;
}  // namespace band_editor_id

// Slider ranges: gain in tenths of a dB, Q in hundredths (3000 for Peaking, 200 for the other types).
inline constexpr int kGainSliderMax = 150;
inline constexpr int kQSliderMin = 10;
inline constexpr int kPeakingQSliderMax = 3000;
inline constexpr int kOtherQSliderMax = 200;

class CBandEditor : public QWidget {
  Q_OBJECT
 public:
  CBandEditor(int dialogId, QWidget* parent);

  // Number, type button, sliders and edit boxes from a band; the gain controls are enabled only for the
  // types with a gain. Emits nothing.
  void ShowBand(int band, const vireo::dsp::BandShape& shape);
  // The Q slider's range for a type button index (0 PEQ .. 4 HS).
  void SetQRangeForTypeIndex(int index);
  // A slider's position shown in its edit box, as the user moves it.
  void ShowSliderInEdit(int controlId, int position);
  // The three edit boxes as typed (lenient decimals; unreadable text gives 0).
  vireo::dsp::BandShape ReadEdits() const;
  // Which of the three edit boxes (gain, frequency, Q) no longer show the band as ShowBand put it: typed
  // into, or moved by their slider. The others show rounded texts that must not be read back.
  std::array<bool, 3> ChangedEdits() const;
  // Texts of the current language (slider captions and type buttons).
  void ApplyLanguage();
  // A page whose table gives other ids to the gain, frequency and Q captions names them here.
  void SetCaptionIds(const std::array<int, 3>& ids);

  CXBmpSlider* slider(int controlId) const;
  QLineEdit* edit(int controlId) const;
  QSize minimumSizeHint() const override { return {250, 200}; }

 signals:
  void sliderMoved(int controlId, int position);
  // Enter in one of the three edit boxes.
  void editsEntered();
  // A type button was clicked: index 0 PEQ .. 4 HS.
  void typeClicked(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Layout();

  int dialogId_;
  QLabel* number_;
  std::array<QRadioButton*, 5> types_{};
  std::array<CXBmpSlider*, 3> sliders_{};
  std::array<QLineEdit*, 3> edits_{};
  std::array<QLabel*, 3> captions_{};
  std::array<QString, 3> shownTexts_{};
  std::array<int, 3> captionIds_{band_editor_id::gainLabel, band_editor_id::frequencyLabel,
                                 band_editor_id::qLabel};
};
