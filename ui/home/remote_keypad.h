// Pure geometry of the drawn remote control: where its 18 keys lie on the body, which key a point hits,
// where each key's learned code is shown, and which key an arrow key moves the focus to.
#pragma once

#include <array>

namespace remote_keypad {

// The body of the remote in design units; the picture scales it to fit.
inline constexpr double kBodyWidth = 240.0;
inline constexpr double kBodyHeight = 620.0;
inline constexpr int kKeyCount = 18;
// The one key without a function (its function index is 0).
inline constexpr int kUnsupportedKey = 17;

enum class KeyShape { circle, pill, wedgeUp, wedgeDown, wedgeLeft, wedgeRight, rockerTop, rockerBottom };
enum class KeyGlyph { power, mute, text, arrowUp, arrowDown, arrowLeft, arrowRight, plus, minus, dots };

struct Point {
  double x = 0;
  double y = 0;
};

struct Box {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  bool Contains(Point p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
  Point Centre() const { return {x + width / 2, y + height / 2}; }
};

struct KeySpec {
  int function = 0;  // index in the remote key table (1..17), 0 for the key without a function
  KeyShape shape = KeyShape::circle;
  KeyGlyph glyph = KeyGlyph::text;
  const char* label = "";  // the text on the key (KeyGlyph::text) or under a rocker
  // circle: centre and radius; pill and rocker halves: the box; wedges: the d-pad's centre and radii.
  Point centre;
  double radius = 0;
  double innerRadius = 0;
  Box box;
  Box codeChip;  // where the learned code is written
};

// The keys in picture order: slot k (0..17) carries function k + 1, slot 17 none.
const std::array<KeySpec, kKeyCount>& Keys();

// The centre of the d-pad and its radii (outer ring, OK key).
inline constexpr Point kPadCentre{120, 250};
inline constexpr double kPadOuterRadius = 62;
inline constexpr double kPadInnerRadius = 29;
// The rockers: the + half over the - half, one column each for microphone, effect and music.
inline constexpr double kRockerTop = 420;
inline constexpr double kRockerHalf = 60;
inline constexpr double kRockerWidth = 46;

// The slot whose key contains `p` (design units), or -1.
int KeyAt(Point p);

// The point of slot `slot` that stands for it when moving between keys (its visual centre).
Point KeyCentre(int slot);

// The key an arrow key moves the focus to from `slot`: the nearest key whose centre lies in direction
// (dx, dy) (one of them -1 or 1, the other 0), keys straight ahead preferred over those off to the side;
// `slot` itself when there is none that way.
int NeighbourKey(int slot, int dx, int dy);

// The scale and offset that fit the body, centred, into a widget of `width` x `height` pixels.
struct Fit {
  double scale = 1;
  double offsetX = 0;
  double offsetY = 0;

  Point ToDesign(Point pixel) const { return {(pixel.x - offsetX) / scale, (pixel.y - offsetY) / scale}; }
};
Fit FitBody(double width, double height);

}  // namespace remote_keypad
