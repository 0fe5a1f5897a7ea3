// The large equaliser graph: shows one equaliser and edits its bands with the mouse, the wheel, the keys
// and context menus. It never talks to the machine; its owner page hears every edit through the signals.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>

#include "controls/left_ctrl.h"
#include "dsp/eq_band_set.h"

class CEqPanel : public QWidget {
  Q_OBJECT
 public:
  // Context-menu commands: the type entries carry the type code + 2024.
  static constexpr int kTypeMenuCommand = 2024;
  static constexpr int kCopyCommand = 3025;
  static constexpr int kPasteCommand = 3026;
  static constexpr int kImportFiltersCommand = 3027;
  static constexpr int kExportFiltersCommand = 3028;
  static constexpr int kSavePictureCommand = 3029;
  static constexpr int kSaveSvgCommand = 3030;
  static constexpr int kSaveCsvCommand = 3031;
  static constexpr int kLoadMeasurementCommand = 3032;
  static constexpr int kTargetCommand = 3033;
  static constexpr int kFitBandsCommand = 3034;
  static constexpr int kClearMeasurementCommand = 3035;

  // A measured response under the bands, and the target it is tuned to. The measurement is already
  // aligned to the target's level; the graph draws it (grey), the target (dashed) and the prediction, the
  // measurement plus the bands as they are now (so it follows a drag). Points outside [first, last] are
  // not drawn.
  struct Overlay {
    bool hasMeasurement = false;
    vireo::dsp::ResponseArray measurement{};
    int first = 0, last = -1;
    bool hasTarget = false;
    vireo::dsp::ResponseArray target{};
    int targetFirst = 0, targetLast = -1;
  };

  // A context menu as (command, text) entries (command 0: a separator); the runner shows it at a global
  // position and returns the chosen command, 0 when dismissed. Tests replace it.
  using MenuEntries = QList<std::pair<int, QString>>;
  using MenuRunner = std::function<int(const MenuEntries&, const QPoint&)>;

  explicit CEqPanel(QWidget* parent = nullptr);

  // The bands, with the rules of vireo::dsp::EqBandSet; each call repaints.
  void SetBandCount(int n);
  int bandCount() const { return bands_.bandCount(); }
  void SetBandType(int slot, int type);
  void SetBandGain(int slot, double gain);
  void SetBandQ(int slot, double q);
  void SetBandFrequency(int slot, double frequency);
  void ApplyMenuType(int slot, int type);
  void ApplyCrossoverFamily(int slot, int family);
  void RecomputeBand(int slot);
  const vireo::dsp::EqBand& band(int slot) const { return bands_.band(slot); }
  // Direct access to a record (frequency, limits); call RecomputeBand afterwards.
  vireo::dsp::EqBand& band(int slot) { return bands_.band(slot); }
  const vireo::dsp::EqBandSet& bands() const { return bands_; }

  // EQ identity 0..14: the title, and whether this is an output channel with its crossover in slot 9.
  void SetIdentity(int identity);
  int identity() const { return bands_.identity(); }
  void SetBypass(bool bypass);
  // 0 Chinese, 1 English: the menus, the title and the status line. The page passes its language in.
  void SetLanguage(int languageIndex);
  int language() const { return language_; }
  bool bypass() const { return bypass_; }
  void SetOverlay(const Overlay& overlay);
  const Overlay& overlay() const { return overlay_; }
  // Measurement plus the bands' total, where the measurement is drawn.
  vireo::dsp::ResponseArray Prediction() const { return PredictionOf(bands_, overlay_); }
  static vireo::dsp::ResponseArray PredictionOf(const vireo::dsp::EqBandSet& bands, const Overlay& overlay);

  int selectedBand() const { return selected_; }
  int hoveredBand() const { return hovered_; }
  // Selects a band (-1: none) without a notification, as the owner's own band selection.
  void SelectBand(int slot);
  // A context-menu command, as if chosen from the menu.
  void RunMenuCommand(int command);
  void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

  QSize sizeHint() const override { return {640, 320}; }
  // Below this the axis labels run into each other.
  QSize minimumSizeHint() const override { return {480, 200}; }

 signals:
  // A band was hit by a press, dragged, changed by the wheel or a key, or retyped from the menu.
  void BandChanged(const vireo::dsp::EqBand& band, int slot);
  // The left button was released after a press that hit no band.
  void EmptyClick();
  // action 0 copy, 1 paste; the graph's EQ identity.
  void CopyPasteEq(int action, int identity);
  // One of the file commands of the menu (filter text import and export, picture, SVG, CSV) or of the
  // measurement commands (load, target, fit, clear).
  void FileCommandChosen(int command);
  // A band was selected with a digit key.
  void BandPicked(const vireo::dsp::EqBand& band, int slot);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void PressLeft(QPointF at);
  void PressRight(QPointF at);
  void ReleaseRight(const QPoint& globalPos);
  void ChooseFromMenu(const MenuEntries& entries, const QPoint& globalPos);
  void NotifyChanged();

  vireo::dsp::EqBandSet bands_;
  int selected_ = -1;
  int hovered_ = -1;
  bool bypass_ = false;
  int language_ = 0;
  bool leftDown_ = false;
  bool rightDown_ = false;
  bool moved_ = false;
  bool pressHit_ = false;
  QPointF pressAt_;     // offsets from the plot's top-left corner
  QPointF grabOffset_;  // pointer minus marker at a left press
  double lastX_ = 0.0;  // of a right drag
  LeftCtrlTracker leftCtrl_;
  MenuRunner menuRunner_;
  Overlay overlay_;
};
