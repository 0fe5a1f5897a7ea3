// The effect EQ editor: one of the four seven-band effect equalisers (Reverb A, Reverb B, Echo A, Echo B)
// in the large graph with the band list and editor, and a back button to the microphone and music page.
#pragma once

#include "pages/page.h"

class CEqEditing;
class CGdipButton;
class QLabel;

class CDialogEfx : public CPage {
  Q_OBJECT
 public:
  // selector: 0 Reverb A, 1 Reverb B, 2 Echo A, 3 Echo B.
  CDialogEfx(int selector, AppServices& app, QWidget* parent);

  int selector() const { return selector_; }
  CEqEditing& eq() const { return *eq_; }

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
  void ApplyTexts();

  int selector_;
  CEqEditing* eq_;
  QLabel* title_;
  CGdipButton* back_;
};

// "Reverb A EQ" .. "Echo B EQ" or "混响A均衡" .. "回声B均衡".
QString EffectEqTitle(int selector, int languageIndex);
