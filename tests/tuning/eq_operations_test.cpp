// Band writes, crossover, reset, bypass and paste of the fifteen equalisers: store and exact reports.
#include "tuning/eq_operations.h"

#include "expected_reports.h"

namespace vireo::test {
namespace {

class EqOperationsTest : public DspBlockFixture {
 protected:
  // Each band written is a block write then its coefficients: the block writes, in order.
  void ExpectBlocks(const std::vector<std::pair<int, Record>>& blocks, int module, int firstParam) {
    ASSERT_EQ(sent().size(), 2 * blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      EXPECT_EQ(sent()[2 * i], Block(blocks[i].first, blocks[i].second)) << "band " << i;
      EXPECT_EQ(At(blocks[i].first), blocks[i].second);
      const Report& c = sent()[2 * i + 1];
      EXPECT_EQ((std::vector<int>{c[1], c[3], c[4], c[5]}),
                (std::vector<int>{9, module, firstParam + static_cast<int>(i), 5}));
    }
  }
  const std::vector<Report>& sent() const { return sender_.paced; }

  RecordingSender sender_;
};

struct BandCase {
  int id, band;
  dsp::BandShape values;
  int address;
  Record record;
  int module, param;
};

TEST_F(EqOperationsTest, BandWriteOfEachKindOfEqualiser) {
  const BandCase cases[] = {
      {0, 3, {1, 6.0, 1000.7, 1.41}, 21, {0x00, 0xD2, 0x03, 0xE8, 0x05, 0x82, 0x01}, 1, 19},   // mic A
      {1, 9, {4, -3.0, 250, 0.7}, 133, {0x00, 0x78, 0x00, 0xFA, 0x02, 0xBC, 0x04}, 1, 48},     // mic B
      {3, 6, {5, 3.0, 5000, 0.707}, 329, {0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05}, 3, 18},   // reverb B
      {5, 0, {3, 0.0, 200, 0.707}, 189, {0x00, 0x96, 0x00, 0xC8, 0x02, 0xC3, 0x03}, 2, 13},    // echo B
      {6, 9, {1, -15.0, 16000, 30}, 399, {0x00, 0x00, 0x3E, 0x80, 0x75, 0x30, 0x01}, 4, 9},    // music
      {9, 2, {1, 1.5, 125, 2.0}, 630, {0x00, 0xA5, 0x00, 0x7D, 0x07, 0xD0, 0x01}, 7, 2},       // output 3
      {14, 8, {1, 20.0, 25000, 50}, 1197, {0x01, 0x2C, 0x4E, 0x20, 0x75, 0x30, 0x01}, 12, 8},  // beyond range
  };
  for (const BandCase& c : cases) {
    sender_.paced.clear();
    EXPECT_EQ(tuning::WriteEqBand(store_, sender_, c.id, c.band, c.values), 122) << c.id;
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_EQ(sent()[0], Block(c.address, c.record)) << c.id;
    EXPECT_EQ(At(c.address), c.record);
    const Report& k = sent()[1];
    EXPECT_EQ((std::vector<int>{k[3], k[4], k[5]}), (std::vector<int>{c.module, c.param, 5})) << c.id;
  }
  // The coefficients come from the same values, the frequency in whole hertz.
  tuning::WriteEqBand(store_, sender_, 0, 3, {1, 6.0, 1000.7, 1.41});
  ExpectPeaking(sent().back(), 1, 19, 6.0, 1000, 1.41);
  EXPECT_EQ(tuning::WriteEqBand(store_, sender_, 2, 7, {}) + tuning::WriteEqBand(store_, sender_, 15, 0, {}),
            0);
}

TEST_F(EqOperationsTest, OutputBandNineCarriesItsCrossoverSections) {
  // Output 1 (identity 7): band 9 at 469, sections 10..12 after it, their types kept.
  Put(476, {0x00, 0x96, 0x3E, 0x80, 0x05, 0x82, 0x14});
  Put(483, {0x00, 0xA0, 0x3E, 0x80, 0x05, 0x82, 0x01});
  tuning::WriteEqBand(store_, sender_, 7, 9, {18, 0.0, 2000.9, 0.7});
  ExpectBlocks({{469, {0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, 0x12}},
                {476, {0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, 0x14}},
                {483, {0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, 0x01}},
                {490, {0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, 0x01}}},
               5, 9);
  ExpectPeaking(sent()[5], 5, 11, 0.0, 2000, 0.7);

  sender_.paced.clear();
  const std::array<dsp::BandShape, 4> family{
      {{9, 0, 500, 0.7}, {11, 0, 500, 0.7}, {1, 0, 500, 1.41}, {1, 0, 500, 1.41}}};
  tuning::WriteCrossover(store_, sender_, 7, family);
  ExpectBlocks({{469, {0x00, 0x96, 0x01, 0xF4, 0x02, 0xBC, 0x09}},
                {476, {0x00, 0x96, 0x01, 0xF4, 0x02, 0xBC, 0x0B}},
                {483, FlatRecord(500)},
                {490, FlatRecord(500)}},
               5, 9);
}

TEST_F(EqOperationsTest, ResetWritesFlatBandsAtTheEqualisersFrequencies) {
  const auto flat = [](int address, std::initializer_list<int> hz) {
    std::vector<std::pair<int, Record>> blocks;
    for (int f : hz) blocks.emplace_back(address + 7 * static_cast<int>(blocks.size()), FlatRecord(f));
    return blocks;
  };
  tuning::ResetEq(store_, sender_, 0);
  ExpectBlocks(flat(0, {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000}), 1, 16);
  ExpectPeaking(sent()[1], 1, 16, 0.0, 31, 1.41);
  sender_.paced.clear();
  tuning::ResetEq(store_, sender_, 4);  // echo A
  ExpectBlocks(flat(140, {63, 125, 250, 500, 1000, 2300, 5000}), 2, 0);
  sender_.paced.clear();
  tuning::ResetEq(store_, sender_, 13);  // output 7
  ExpectBlocks(flat(1036, {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000, 16000, 16000, 16000}), 11,
               0);
}

TEST_F(EqOperationsTest, BypassGoesToTheIdentitysFlag) {
  const struct {
    int id, module, param;
  } cases[] = {{0, 1, 26}, {1, 1, 49}, {3, 3, 19}, {5, 2, 20}, {6, 4, 11}, {9, 7, 15}};
  for (const auto& c : cases) {
    sender_.paced.clear();
    EXPECT_TRUE(tuning::ToggleEqBypass(store_, sender_, c.id));
    EXPECT_TRUE(tuning::EqBypass(store_, c.id));
    EXPECT_FALSE(tuning::ToggleEqBypass(store_, sender_, c.id));
    EXPECT_EQ(sent(), (std::vector<Report>{Param(c.module, c.param, {1}), Param(c.module, c.param, {0})}));
  }
  tuning::SetEqBypass(store_, sender_, 9, true);
  EXPECT_EQ(store_.Int(slot::chEqBypass[2]), 1);
  EXPECT_EQ(store_.Int(slot::chEqBypass[1]) + store_.Int(slot::chEqBypass[3]), 0);
}

TEST_F(EqOperationsTest, PasteVoiceIntoOutputFlattensTheCrossoverSections) {
  Put(399, {0x00, 0xA0, 0x1F, 0x40, 0x03, 0xE8, 0x01});  // music band 9: +1 dB, 8000 Hz, Q 1
  Put(686, {0x00, 0x96, 0x01, 0xF4, 0x02, 0xBC, 0x14});  // output 3 band 10: a crossover section
  tuning::PasteEq(store_, sender_, 6, 9);
  std::vector<std::pair<int, Record>> blocks;
  for (int i = 0; i < 10; ++i) blocks.emplace_back(616 + 7 * i, At(336 + 7 * i));
  for (int i = 10; i < 13; ++i)
    blocks.emplace_back(616 + 7 * i, Record{0x00, 0x96, 0x1F, 0x40, 0x03, 0xE8, 0x01});
  ExpectBlocks(blocks, 7, 0);
  EXPECT_EQ(At(679), (Record{0x00, 0xA0, 0x1F, 0x40, 0x03, 0xE8, 0x01}));
}

TEST_F(EqOperationsTest, PasteOutputIntoVoiceTurnsACrossoverIntoItsPassFilter) {
  const struct { std::uint8_t code, pasted; } cases[] = {{18, 2}, {21, 3}, {6, 2}, {5, 5}, {2, 2}};
  for (const auto& c : cases) {
    sender_.paced.clear();
    Put(469, {0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, c.code});  // output 1 band 9
    tuning::PasteEq(store_, sender_, 7, 0);
    EXPECT_EQ(At(63), (Record{0x00, 0x96, 0x07, 0xD0, 0x02, 0xBC, c.pasted})) << int{c.code};
    ASSERT_EQ(sent().size(), 20u);
    EXPECT_EQ(sent()[18], Block(63, At(63)));
  }
}

TEST_F(EqOperationsTest, PasteCopiesTheSmallerBandCountAndWritesTheWholeDestination) {
  const struct {
    int from, fromAddress, to, toAddress, toBands, copied, module, firstParam;
  } cases[] = {
      {2, 238, 6, 336, 10, 7, 4, 0},   // reverb A into music: bands 7..9 stay
      {0, 0, 3, 287, 7, 7, 3, 12},     // mic A into reverb B
      {8, 511, 7, 406, 13, 13, 5, 0},  // output 2 into output 1: sections as they were
      {5, 189, 5, 189, 7, 7, 2, 13},   // onto itself
  };
  for (const auto& c : cases) {
    sender_.paced.clear();
    for (int i = 0; i < c.copied; ++i) {
      Put(c.fromAddress + 7 * i, {0x00, static_cast<std::uint8_t>(100 + i), 0x01, 0x00, 0x03, 0xE8, 0x04});
    }
    std::vector<std::pair<int, Record>> blocks;
    for (int i = 0; i < c.toBands; ++i) {
      blocks.emplace_back(c.toAddress + 7 * i,
                          i < c.copied ? At(c.fromAddress + 7 * i) : At(c.toAddress + 7 * i));
    }
    tuning::PasteEq(store_, sender_, c.from, c.to);
    ExpectBlocks(blocks, c.module, c.firstParam);
  }
}

}  // namespace
}  // namespace vireo::test
