// Room picture: metres to pixels in single precision, the drag clamp and its metres, the hit test, the grid.
#include "dsp/room_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace vireo::dsp {
namespace {

struct PixelCase {
  int clientW, clientH, roomW, roomL;
  RoomMetres at;
  RoomPixel pixel;
};

TEST(RoomGeometryTest, MetresToPixels) {
  const PixelCase cases[] = {
      {1200, 700, 4, 4, {0, 0}, {600, 350}},         // plot 1140 x 640, centre
      {1200, 700, 4, 4, {-1, 1}, {315, 190}},        // the default L
      {1000, 600, 3, 7, {0.96f, 0.3f}, {800, 276}},  // 313.33334 x 2.46 + 30 = 800.8
      {1000, 600, 3, 7, {-1.5f, 3.5f}, {30, 30}},    // top left corner
      {1000, 600, 3, 7, {1.5f, -3.5f}, {970, 570}},  // bottom right corner: 77.142860 x 7 rounds to 540
      {1000, 600, 0, 12, {0, 0}, {500, 300}},        // sizes held to 1..10
  };
  for (const PixelCase& c : cases) {
    const RoomMap map(c.clientW, c.clientH, c.roomW, c.roomL);
    EXPECT_EQ(map.ToPixel(c.at), c.pixel) << c.at.x << " " << c.at.y;
  }
}

TEST(RoomGeometryTest, ADragIsHeldInThePlotAndGivesUnroundedMetres) {
  const RoomMap map(1000, 600, 3, 7);  // plot 30..970 x 30..570, centre (500, 300)
  EXPECT_EQ(map.ClampToPlot({-5, 900}), (RoomPixel{30, 570}));
  EXPECT_EQ(map.ClampToPlot({970, 30}), (RoomPixel{970, 30}));  // the edges themselves are inside
  EXPECT_EQ(map.ClampToPlot({971, 29}), (RoomPixel{970, 30}));
  const RoomMetres m = map.ToMetres({800, 230});
  EXPECT_EQ(std::bit_cast<std::uint32_t>(m.x), 0x3F751B3Bu);  // 300 / 313.33334 = 0.95744675
  EXPECT_FLOAT_EQ(m.y, 70.0f / (540.0f / 7.0f));
  const RoomMetres corner = map.ToMetres({30, 570});
  EXPECT_EQ(corner.x, -1.5f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(corner.y), 0xC05FFFFFu);  // -270 / 77.14286: just inside -3.5
}

TEST(RoomGeometryTest, TheFirstItemWithinReachIsHit) {
  const std::array<RoomPixel, 3> items{{{100, 100}, {110, 110}, {300, 300}}};
  struct Case {
    RoomPixel mouse;
    int item;
  };
  const Case cases[] = {{{114, 114}, 0},  {{116, 100}, 1}, {{85, 115}, 0},  {{84, 100}, -1},
                        {{126, 110}, -1}, {{300, 315}, 2}, {{300, 316}, -1}};
  for (const Case& c : cases) EXPECT_EQ(HitRoomItem(items, c.mouse), c.item) << c.mouse.x << "," << c.mouse.y;
}

TEST(RoomGeometryTest, GridLinesAndLabels) {
  const RoomMap even(1200, 700, 1, 4);  // plot 30..1170 x 30..670
  EXPECT_EQ(RoomHorizontalLines(even), (std::vector<RoomGridLine>{{350, false, "0"},
                                                                  {190, false, "+1m"},
                                                                  {510, false, "-1m"},
                                                                  {30, true, "+2m"},
                                                                  {670, true, "-2m"}}));
  EXPECT_EQ(RoomVerticalLines(even),
            (std::vector<RoomGridLine>{{600, false, "0"}, {30, true, "-0.5m"}, {1170, true, "+0.5m"}}));
  const RoomMap odd(1200, 700, 10, 5);  // steps 128 and 114
  EXPECT_EQ(RoomHorizontalLines(odd), (std::vector<RoomGridLine>{{350, false, "0"},
                                                                 {222, false, "+1m"},
                                                                 {478, false, "-1m"},
                                                                 {94, false, "+2m"},
                                                                 {606, false, "-2m"},
                                                                 {30, true, "+2.5m"},
                                                                 {670, true, "-2.5m"}}));
  const std::vector<RoomGridLine> across = RoomVerticalLines(odd);
  ASSERT_EQ(across.size(), 11u);
  EXPECT_EQ(across[7], (RoomGridLine{600 - 4 * 114, false, "-4m"}));
  EXPECT_EQ(across[10], (RoomGridLine{1170, true, "+5m"}));
}

}  // namespace
}  // namespace vireo::dsp
