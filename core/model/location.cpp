// Location record <-> working geometry.
#include "model/location.h"

#include <algorithm>
#include <cmath>

namespace vireo {

std::uint8_t EncodeCoordinate(float metres) {
  const double v = metres;
  const float biased = static_cast<float>(v > 0 ? v + 0.05 : v - 0.05);
  double magnitude = std::fabs(std::trunc(static_cast<double>(biased) * 10.0));
  if (!(magnitude <= 127.0)) magnitude = 127.0;  // 7 bits; NaN and far-away points stick at the edge
  std::uint8_t code = static_cast<std::uint8_t>(magnitude);
  if (biased < 0) code |= 0x80;
  return code;
}

float DecodeCoordinate(std::uint8_t code) {
  const float magnitude = static_cast<float>(code & 0x7F) / 10.0f;
  return (code & 0x80) != 0 ? -magnitude : magnitude;
}

std::array<std::uint8_t, 20> EncodeLocation(const LocationGeometry& g) {
  std::array<std::uint8_t, 20> r{};
  r[0] = static_cast<std::uint8_t>(g.roomWidth);
  r[1] = static_cast<std::uint8_t>(g.roomLength);
  r[2] = EncodeCoordinate(g.listener.x);
  r[3] = EncodeCoordinate(g.listener.y);
  for (int k = 0; k < kLocationSpeakers; ++k) {
    r[4 + 2 * k] = EncodeCoordinate(g.speakers[k].x);
    r[5 + 2 * k] = EncodeCoordinate(g.speakers[k].y);
  }
  return r;
}

LocationGeometry DecodeLocation(std::span<const std::uint8_t, 20> record) {
  LocationGeometry g;
  // A garbled reply or file may carry any byte here; the room picture divides by these sizes, so the
  // working geometry keeps them in 1..10 while the record itself stays as received.
  g.roomWidth = std::clamp<int>(record[0], 1, 10);
  g.roomLength = std::clamp<int>(record[1], 1, 10);
  g.listener = {DecodeCoordinate(record[2]), DecodeCoordinate(record[3])};
  for (int k = 0; k < kLocationSpeakers; ++k) {
    g.speakers[k] = {DecodeCoordinate(record[4 + 2 * k]), DecodeCoordinate(record[5 + 2 * k])};
  }
  return g;
}

}  // namespace vireo
