// Pure look of the picture button: which face a button shows, and the colours of each face.
#pragma once

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;

  bool operator==(const Rgb&) const = default;
};

enum class ButtonState { normal, hover, pressed, checked, disabled };

// What the button shows: a disabled button is grey whatever else holds; a button held down shows pressed,
// a checked one its alternate face, and the pointer resting on it brightens the normal face.
ButtonState ResolveButtonState(bool enabled, bool down, bool checked, bool hovered);

// `c` moved `percent` of the way towards white.
Rgb Brightened(Rgb c, int percent);
// `c` as a light grey of the same lightness order, so a disabled face keeps its shape but loses its colour.
Rgb Greyed(Rgb c);

// A face: a vertical gradient from `top` to `bottom` inside a `border`.
struct ButtonFace {
  Rgb top;
  Rgb bottom;
  Rgb border;
};

ButtonFace FaceOfState(ButtonState state);
