// Geometry of the drawn remote control.
#include "home/remote_keypad.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace remote_keypad {

namespace {

constexpr double kChipWidth = 32;
constexpr double kChipHeight = 14;

Box ChipAt(double centreX, double top) {
  return {centreX - kChipWidth / 2, top, kChipWidth, kChipHeight};
}

KeySpec Circle(int function, KeyGlyph glyph, const char* label, Point centre, double radius, Box chip) {
  KeySpec k;
  k.function = function;
  k.shape = KeyShape::circle;
  k.glyph = glyph;
  k.label = label;
  k.centre = centre;
  k.radius = radius;
  k.box = {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
  k.codeChip = chip;
  return k;
}

KeySpec Pill(int function, const char* label, Box box) {
  KeySpec k;
  k.function = function;
  k.shape = KeyShape::pill;
  k.glyph = KeyGlyph::text;
  k.label = label;
  k.box = box;
  k.centre = box.Centre();
  k.codeChip = ChipAt(k.centre.x, box.y + box.height + 6);
  return k;
}

KeySpec Wedge(int function, KeyShape shape, KeyGlyph glyph, Box chip) {
  KeySpec k;
  k.function = function;
  k.shape = shape;
  k.glyph = glyph;
  k.centre = kPadCentre;
  k.radius = kPadOuterRadius;
  k.innerRadius = kPadInnerRadius;
  k.box = {kPadCentre.x - kPadOuterRadius, kPadCentre.y - kPadOuterRadius, 2 * kPadOuterRadius,
           2 * kPadOuterRadius};
  k.codeChip = chip;
  return k;
}

// One half of a volume rocker in column `centreX`; the glyph sits in the upper part, the code under it.
KeySpec Rocker(int function, bool top, double centreX, const char* label) {
  KeySpec k;
  k.function = function;
  k.shape = top ? KeyShape::rockerTop : KeyShape::rockerBottom;
  k.glyph = top ? KeyGlyph::plus : KeyGlyph::minus;
  k.label = label;
  k.box = {centreX - kRockerWidth / 2, kRockerTop + (top ? 0 : kRockerHalf), kRockerWidth, kRockerHalf};
  k.centre = k.box.Centre();
  k.codeChip = ChipAt(centreX, k.box.y + 38);
  return k;
}

std::array<KeySpec, kKeyCount> MakeKeys() {
  const double padTop = kPadCentre.y - kPadOuterRadius;
  const double padBottom = kPadCentre.y + kPadOuterRadius;
  const double padLeft = kPadCentre.x - kPadOuterRadius;
  const double padRight = kPadCentre.x + kPadOuterRadius;
  const double chipMiddle = kPadCentre.y - kChipHeight / 2;
  return {
      Circle(1, KeyGlyph::power, "", {55, 60}, 18, ChipAt(55, 85)),
      Pill(2, "SOURCE", {35, 111, 80, 28}),
      Pill(3, "HDMI", {125, 111, 80, 28}),
      Wedge(4, KeyShape::wedgeUp, KeyGlyph::arrowUp, ChipAt(kPadCentre.x, padTop - kChipHeight - 4)),
      Wedge(5, KeyShape::wedgeDown, KeyGlyph::arrowDown, ChipAt(kPadCentre.x, padBottom + 4)),
      Wedge(6, KeyShape::wedgeLeft, KeyGlyph::arrowLeft, ChipAt(padLeft - kChipWidth / 2 - 5, chipMiddle)),
      Wedge(7, KeyShape::wedgeRight, KeyGlyph::arrowRight, ChipAt(padRight + kChipWidth / 2 + 5, chipMiddle)),
      Circle(8, KeyGlyph::text, "OK", kPadCentre, kPadInnerRadius - 3,
             ChipAt(kPadCentre.x, kPadCentre.y + 6)),
      Pill(9, "MENU", {25, 347, 70, 26}),
      Circle(10, KeyGlyph::mute, "", {185, 60}, 18, ChipAt(185, 85)),
      Pill(11, "ESC", {145, 347, 70, 26}),
      Rocker(12, true, 55, "MIC"),
      Rocker(13, false, 55, "MIC"),
      Rocker(14, true, 120, "EFFECT"),
      Rocker(15, false, 120, "EFFECT"),
      Rocker(16, true, 185, "MUSIC"),
      Rocker(17, false, 185, "MUSIC"),
      Circle(0, KeyGlyph::dots, "", {120, 360}, 14, Box{}),
  };
}

bool InWedge(const KeySpec& k, Point p) {
  const double dx = p.x - k.centre.x;
  const double dy = p.y - k.centre.y;
  const double r = std::hypot(dx, dy);
  if (r < k.innerRadius || r > k.radius) return false;
  switch (k.shape) {
    case KeyShape::wedgeUp:
      return std::abs(dx) <= -dy;
    case KeyShape::wedgeDown:
      return std::abs(dx) <= dy;
    case KeyShape::wedgeLeft:
      return std::abs(dy) <= -dx;
    case KeyShape::wedgeRight:
      return std::abs(dy) <= dx;
    default:
      return false;
  }
}

bool Hits(const KeySpec& k, Point p) {
  switch (k.shape) {
    case KeyShape::circle:
      return std::hypot(p.x - k.centre.x, p.y - k.centre.y) <= k.radius;
    case KeyShape::pill:
    case KeyShape::rockerTop:
    case KeyShape::rockerBottom:
      return k.box.Contains(p);
    default:
      return InWedge(k, p);
  }
}

}  // namespace

const std::array<KeySpec, kKeyCount>& Keys() {
  static const std::array<KeySpec, kKeyCount> keys = MakeKeys();
  return keys;
}

int KeyAt(Point p) {
  const auto& keys = Keys();
  for (int slot = 0; slot < kKeyCount; ++slot) {
    if (Hits(keys[static_cast<std::size_t>(slot)], p)) return slot;
  }
  return -1;
}

Point KeyCentre(int slot) {
  const KeySpec& k = Keys()[static_cast<std::size_t>(std::clamp(slot, 0, kKeyCount - 1))];
  const double middle = (k.innerRadius + k.radius) / 2;
  switch (k.shape) {
    case KeyShape::wedgeUp:
      return {k.centre.x, k.centre.y - middle};
    case KeyShape::wedgeDown:
      return {k.centre.x, k.centre.y + middle};
    case KeyShape::wedgeLeft:
      return {k.centre.x - middle, k.centre.y};
    case KeyShape::wedgeRight:
      return {k.centre.x + middle, k.centre.y};
    default:
      return k.centre;
  }
}

int NeighbourKey(int slot, int dx, int dy) {
  // A key off to the side counts as farther than one straight ahead, so the focus follows rows and
  // columns the way the eye reads them.
  constexpr double kSidePenalty = 2.5;
  const Point from = KeyCentre(slot);
  int best = slot;
  double bestScore = std::numeric_limits<double>::max();
  for (int other = 0; other < kKeyCount; ++other) {
    if (other == slot) continue;
    const Point to = KeyCentre(other);
    const double along = (to.x - from.x) * dx + (to.y - from.y) * dy;
    if (along <= 1) continue;
    const double side = std::abs((to.x - from.x) * dy - (to.y - from.y) * dx);
    const double score = along + kSidePenalty * side;
    if (score < bestScore) {
      bestScore = score;
      best = other;
    }
  }
  return best;
}

Fit FitBody(double width, double height) {
  Fit fit;
  fit.scale = std::max(0.01, std::min(width / kBodyWidth, height / kBodyHeight));
  fit.offsetX = (width - kBodyWidth * fit.scale) / 2;
  fit.offsetY = (height - kBodyHeight * fit.scale) / 2;
  return fit;
}

}  // namespace remote_keypad
