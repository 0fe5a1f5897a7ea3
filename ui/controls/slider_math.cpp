// Picture slider geometry.
#include "controls/slider_math.h"

#include <algorithm>

namespace {

bool Horizontal(const SliderGeometry& g) {
  return g.orientation == SliderOrientation::horizontal;
}

long long Span(const SliderGeometry& g) {
  return static_cast<long long>(g.maximum) - g.minimum;
}

int Clamped(const SliderGeometry& g, int position) {
  return std::clamp(position, g.minimum, std::max(g.minimum, g.maximum));
}

}  // namespace

int SliderTravel(const SliderGeometry& g) {
  const SliderMargins& m = g.margins;
  const int travel = Horizontal(g) ? g.width - g.thumbWidth - m.endX - m.startX
                                   : g.height - g.thumbHeight - m.bottomY - m.topY;
  return std::max(travel, 0);
}

// trunc(travel / span x steps) and its inverse are computed in integers: in floating point, 35 pixels on a
// travel of 175 for a span of 300 come back as 59.999... steps, one short of the exact 60.
int PositionToPixel(const SliderGeometry& g, int position) {
  const long long span = Span(g);
  if (span <= 0) return Horizontal(g) ? g.margins.startX : g.margins.topY;
  const long long p = Clamped(g, position);
  const long long steps = Horizontal(g) ? p - g.minimum : g.maximum - p;
  const int offset = int(SliderTravel(g) * steps / span);
  return offset + (Horizontal(g) ? g.margins.startX : g.margins.topY);
}

int PixelToPosition(const SliderGeometry& g, int pixel) {
  const long long travel = SliderTravel(g);
  const long long span = Span(g);
  if (travel <= 0 || span <= 0) return g.minimum;
  const long long origin = Horizontal(g) ? g.margins.startX : g.margins.topY;
  // Beyond the travel every pixel ends at an end of the range; bounding it keeps the product in range.
  const long long offset = std::clamp(pixel - origin, -travel - 1, travel + 1);
  const long long steps = std::clamp(offset * span / travel, -span - 1, span + 1);
  return Clamped(g, int(Horizontal(g) ? g.minimum + steps : g.maximum - steps));
}

SliderRect ThumbRect(const SliderGeometry& g, int position) {
  const int at = PositionToPixel(g, position);
  if (Horizontal(g)) return {at, g.margins.topY, g.thumbWidth, g.thumbHeight};
  return {g.margins.startX, at, g.thumbWidth, g.thumbHeight};
}

int StepTowardPoint(const SliderGeometry& g, int position, int x, int y) {
  const SliderRect thumb = ThumbRect(g, position);
  int delta = 0;
  if (Horizontal(g)) {
    delta = x <= thumb.x + thumb.width / 2 ? -1 : 1;
  } else {
    delta = y > thumb.y + thumb.height / 2 ? -1 : 1;
  }
  return SliderStep(g, position, delta);
}

int DragPosition(const SliderGeometry& g, int x, int y) {
  return Horizontal(g) ? PixelToPosition(g, x - g.thumbWidth / 2) : PixelToPosition(g, y - g.thumbHeight / 2);
}

int SliderStep(const SliderGeometry& g, int position, int delta) {
  const long long moved = static_cast<long long>(Clamped(g, position)) + delta;
  return Clamped(g, int(std::clamp<long long>(moved, g.minimum, std::max(g.minimum, g.maximum))));
}

void FitThumb(SliderGeometry& g) {
  constexpr int kThumbLength = 11;
  const SliderMargins& m = g.margins;
  if (Horizontal(g)) {
    g.thumbWidth = kThumbLength;
    g.thumbHeight = std::max(1, g.height - m.topY - m.bottomY);
  } else {
    g.thumbWidth = std::max(1, g.width - m.startX - m.endX);
    g.thumbHeight = kThumbLength;
  }
}
