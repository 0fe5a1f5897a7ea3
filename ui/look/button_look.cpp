// Picture button faces, in the blues of the ribbon.
#include "look/button_look.h"

#include <algorithm>

namespace {

constexpr ButtonFace kNormal{{88, 150, 225}, {30, 90, 170}, {21, 66, 139}};
constexpr ButtonFace kPressed{{21, 66, 139}, {40, 105, 185}, {14, 46, 100}};
constexpr ButtonFace kChecked{{14, 46, 100}, {21, 66, 139}, {120, 175, 235}};

int Channel(int value) {
  return std::clamp(value, 0, 255);
}

}  // namespace

ButtonState ResolveButtonState(bool enabled, bool down, bool checked, bool hovered) {
  if (!enabled) return ButtonState::disabled;
  if (down) return ButtonState::pressed;
  if (checked) return ButtonState::checked;
  return hovered ? ButtonState::hover : ButtonState::normal;
}

Rgb Brightened(Rgb c, int percent) {
  const int p = std::clamp(percent, 0, 100);
  const auto towardWhite = [p](int v) { return Channel(v) + (255 - Channel(v)) * p / 100; };
  return {towardWhite(c.r), towardWhite(c.g), towardWhite(c.b)};
}

Rgb Greyed(Rgb c) {
  // Rec. 601 lightness, lifted into the upper half so the face reads as inactive rather than dark.
  const int lightness = (299 * Channel(c.r) + 587 * Channel(c.g) + 114 * Channel(c.b)) / 1000;
  const int grey = 128 + lightness / 2;
  return {grey, grey, grey};
}

ButtonFace FaceOfState(ButtonState state) {
  switch (state) {
    case ButtonState::hover:
      return {Brightened(kNormal.top, 25), Brightened(kNormal.bottom, 25), kNormal.border};
    case ButtonState::pressed:
      return kPressed;
    case ButtonState::checked:
      return kChecked;
    case ButtonState::disabled:
      return {Greyed(kNormal.top), Greyed(kNormal.bottom), Greyed(kNormal.border)};
    case ButtonState::normal:
      break;
  }
  return kNormal;
}
