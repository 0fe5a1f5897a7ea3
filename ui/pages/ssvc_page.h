// The sound-field location page: the room, the listener and the eight loudspeakers as edits and as a room
// picture, the level correction each loudspeaker's channel gets from its distance to the listener, and a
// level slider and "Locate" switch per output channel.
#pragma once

#include <array>

#include "model/location.h"
#include "pages/page.h"

class COutputNavBar;
class CSSVolumePanel;
class CUpDown;
class CXBmpSlider;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct SSVolumeItem;

namespace ssvc_page_id {
inline constexpr int reset = 1216;
inline constexpr int unit = 1005;
inline constexpr int roomGroup = 1007;
inline constexpr int widthLabel = 1008;
inline constexpr int lengthLabel = 1009;
inline constexpr int widthEdit = 1038;
inline constexpr int lengthEdit = 1039;
inline constexpr int widthUpDown = 1242;
inline constexpr int lengthUpDown = 1243;
inline constexpr int modify = 1239;
inline constexpr int listenerGroup = 1006;
inline constexpr int listenerX = 1230;
inline constexpr int listenerY = 1049;
inline constexpr int listenerXUpDown = 1244;
inline constexpr int listenerYUpDown = 1245;
inline constexpr int center = 1238;
inline constexpr int speakerGroup = 1002;
inline constexpr int firstSpeakerName = 1010;    // 1010..1017
inline constexpr int firstSpeakerEdit = 1050;    // x of loudspeaker k is 1050 + 2k, y 1051 + 2k
inline constexpr int firstSpeakerUpDown = 1246;  // x 1246 + 2k, y 1247 + 2k
inline constexpr std::array<int, 8> locate{1231, 1232, 1233, 1234, 1235, 1236, 1240, 1241};
inline constexpr int firstRole = 1123;     // 1123..1130
inline constexpr int firstSlider = 1041;   // 1041..1048
inline constexpr int firstPercent = 1131;  // 1131..1138
inline constexpr int picture = 1237;
}  // namespace ssvc_page_id

class CSSVCDlg : public CPage {
  Q_OBJECT
 public:
  CSSVCDlg(AppServices& app, QWidget* parent);

  CSSVolumePanel* picture() const { return picture_; }

  void RefreshFromStore() override;
  void ApplyLanguage() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // A row of two position edits: the listener (row 0) or loudspeaker row - 1.
  struct PositionRow {
    QLabel* name = nullptr;
    QLineEdit* x = nullptr;
    QLineEdit* y = nullptr;
    CUpDown* xUpDown = nullptr;
    CUpDown* yUpDown = nullptr;
  };
  struct ChannelRow {
    QCheckBox* locate = nullptr;
    QLabel* role = nullptr;
    CXBmpSlider* slider = nullptr;
    QLabel* percent = nullptr;
  };

  void BuildRoomControls();
  void BuildPositionRows();
  void BuildChannelRows();
  void ApplyTexts();
  void ShowRoles();
  void ShowGeometry(const vireo::LocationGeometry& g);
  void SetPositionReach(int roomWidth, int roomLength);
  void ShowPosition(int row, vireo::Point at);

  void ApplyRoomSize(int widthStep, int lengthStep);
  void StepPosition(int row, bool yAxis, int delta);
  void ApplyPosition(int row, bool fromEnter);
  void OnPictureItem(const SSVolumeItem& item);
  void OnCenter();
  void OnReset();
  void OnLocate(int channel, bool checked);
  void OnSlider(int channel, int position);

  QPushButton* reset_;
  QLabel* unit_;
  QGroupBox* roomGroup_;
  QLabel* widthLabel_;
  QLabel* lengthLabel_;
  QLineEdit* widthEdit_;
  QLineEdit* lengthEdit_;
  CUpDown* widthUpDown_;
  CUpDown* lengthUpDown_;
  QPushButton* modify_;
  QGroupBox* listenerGroup_;
  QPushButton* center_;
  QGroupBox* speakerGroup_;
  std::array<PositionRow, 1 + vireo::kLocationSpeakers> rows_{};
  std::array<ChannelRow, 8> channels_{};
  CSSVolumePanel* picture_;
  COutputNavBar* nav_;
};
