// Request builders: exact 61-byte layouts, value limits, and the big-endian helpers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "model/report.h"

namespace vireo {
namespace {

// A report holding `head` from byte 0 and zeros after it.
Report Expect(std::initializer_list<std::uint8_t> head) {
  Report r{};
  std::size_t i = 0;
  for (std::uint8_t b : head) r[i++] = b;
  return r;
}

TEST(ReportHelpers, BigEndianAndFloatBits) {
  std::array<std::uint8_t, 4> b{};
  PutBigEndian32(b.data(), 0x3F400000);
  EXPECT_EQ(b, (std::array<std::uint8_t, 4>{0x3F, 0x40, 0x00, 0x00}));
  EXPECT_EQ(GetBigEndian32(b.data()), 0x3F400000u);
  const std::array<std::uint8_t, 4> high{0xFF, 0x01, 0x80, 0x7F};
  EXPECT_EQ(GetBigEndian32(high.data()), 0xFF01807Fu);
  EXPECT_EQ(FloatBits(-1.0f), 0xBF800000u);
  EXPECT_EQ(BitsFloat(0x41A00000), 20.0f);
}

TEST(WriteParamReport, LayoutWithBigEndianValues) {
  const std::array<std::uint32_t, 2> values{0x3F400000, 0x01020304};
  EXPECT_EQ(MakeWriteParam(7, 18, values),
            Expect({0x02, 9, 0, 7, 18, 2, 0x3F, 0x40, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04}));
  EXPECT_EQ(MakeWriteParamRepeated(1, 14, 0x3F4CED92),
            Expect({0x02, 9, 0, 1, 14, 1, 0x3F, 0x4C, 0xED, 0x92}));
}

TEST(WriteParamReport, CountTwoRepeatsTheValue) {
  EXPECT_EQ(MakeWriteParamRepeated(3, 24, 0x3F400000, 2),
            Expect({0x02, 9, 0, 3, 24, 2, 0x3F, 0x40, 0x00, 0x00, 0x3F, 0x40, 0x00, 0x00}));
}

TEST(WriteParamReport, AtMostThirteenValues) {
  std::vector<std::uint32_t> values(20);
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = 0x11111111u * static_cast<std::uint32_t>(i % 15 + 1);
  const Report r = MakeWriteParam(4, 14, values);
  EXPECT_EQ(r[5], 13);
  EXPECT_EQ(GetBigEndian32(&r[6 + 4 * 12]), values[12]);
  for (std::size_t i = 58; i < kReportBytes; ++i) EXPECT_EQ(r[i], 0) << i;
  const Report repeated = MakeWriteParamRepeated(4, 14, 0xAABBCCDD, 99);
  EXPECT_EQ(repeated[5], 13);
  EXPECT_EQ(GetBigEndian32(&repeated[54]), 0xAABBCCDDu);
  EXPECT_EQ(repeated[58], 0);
  EXPECT_EQ(MakeWriteParamRepeated(4, 14, 0xAABBCCDD, -1), Expect({0x02, 9, 0, 4, 14, 0}));
}

TEST(ReadParamReport, Layout) {
  EXPECT_EQ(MakeReadParam(1, 33), Expect({0x02, 10, 0, 1, 33, 1}));
  EXPECT_EQ(MakeReadParam(12, 27, 7), Expect({0x02, 10, 0, 12, 27, 7}));
}

TEST(BlockReports, AddressBytesAndLength) {
  const std::array<std::uint8_t, 3> data{0xA1, 0xB2, 0xC3};
  EXPECT_EQ(MakeWriteBlock(1285, data), Expect({0x02, 0x85, 0x05, 0x05, 3, 0xA1, 0xB2, 0xC3}));
  EXPECT_EQ(MakeReadBlock(1253, 32), Expect({0x02, 0x86, 0x04, 0xE5, 32}));
  EXPECT_EQ(MakeReadBlock(0, 56), Expect({0x02, 0x86, 0x00, 0x00, 56}));
  EXPECT_EQ(MakeReadBlock(0xFC0, 200), Expect({0x02, 0x86, 0x0F, 0xC0, 56}));
}

TEST(BlockReports, WritesAreCutAtFiftySixBytes) {
  std::vector<std::uint8_t> data(70);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
  const Report r = MakeWriteBlock(1305, data);
  EXPECT_EQ(r[0], 0x02);
  EXPECT_EQ(r[1], 0x85);
  EXPECT_EQ(r[2], 0x05);
  EXPECT_EQ(r[3], 0x19);
  EXPECT_EQ(r[4], 56);
  for (std::size_t i = 0; i < 56; ++i) ASSERT_EQ(r[5 + i], i + 1) << i;
  EXPECT_EQ(r.size(), 61u);  // 5 + 56 fills the report exactly
}

TEST(CommandReports, CodeAndArguments) {
  EXPECT_EQ(MakeCommand(code::queryMode), Expect({0x02, 7}));
  EXPECT_EQ(MakeCommand(code::reset, {0xAA}), Expect({0x02, 104, 0xAA}));
  EXPECT_EQ(MakeCommand(code::setMode, {2}), Expect({0x02, 3, 2}));
  std::vector<std::uint8_t> args(70, 0x33);
  const Report r = MakeCommand(code::applySettings, args);
  EXPECT_EQ(r[1], 145);
  EXPECT_EQ(r[2], 0x33);
  EXPECT_EQ(r[60], 0x33);  // 59 argument bytes fill the report; the rest are dropped
}

}  // namespace
}  // namespace vireo
