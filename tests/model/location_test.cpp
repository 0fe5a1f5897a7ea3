// The 20-byte sound-field location record and the working geometry decoded from it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/location.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

using Record = std::array<std::uint8_t, 20>;

const Record kDefaultBytes{0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                           0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

LocationGeometry DefaultGeometry() {
  LocationGeometry g;
  g.roomWidth = 4;
  g.roomLength = 4;
  g.listener = {0.0f, 0.0f};
  g.speakers = {Point{-1.0f, 1.0f}, Point{0.0f, 1.0f},  Point{1.0f, 1.0f},  Point{-1.0f, -1.0f},
                Point{0.0f, -1.0f}, Point{1.0f, -1.0f}, Point{-0.5f, 0.0f}, Point{0.5f, 0.0f}};
  return g;
}

TEST(LocationCoordinate, SignAndMagnitudeTenths) {
  EXPECT_EQ(EncodeCoordinate(0.0f), 0x80);  // the -0.05 bias makes an exact 0 negative
  EXPECT_EQ(EncodeCoordinate(1.0f), 0x0A);
  EXPECT_EQ(EncodeCoordinate(-1.0f), 0x8A);
  EXPECT_EQ(EncodeCoordinate(-0.5f), 0x85);
  EXPECT_EQ(EncodeCoordinate(0.5f), 0x05);
  EXPECT_EQ(EncodeCoordinate(0.04f), 0x00);   // 0.09 m -> 0 tenths, positive
  EXPECT_EQ(EncodeCoordinate(-0.04f), 0x80);  // -0.09 m -> 0 tenths, negative
  EXPECT_EQ(EncodeCoordinate(0.06f), 0x01);   // rounds to the nearest tenth
  EXPECT_EQ(EncodeCoordinate(2.34f), 0x17);
  EXPECT_EQ(EncodeCoordinate(-4.96f), 0xB2);  // -5.01 -> 50 tenths
  EXPECT_EQ(EncodeCoordinate(12.7f), 0x7F);
}

TEST(LocationCoordinate, MagnitudeIsClippedToSevenBits) {
  EXPECT_EQ(EncodeCoordinate(13.0f), 0x7F);
  EXPECT_EQ(EncodeCoordinate(-50.0f), 0xFF);
  EXPECT_EQ(EncodeCoordinate(std::numeric_limits<float>::infinity()), 0x7F);
  EXPECT_EQ(EncodeCoordinate(-std::numeric_limits<float>::infinity()), 0xFF);
  EXPECT_EQ(EncodeCoordinate(std::numeric_limits<float>::quiet_NaN()) & 0x7F, 0x7F);
}

TEST(LocationCoordinate, Decoding) {
  EXPECT_EQ(DecodeCoordinate(0x0A), 1.0f);
  EXPECT_EQ(DecodeCoordinate(0x85), -0.5f);
  EXPECT_EQ(DecodeCoordinate(0x80), 0.0f);
  EXPECT_EQ(DecodeCoordinate(0x00), 0.0f);
  EXPECT_FLOAT_EQ(DecodeCoordinate(0x7F), 12.7f);
  EXPECT_FLOAT_EQ(DecodeCoordinate(0xFF), -12.7f);
  for (int code = 0; code < 256; ++code) {
    if (code == 0x00) continue;  // 0x00 and 0x80 both decode to 0, which encodes as 0x80
    const auto c = static_cast<std::uint8_t>(code);
    ASSERT_EQ(EncodeCoordinate(DecodeCoordinate(c)), c) << code;
  }
}

TEST(LocationRecord, DefaultBytesDecodeToTheDefaultGeometry) {
  EXPECT_EQ(kDefaultLocationRecord, kDefaultBytes);
  EXPECT_EQ(DecodeLocation(kDefaultBytes), DefaultGeometry());
}

TEST(LocationRecord, EncodedGeometryDecodesEqual) {
  const Record encoded = EncodeLocation(DefaultGeometry());
  EXPECT_EQ(encoded[0], 4);
  EXPECT_EQ(encoded[1], 4);
  EXPECT_EQ(encoded[2], 0x80);   // listener x = 0
  EXPECT_EQ(encoded[4], 0x8A);   // L x
  EXPECT_EQ(encoded[5], 0x0A);   // L y
  EXPECT_EQ(encoded[16], 0x85);  // SL x
  EXPECT_EQ(DecodeLocation(encoded), DefaultGeometry());

  LocationGeometry g = DefaultGeometry();
  g.roomWidth = 7;
  g.roomLength = 10;
  g.listener = {0.3f, -1.2f};
  g.speakers[4] = {2.5f, -3.5f};
  const Record r = EncodeLocation(g);
  EXPECT_EQ(r[0], 7);
  EXPECT_EQ(r[1], 10);
  EXPECT_EQ(r[2], 0x03);
  EXPECT_EQ(r[3], 0x8C);
  EXPECT_EQ(r[12], 0x19);
  EXPECT_EQ(r[13], 0xA3);
  const LocationGeometry back = DecodeLocation(r);
  EXPECT_FLOAT_EQ(back.listener.x, 0.3f);
  EXPECT_FLOAT_EQ(back.listener.y, -1.2f);
  EXPECT_FLOAT_EQ(back.speakers[4].x, 2.5f);
  EXPECT_EQ(back.roomLength, 10);
}

TEST(LocationRecord, GarbledRoomSizesAreClampedInTheGeometryOnly) {
  Record r = kDefaultBytes;
  r[0] = 0;
  r[1] = 0xEE;
  const LocationGeometry g = DecodeLocation(r);
  EXPECT_EQ(g.roomWidth, 1);
  EXPECT_EQ(g.roomLength, 10);
  EXPECT_EQ(g.speakers[0], (Point{-1.0f, 1.0f}));
  ParameterStore store;
  store.SetLocationRecord(r);
  EXPECT_EQ(store.Byte(Region::locationSettings, 0), 0);
  EXPECT_EQ(store.Byte(Region::locationSettings, 1), 0xEE);
  EXPECT_EQ(store.geometry().roomWidth, 1);
}

TEST(LocationRecord, StoreKeepsRecordAndGeometryTogether) {
  ParameterStore store;
  Record moved = kDefaultBytes;
  moved[2] = 0x0F;  // listener x = 1.5
  store.SetLocationRecord(moved);
  EXPECT_FLOAT_EQ(store.geometry().listener.x, 1.5f);
  EXPECT_EQ(store.Byte(Region::locationSettings, 2), 0x0F);

  LocationGeometry g = store.geometry();
  g.speakers[0] = {-2.0f, 2.0f};
  store.setGeometry(g);
  EXPECT_EQ(store.Byte(Region::locationSettings, 4), 0x8A);  // not encoded until asked
  const Record encoded = store.EncodeGeometryIntoRecord();
  EXPECT_EQ(encoded[4], 0x94);
  EXPECT_EQ(encoded[5], 0x14);
  EXPECT_EQ(store.Byte(Region::locationSettings, 4), 0x94);
  EXPECT_EQ(store.Byte(Region::locationSettings, 5), 0x14);
}

}  // namespace
}  // namespace vireo
