// The delay page: for each output channel its delay switch, its delay mode ("High Freq" or "Channel"), the
// high-frequency split and the delay time, with the delay graph showing all eight delays as markers that
// can be dragged.
#pragma once

#include <array>

#include "pages/page.h"
#include "tuning/delay_ops.h"

class CDelayPanel;
class COutputNavBar;
class CUpDownCtrl;
class CXBmpSlider;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace delay_page_id {
inline constexpr int firstSwitch = 1293;     // 1293..1300
inline constexpr int firstRadio = 1190;      // pairs (1190, 1191) .. (1204, 1205): High Freq, Channel
inline constexpr int firstDelayEdit = 1038;  // 1038..1045
inline constexpr int firstUpDown = 1242;     // 1242..1249
inline constexpr int graph = 1250;
inline constexpr std::array<int, 8> sliders{1014, 1015, 1016, 1017, 1018, 1019, 1022, 1023};
inline constexpr std::array<int, 8> splitTexts{1008, 1009, 1010, 1011, 1012, 1013, 1020, 1021};
inline constexpr std::array<int, 8> names{1123, 1124, 1125, 1126, 1131, 1135, 1132, 1136};
}  // namespace delay_page_id

class CDelayDlg : public CPage {
  Q_OBJECT
 public:
  CDelayDlg(AppServices& app, QWidget* parent);

  CDelayPanel* graph() const { return graph_; }

  void RefreshFromStore() override;
  void ApplyLanguage() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct Row {
    QCheckBox* onBox = nullptr;
    QRadioButton* highFreq = nullptr;
    QRadioButton* channel = nullptr;
    QButtonGroup* mode = nullptr;
    QLabel* name = nullptr;
    CXBmpSlider* slider = nullptr;
    QLabel* splitText = nullptr;
    QLineEdit* delayEdit = nullptr;
    CUpDownCtrl* upDown = nullptr;
  };

  void BuildRow(int channel);
  void ApplyTexts();
  void EnableRow(int channel);
  // The one path of a new delay from the edit, the up-down control and the graph.
  void SetDelay(int channel, float ms);
  void OnEnter(int channel);
  void OnUpDown(int channel, int position, bool up);
  void OnGraphDrag(int channel, float ms);
  void OnSwitch(int channel, bool checked);
  void OnMode(int channel, vireo::tuning::DelayMode mode);
  void OnSplit(int channel, int index);
  // The channel whose delay edit has the focus, or -1.
  int FocusedDelayEdit() const;

  std::array<Row, 8> rows_{};
  CDelayPanel* graph_;
  COutputNavBar* nav_;
};
