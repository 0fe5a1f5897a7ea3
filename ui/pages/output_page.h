// The output channels page: one output channel at a time with its equaliser and crossover, its mix of
// direct, reverb, echo and music signal and quick delay and compressor controls; mute, phase and role of
// all eight channels; and the links of the channel pairs 1+2, 3+4 and 7+8.
#pragma once

#include <array>
#include <vector>

#include "pages/output_edits.h"
#include "pages/page.h"
#include "tuning/output_ops.h"

class CChannelPicture;
class CEqEditing;
class COutputNavBar;
class COutputQuickControls;
class CXBmpSlider;
class QCheckBox;
class QComboBox;
class QLabel;

namespace output_page_id {
inline constexpr int picture = 1258;
inline constexpr int firstMixSlider = 1041;  // direct, reverb, echo, music
inline constexpr int firstMixText = 1127;
inline constexpr std::array<int, 8> mute = {1045, 1047, 1048, 1049, 1050, 1051, 1052, 1053};
inline constexpr int firstPhase = 1054;
inline constexpr int firstRole = 1217;
inline constexpr std::array<int, 3> links = {1062, 1064, 1068};
inline constexpr int unusedLink = 1066;  // channels 5 and 6 never link
inline constexpr int crossoverCombo = 1134;
inline constexpr int crossoverCaption = 1215;
inline constexpr std::array<int, 3> editorCaptions = {1199, 1200, 1201};
}  // namespace output_page_id

class CDialogOutput : public CPage {
  Q_OBJECT
 public:
  // Opens on `channel` (0..7), which becomes the application's current output channel.
  CDialogOutput(AppServices& app, QWidget* parent, int channel);

  int channel() const { return channel_; }
  CEqEditing& eq() const { return *eq_; }
  // The channels an edit applies to now.
  std::vector<int> LinkSet() const;
  bool crossoverShown() const;

  bool OffersShownEq() const override { return true; }
  bool ShownEqBypass() const override;
  void ToggleShownEqBypass() override;
  void ResetShownEq() override;
  void SelectSection(int section) override;
  void ShowChannel(int channel) override;
  void RefreshFromStore() override;
  void ApplyLanguage() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The edits of this page: each is one undo step over the channels of its link set.
  OutputEdits outputEdits() const { return OutputEdits(app().edits()); }
  struct ChannelRow {
    QLabel* name = nullptr;
    QCheckBox* mute = nullptr;
    QCheckBox* phase = nullptr;
    QComboBox* role = nullptr;
  };
  void BuildMix();
  void BuildChannelRows();
  void BuildLinks();
  void BuildCrossover();
  void ApplyTexts();
  void FillRoles();
  void RefreshMix();
  void RefreshChannelRows();
  void OnMixMoved(int index, int position);
  void OnLinkClicked(int pair, bool checked);
  void WriteBandForLinks(int band);
  void FollowBand(int band);
  void ShowCrossover(bool shown);
  // The largest lift of the channel's music path, shown only when it may clip.
  void RefreshHeadroom();
  void OnFamilyChosen(int family);

  int channel_;
  COutputNavBar* nav_;
  CChannelPicture* picture_;
  CEqEditing* eq_;
  COutputQuickControls* quick_;
  std::array<QLabel*, 4> mixCaptions_{};
  std::array<CXBmpSlider*, 4> mixSliders_{};
  std::array<QLabel*, 4> mixTexts_{};
  std::array<ChannelRow, 8> rows_{};
  std::array<QCheckBox*, 3> links_{};
  QLabel* crossoverCaption_ = nullptr;
  QLabel* headroom_ = nullptr;
  QComboBox* crossover_ = nullptr;
};
