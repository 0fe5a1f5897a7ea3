// Room picture geometry.
#include "dsp/room_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vireo::dsp {
namespace {

int HeldRoom(int metres) {
  return std::clamp(metres, 1, 10);
}

int Truncated(float v) {
  // Far-off points (a position from a garbled record) stay far off instead of overflowing.
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e6f, 1.0e6f));
}

std::string Label(const char* format, int metres) {
  char text[16];
  std::snprintf(text, sizeof text, format, metres);
  return text;
}

std::string EdgeLabel(char sign, int roomMetres) {
  char text[24];
  if (roomMetres % 2 == 0) {
    std::snprintf(text, sizeof text, "%c%.0fm", sign, roomMetres / 2.0);
  } else {
    std::snprintf(text, sizeof text, "%c%.1fm", sign, roomMetres / 2.0);
  }
  return text;
}

// Lines at centre +- k step for k < ceil(size / 2), then the edges. `lowSign` labels the side of the
// lower pixel coordinate (+ for horizontal lines above the centre, - for vertical lines left of it).
std::vector<RoomGridLine> Lines(int centre, int step, int low, int high, int roomMetres, char lowSign) {
  const char highSign = lowSign == '+' ? '-' : '+';
  const char* lowFormat = lowSign == '+' ? "+%dm" : "-%dm";
  const char* highFormat = lowSign == '+' ? "-%dm" : "+%dm";
  const int n = (roomMetres + 1) / 2;
  std::vector<RoomGridLine> lines{{centre, false, "0"}};
  for (int k = 1; k < n; ++k) {
    lines.push_back({centre - k * step, false, Label(lowFormat, k)});
    lines.push_back({centre + k * step, false, Label(highFormat, k)});
  }
  lines.push_back({low, true, EdgeLabel(lowSign, roomMetres)});
  lines.push_back({high, true, EdgeLabel(highSign, roomMetres)});
  return lines;
}

}  // namespace

RoomMap::RoomMap(int clientWidth, int clientHeight, int roomWidth, int roomLength)
    : plotWidth_(std::max(clientWidth - 2 * kRoomPlotInset, 1)),
      plotHeight_(std::max(clientHeight - 2 * kRoomPlotInset, 1)),
      roomWidth_(HeldRoom(roomWidth)),
      roomLength_(HeldRoom(roomLength)) {}

RoomPixel RoomMap::ToPixel(RoomMetres at) const {
  const float w = static_cast<float>(roomWidth_);
  const float l = static_cast<float>(roomLength_);
  const float px = static_cast<float>(plotWidth_) / w * (w / 2.0f + at.x) + static_cast<float>(left());
  const float py = static_cast<float>(plotHeight_) / l * (l / 2.0f - at.y) + static_cast<float>(top());
  return {Truncated(px), Truncated(py)};
}

RoomPixel RoomMap::ClampToPlot(RoomPixel mouse) const {
  return {std::clamp(mouse.x, left(), right()), std::clamp(mouse.y, top(), bottom())};
}

RoomMetres RoomMap::ToMetres(RoomPixel at) const {
  const float perMetreX = static_cast<float>(plotWidth_) / static_cast<float>(roomWidth_);
  const float perMetreY = static_cast<float>(plotHeight_) / static_cast<float>(roomLength_);
  return {static_cast<float>(at.x - centreX()) / perMetreX, static_cast<float>(centreY() - at.y) / perMetreY};
}

int HitRoomItem(std::span<const RoomPixel> items, RoomPixel mouse) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (std::abs(items[i].x - mouse.x) < kRoomHitReach && std::abs(items[i].y - mouse.y) < kRoomHitReach)
      return static_cast<int>(i);
  }
  return -1;
}

std::vector<RoomGridLine> RoomHorizontalLines(const RoomMap& map) {
  return Lines(map.centreY(), map.plotHeight() / map.roomLength(), map.top(), map.bottom(), map.roomLength(),
               '+');
}

std::vector<RoomGridLine> RoomVerticalLines(const RoomMap& map) {
  return Lines(map.centreX(), map.plotWidth() / map.roomWidth(), map.left(), map.right(), map.roomWidth(),
               '-');
}

}  // namespace vireo::dsp
