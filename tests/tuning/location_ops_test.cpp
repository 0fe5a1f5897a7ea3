// The sound-field location page's edits: corrections with their six words, the record, room sizes,
// positions, Center, Reset, channel levels and "Locate".
#include "tuning/location_ops.h"

#include "expected_reports.h"
#include "model/store_layout.h"

namespace vireo::test {
namespace {

namespace t = tuning;

// 02 85 address-high address-low count, then the bytes.
Report BlockOf(int address, std::initializer_list<std::uint8_t> bytes) {
  Report r{0x02, 0x85, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
           static_cast<std::uint8_t>(bytes.size())};
  std::size_t at = 5;
  for (std::uint8_t b : bytes) r[at++] = b;
  return r;
}

// g, h, the two channel-gain constants, g, h to output parameter 29 of channel `c`.
Report GainWords(int c, std::uint32_t g, std::uint32_t h) {
  return Param(5 + c, 29, {g, h, 0x3F7EFF25, 0xBFFF7EF1, g, h});
}

std::uint32_t Word(const Report& r, std::size_t i) {
  return (std::uint32_t{r[6 + 4 * i]} << 24) | (std::uint32_t{r[7 + 4 * i]} << 16) |
         (std::uint32_t{r[8 + 4 * i]} << 8) | r[9 + 4 * i];
}

class LocationOpsTest : public ::testing::Test {
 protected:
  LocationOpsTest() {
    ResetStoreDefaults(store_);
    for (int c = 0; c < 8; ++c) store_.SetInt(slot::chType[c], c);  // channel c plays role c
  }
  // The words of parameter 29 sent for channel c, in the order sent.
  std::vector<int> GainChannels() const {
    std::vector<int> channels;
    for (const Report& r : sender_.paced)
      if (r[1] == 0x09 && r[4] == 29) channels.push_back(r[3] - 5);
    return channels;
  }
  ParameterStore store_;
  RecordingSender sender_;
};

struct CorrectionCase {
  const char* what;
  Point listener;
  Point speaker;
  std::uint32_t v, g, h;  // worked out step by step in single and double precision
};

TEST_F(LocationOpsTest, CorrectionAndItsSixWords) {
  const CorrectionCase cases[] = {
      {"sqrt 2 m", {0, 0}, {-1, 1}, 0xBF9F0ED9, 0x3F5DDFF1, 0x3F6468EE},       // -1.2426406 dB
      {"1 m", {0, 0}, {0, 1}, 0x00000000, 0x3F800000, 0x3F800000},             // 0 dB, g = h = 1
      {"0.5 m", {0, 0}, {-0.5f, 0}, 0x3FC00000, 0x3F9820D7, 0x3F930C16},       // +1.5 dB
      {"on the speaker", {1, 1}, {1, 1}, 0x40400000, 0x3FB4CE08, 0x3FA9206C},  // +3 dB
      {"14.14 m", {-5, -5}, {5, 5}, 0xC21DB4A4, 0x3C2F0659, 0x3D229839},       // -39.426407 dB
  };
  for (const CorrectionCase& c : cases) {
    SCOPED_TRACE(c.what);
    const float v = t::LocationCorrectionDb(c.listener, c.speaker);
    EXPECT_EQ(FloatBits(v), c.v);
    sender_.paced.clear();
    t::SetChannelLocationGain(store_, sender_, 3, v);
    ASSERT_EQ(sender_.paced.size(), 2u);
    EXPECT_EQ(sender_.paced[1], GainWords(3, c.g, c.h));
    EXPECT_EQ(FloatBits(t::ChannelLocationGain(store_, 3)), c.v);
  }
}

TEST_F(LocationOpsTest, TheSquareIsRoundedBeforeItsProduct) {
  // -23.240273 dB: (c v) v and c (v v) round apart; the machine takes the square first.
  t::SetChannelLocationGain(store_, sender_, 0, BitsFloat(0xC1B9EC14));
  ASSERT_EQ(sender_.paced.size(), 2u);
  EXPECT_EQ(sender_.paced[1], GainWords(0, 0x3D8D0815, 0x3E0A9E4A));
}

TEST_F(LocationOpsTest, AGainSendsTheWhole32ByteRecordFirst) {
  t::SetChannelLocationGain(store_, sender_, 1, 3.0f);
  t::SetChannelLocationGain(store_, sender_, 6, -1.5f);
  ASSERT_EQ(sender_.paced.size(), 4u);
  EXPECT_EQ(sender_.paced[2], BlockOf(1253, {0, 0, 0, 0, 0x40, 0x40, 0, 0, 0,    0,    0, 0, 0, 0, 0, 0,  //
                                             0, 0, 0, 0, 0,    0,    0, 0, 0xBF, 0xC0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(LocationOpsTest, CenterFromTheDefaultsSendsRecordThenCorrectionsInPageOrder) {
  t::CenterListener(store_, sender_);
  ASSERT_EQ(sender_.paced.size(), 17u);
  // The zeros re-encode as 80.
  EXPECT_EQ(sender_.paced[0], BlockOf(1285, {0x04, 0x04, 0x80, 0x80, 0x8A, 0x0A, 0x80, 0x0A, 0x0A, 0x0A,
                                             0x8A, 0x8A, 0x80, 0x8A, 0x0A, 0x8A, 0x85, 0x80, 0x05, 0x80}));
  // L, CEN, R, SBL, SUB, SBR, SL, SR are played by channels 0, 5, 1, 2, 4, 3, 6, 7.
  EXPECT_EQ(GainChannels(), (std::vector<int>{0, 5, 1, 2, 4, 3, 6, 7}));
  const std::uint32_t expected[8] = {0xBF9F0ED9, 0xBF9F0ED9, 0xBF9F0ED9, 0xBF9F0ED9,
                                     0,          0,          0x3FC00000, 0x3FC00000};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(FloatBits(t::ChannelLocationGain(store_, c)), expected[c]) << c;
  EXPECT_EQ(sender_.paced[16], GainWords(7, 0x3F9820D7, 0x3F930C16));
}

TEST_F(LocationOpsTest, OnlyTheFirstChannelOfARoleIsCorrected) {
  store_.SetInt(slot::chType[2], 6);  // channels 2 and 6 both play SL; nobody plays SBL
  t::CenterListener(store_, sender_);
  EXPECT_EQ(GainChannels(), (std::vector<int>{0, 5, 1, 4, 3, 2, 7}));
  EXPECT_EQ(t::ChannelLocationGain(store_, 6), 0.0f);
  EXPECT_EQ(t::SendSpeakerCorrection(store_, sender_, 3), -1);  // SBL
}

TEST_F(LocationOpsTest, ASpeakerEditSendsRecordThenItsCorrectionAndADragTheOtherWay) {
  t::MoveSpeaker(store_, sender_, 6, {0, 1});  // SL 1 m in front of the listener
  ASSERT_EQ(sender_.paced.size(), 3u);
  EXPECT_EQ(sender_.paced[0][1], 0x85);
  EXPECT_EQ((std::vector<int>{sender_.paced[0][2], sender_.paced[0][3], sender_.paced[0][21],
                              sender_.paced[0][22]}),
            (std::vector<int>{0x05, 0x05, 0x80, 0x0A}));
  EXPECT_EQ(sender_.paced[2], GainWords(6, 0x3F800000, 0x3F800000));
  sender_.paced.clear();
  t::DragSpeaker(store_, sender_, 7, {0.96f, 0});  // SR: 0.96 -> 0A
  ASSERT_EQ(sender_.paced.size(), 3u);
  EXPECT_EQ(Head(sender_.paced[0], 4), (std::vector<std::uint8_t>{0x02, 0x85, 0x04, 0xE5}));
  EXPECT_EQ(sender_.paced[1][4], 29);
  EXPECT_EQ(sender_.paced[2][5 + 18], 0x0A);
  EXPECT_EQ(store_.geometry().speakers[7], (Point{0.96f, 0}));
}

TEST_F(LocationOpsTest, AListenerMoveStoresItUnroundedAndCorrectsAll) {
  t::MoveListener(store_, sender_, {-1.0f, 0.96f});
  EXPECT_EQ(store_.geometry().listener, (Point{-1.0f, 0.96f}));
  EXPECT_EQ((std::vector<int>{sender_.paced[0][7], sender_.paced[0][8]}), (std::vector<int>{0x8A, 0x0A}));
  EXPECT_EQ(GainChannels().size(), 8u);
}

TEST_F(LocationOpsTest, DistancesOffTheDiagonalTakeEachAxisFromItsOwnCoordinates) {
  struct Case {
    Point listener;
    Point speaker;
    float db;  // 3 - 3 d, with d exact in binary
  };
  const Case cases[] = {
      {{2, -1}, {-1, 3}, -12.0f},  // 3, 4, 5
      {{0, 2}, {0, 0}, -3.0f},     // straight behind: only y differs
      {{3, 0}, {0, 0}, -6.0f},     // straight aside: only x differs
      {{-1.5f, 0.5f}, {1.5f, 4.5f}, -12.0f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t::LocationCorrectionDb(c.listener, c.speaker), c.db)
        << c.listener.x << ',' << c.listener.y << " to " << c.speaker.x << ',' << c.speaker.y;
  }
  // Through the page's edit: from (2, -1) the SUB at (0, -1) is 2 m away, the SBR at (1, -1) 1 m.
  t::MoveListener(store_, sender_, {2.0f, -1.0f});
  EXPECT_EQ(t::ChannelLocationGain(store_, 4), -3.0f);  // channel 4 plays SUB
  EXPECT_EQ(t::ChannelLocationGain(store_, 3), 0.0f);   // channel 3 plays SBR
}

TEST_F(LocationOpsTest, RoomSizesAreClampedAndOnlyTheRecordGoesOut) {
  struct Case {
    const char* text;
    int metres;
  };
  const Case cases[] = {{"12", 10}, {"0", 1}, {"10m", 10}, {"7m", 7},
                        {" 3", 3},  {"m", 1}, {"-4", 1},   {"99999999999999999999", 10}};
  for (const Case& c : cases) EXPECT_EQ(t::ClampRoomSize(t::ParseLeadingInt(c.text)), c.metres) << c.text;
  t::SetRoomSize(store_, sender_, 12, 0);
  ASSERT_EQ(sender_.paced.size(), 1u);
  EXPECT_EQ(Head(sender_.paced[0], 7), (std::vector<std::uint8_t>{0x02, 0x85, 0x05, 0x05, 0x14, 0x0A, 0x01}));
  EXPECT_EQ(store_.geometry().speakers[0], (Point{-1.0f, 1.0f}));  // positions are not clamped again
}

TEST_F(LocationOpsTest, PositionTextsParseAndClampIntoTheRoom) {
  struct Case {
    const char* text;
    double metres;
  };
  const Case cases[] = {{"+1.5m", 1.5}, {"-0.3m", -0.3}, {"2", 2.0},   {" +0.0m", 0.0},
                        {"abc", 0.0},   {"", 0.0},       {"nan", 0.0}, {"1.25xyz", 1.25}};
  for (const Case& c : cases) EXPECT_EQ(t::ParsePosition(c.text), c.metres) << c.text;
  EXPECT_EQ(t::ClampToRoom(2.0, -2.0, 4, 4), (Point{2.0f, -2.0f}));  // exactly at the walls
  EXPECT_EQ(t::ClampToRoom(2.6, -9.0, 5, 3), (Point{2.5f, -1.5f}));
  EXPECT_EQ(t::PositionText(1.0), "+1.0m");
  EXPECT_EQ(t::PositionText(-0.96f), "-1.0m");
  EXPECT_EQ(t::PositionText(-0.45f), "-0.4m");  // the float lies below -0.45
  EXPECT_EQ(t::RoomSizeText(7), "7m");
  EXPECT_EQ(t::PositionReachTenths(5), 25);
  EXPECT_EQ(t::PositionTenths(-0.96), -9);
}

TEST_F(LocationOpsTest, ResetSendsEightZeroCorrectionsThenTheDefaultRecord) {
  t::MoveListener(store_, sender_, {1.5f, -1.5f});
  sender_.paced.clear();
  t::ResetLocation(store_, sender_);
  ASSERT_EQ(sender_.paced.size(), 17u);
  EXPECT_EQ(GainChannels(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (int c = 0; c < 8; ++c) EXPECT_EQ(sender_.paced[1 + 2 * c], GainWords(c, 0x3F800000, 0x3F800000));
  EXPECT_EQ(sender_.paced[16], BlockOf(1285, {0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                              0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00}));
  EXPECT_EQ(store_.geometry().listener, (Point{0, 0}));
  EXPECT_EQ(store_.geometry().speakers[6], (Point{-0.5f, 0}));
}

TEST_F(LocationOpsTest, TrimAndLocateWords) {
  t::SetChannelTrim(store_, sender_, 2, 75);
  t::SetChannelTrim(store_, sender_, 0, 130);
  store_.SetInt(slot::chType[4], 0x105);  // only the low byte goes out
  t::SendLocate(store_, sender_, 4);
  t::SendLocate(store_, sender_, -1);
  ASSERT_EQ(sender_.paced.size(), 4u);
  EXPECT_EQ(sender_.paced[0], Param(7, 24, {0x3F400000}));  // 0.75
  EXPECT_EQ(sender_.paced[1], Param(5, 24, {0x3F800000}));  // held at 100
  EXPECT_EQ(store_.Int(slot::chTrim[0]), 100);
  EXPECT_EQ(sender_.paced[2], Param(4, 34, {5}));
  EXPECT_EQ(sender_.paced[3], Param(4, 34, {8}));
  EXPECT_EQ(Word(sender_.paced[3], 0), 8u);
}

}  // namespace
}  // namespace vireo::test
