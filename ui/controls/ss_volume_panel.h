// The room picture of the sound-field location page: the room's grid seen from above, the listener and the
// eight loudspeakers, which the mouse drags. The page hears of every grab and move.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "dsp/room_geometry.h"

// One item of the picture: 0 the listener, 1..8 the loudspeakers L, CEN, R, SBL, SUB, SBR, SL, SR.
struct SSVolumeItem {
  int index = 0;
  vireo::dsp::RoomPixel pixel;
  vireo::dsp::RoomMetres metres;
};

inline constexpr int kRoomItems = 9;

class CSSVolumePanel : public QWidget {
  Q_OBJECT
 public:
  explicit CSSVolumePanel(QWidget* parent);

  // Room size in whole metres (1..10); the items keep their metres and move on the picture.
  void SetRoomSize(int width, int length);
  // Places item `index` at `metres`.
  void SetItem(int index, vireo::dsp::RoomMetres metres);
  const SSVolumeItem& item(int index) const { return items_[static_cast<std::size_t>(index)]; }
  vireo::dsp::RoomMap Map() const;
  // The item being dragged, or -1.
  int grabbed() const { return grabbed_; }

  // Draws the whole picture (background and items) into `painter` at the widget's size.
  void PaintTo(QPainter& painter);

 signals:
  void itemGrabbed(const SSVolumeItem& item);
  void itemMoved(const SSVolumeItem& item);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PlaceItems();
  void RebuildBackground();
  void DragTo(QPoint mouse);

  int roomWidth_ = 4;
  int roomLength_ = 4;
  int grabbed_ = -1;
  std::array<SSVolumeItem, kRoomItems> items_{};
  QImage background_;
};
