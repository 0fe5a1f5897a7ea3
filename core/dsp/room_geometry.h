// Pixel geometry of the room picture: metres to pixels and back, the drag clamp, the hit test and the grid
// with its labels. The widget only draws what this computes.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vireo::dsp {

inline constexpr int kRoomPlotInset = 30;  // pixels between the client edge and the plot on every side
inline constexpr int kRoomHitReach = 16;   // an item is hit when both distances are below this

struct RoomPixel {
  int x = 0;
  int y = 0;
  friend bool operator==(const RoomPixel&, const RoomPixel&) = default;
};

struct RoomMetres {
  float x = 0.0f;
  float y = 0.0f;
  friend bool operator==(const RoomMetres&, const RoomMetres&) = default;
};

// The plot of a client of `clientWidth` x `clientHeight` showing a room of `roomWidth` x `roomLength` whole
// metres (held to 1..10), origin at the plot's centre, y growing to the front (up).
class RoomMap {
 public:
  RoomMap(int clientWidth, int clientHeight, int roomWidth, int roomLength);

  int left() const { return kRoomPlotInset; }
  int top() const { return kRoomPlotInset; }
  int right() const { return left() + plotWidth_; }
  int bottom() const { return top() + plotHeight_; }
  int plotWidth() const { return plotWidth_; }
  int plotHeight() const { return plotHeight_; }
  int centreX() const { return (left() + right()) / 2; }
  int centreY() const { return (top() + bottom()) / 2; }
  int roomWidth() const { return roomWidth_; }
  int roomLength() const { return roomLength_; }

  // Truncated single-precision scale of the metres into the plot.
  RoomPixel ToPixel(RoomMetres at) const;
  // A mouse point held inside the plot (edges included).
  RoomPixel ClampToPlot(RoomPixel mouse) const;
  // Metres of a pixel inside the plot, unrounded.
  RoomMetres ToMetres(RoomPixel at) const;

 private:
  int plotWidth_;
  int plotHeight_;
  int roomWidth_;
  int roomLength_;
};

// The first item (in order) within reach of `mouse`, or -1.
int HitRoomItem(std::span<const RoomPixel> items, RoomPixel mouse);

// One line of the grid: its pixel position across the plot (y of a horizontal line, x of a vertical one),
// whether it is one of the plot's outer edges, and its label.
struct RoomGridLine {
  int position = 0;
  bool edge = false;
  std::string label;
  friend bool operator==(const RoomGridLine&, const RoomGridLine&) = default;
};

// Horizontal lines, centre first, then pairs front/back outwards, the edges last.
std::vector<RoomGridLine> RoomHorizontalLines(const RoomMap& map);
// Vertical lines, centre first, then pairs left/right outwards, the edges last.
std::vector<RoomGridLine> RoomVerticalLines(const RoomMap& map);

}  // namespace vireo::dsp
