// The microphone and music EQ page: the equalisers of microphone channels A and B and of the music, the
// microphone inputs' routing, noise gates and volumes with their meters, the music meters and input format,
// the effect-parameter list and the two effect EQ previews that open the effect EQ editor.
#pragma once

#include <QTimer>
#include <array>

#include "pages/page.h"

class CEqEditing;
class CEffectParamList;
class CGdipButton;
class CPeakMeterCtrl;
class CSmallEqPanel;
class CXBmpSlider;
class QGroupBox;
class QLabel;
class QRadioButton;

// The view the next microphone and music page opens on (0 channel A, 1 channel B, 2 music).
int MusicPageView();
void SetMusicPageView(int view);

class CDialogMusic : public CPage {
  Q_OBJECT
 public:
  CDialogMusic(AppServices& app, QWidget* parent);

  int view() const { return view_; }
  void SetView(int view);
  CEqEditing& eq() const { return *eq_; }
  CEffectParamList& effects() const { return *effects_; }
  // Reads the meters and the input format now, as the 300 ms timer does.
  void UpdateMeters();

  bool OffersShownEq() const override { return true; }
  bool ShownEqBypass() const override;
  void ToggleShownEqBypass() override;
  void ResetShownEq() override;
  void SelectSection(int section) override;
  void RefreshFromStore() override;
  void ApplyLanguage() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct MicInput {
    QLabel* label = nullptr;
    QRadioButton* channelA = nullptr;
    QRadioButton* channelB = nullptr;
    QLabel* gateCaption = nullptr;
    CXBmpSlider* gate = nullptr;
    QLabel* gateValue = nullptr;
    QLabel* volumeCaption = nullptr;
    CXBmpSlider* volume = nullptr;
    QLabel* volumeValue = nullptr;
    CPeakMeterCtrl* meter = nullptr;
  };
  void BuildMicInputs();
  void BuildMusicControls();
  void BuildPreviews();
  void LayoutControls();
  void RefreshMicInputs();
  void RefreshMusicLevel();
  void RefreshPreviews();
  void RefreshViewButtons();
  void ApplyPreviewTips();
  void OpenEffectEq(bool reverb);
  void ApplyTexts();

  int view_ = 0;
  CEqEditing* eq_;
  CEffectParamList* effects_;
  std::array<CGdipButton*, 3> viewButtons_{};
  std::array<MicInput, 4> mics_{};
  std::array<CPeakMeterCtrl*, 2> musicMeters_{};
  QGroupBox* musicPeak_ = nullptr;
  QLabel* inputFormat_ = nullptr;
  CXBmpSlider* musicLevel_ = nullptr;
  QLabel* musicLevelValue_ = nullptr;
  QLabel* musicLevelLabel_ = nullptr;
  QLabel* reverbTitle_ = nullptr;
  QLabel* echoTitle_ = nullptr;
  CSmallEqPanel* reverbPreview_ = nullptr;
  CSmallEqPanel* echoPreview_ = nullptr;
  QTimer meterTimer_;
};

// "DOLBY", "DTS", "Multi-CH LPCM" or "Stereo" from byte 7 of the level meters.
QString InputFormatText(unsigned char formatByte);
