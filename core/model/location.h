// The sound-field location record (20 bytes) and the working geometry decoded from it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vireo {

struct Point {
  float x = 0;
  float y = 0;
  bool operator==(const Point&) const = default;
};

// Loudspeakers in the location page's order: L, CEN, R, SBL, SUB, SBR, SL, SR.
inline constexpr int kLocationSpeakers = 8;

struct LocationGeometry {
  int roomWidth = 4;   // whole metres, 1..10
  int roomLength = 4;  // whole metres, 1..10
  Point listener;
  std::array<Point, kLocationSpeakers> speakers{};
  bool operator==(const LocationGeometry&) const = default;
};

// Sign-and-magnitude tenths of a metre; an exact 0 encodes as 0x80.
std::uint8_t EncodeCoordinate(float metres);
float DecodeCoordinate(std::uint8_t code);

std::array<std::uint8_t, 20> EncodeLocation(const LocationGeometry& g);
// Room sizes outside 1..10 in the record are clamped into that range.
LocationGeometry DecodeLocation(std::span<const std::uint8_t, 20> record);

// The record that the store defaults and the location page's Reset use.
inline constexpr std::array<std::uint8_t, 20> kDefaultLocationRecord{
    0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
    0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

}  // namespace vireo
