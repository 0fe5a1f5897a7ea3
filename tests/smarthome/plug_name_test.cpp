// Plug names as given in UTF-8: refused when malformed or empty, cut to the record's 12 UTF-16 units at a
// character boundary.
#include "smarthome/plug_name.h"

#include <gtest/gtest.h>

namespace vireo::smarthome {
namespace {

struct NameCase {
  const char* given;  // UTF-8 bytes, written out where they matter
  PlugNameCheck check;
  std::u16string kept;
};

TEST(PlugName, LengthsAreCountedInTheRecordsUnits) {
  const NameCase cases[] = {
      {"", PlugNameCheck::empty, u""},
      {"A", PlugNameCheck::ok, u"A"},
      {"abcdefghijkl", PlugNameCheck::ok, u"abcdefghijkl"},  // exactly 12
      {"abcdefghijklm", PlugNameCheck::tooLong, u"abcdefghijkl"},
      // 13 CJK characters of three bytes each: 12 units kept, not 12 bytes
      {"客厅台灯客厅台灯客厅台灯客", PlugNameCheck::tooLong, u"客厅台灯客厅台灯客厅台灯"},
      // U+1F600 (F0 9F 98 80) is two units: as units 11 and 12 it fits ...
      {"abcdefghij\xF0\x9F\x98\x80", PlugNameCheck::ok, u"abcdefghij\U0001F600"},
      // ... as units 12 and 13 it goes as a whole, leaving 11
      {"abcdefghijk\xF0\x9F\x98\x80", PlugNameCheck::tooLong, u"abcdefghijk"},
      {"abcdefghijk\xF0\x9F\x98\x80xyz", PlugNameCheck::tooLong, u"abcdefghijk"},
      // ... and after a full 12 it is simply cut off
      {"abcdefghijkl\xF0\x9F\x98\x80", PlugNameCheck::tooLong, u"abcdefghijkl"},
      // the edges of each length
      {"\xC2\x80", PlugNameCheck::ok, u"\u0080"},
      {"\xDF\xBF", PlugNameCheck::ok, u"\u07FF"},
      {"\xE0\xA0\x80", PlugNameCheck::ok, u"\u0800"},
      {"\xED\x9F\xBF", PlugNameCheck::ok, u"\uD7FF"},  // the last below the surrogates
      {"\xEE\x80\x80", PlugNameCheck::ok, u"\uE000"},  // the first above them
      {"\xEF\xBF\xBF", PlugNameCheck::ok, u"\uFFFF"},
      {"\xF0\x90\x80\x80", PlugNameCheck::ok, u"\U00010000"},
      {"\xF4\x8F\xBF\xBF", PlugNameCheck::ok, u"\U0010FFFF"},
  };
  for (const NameCase& c : cases) {
    std::u16string kept = u"untouched";
    EXPECT_EQ(CheckPlugName(c.given, &kept), c.check) << c.given;
    EXPECT_EQ(kept, c.kept) << c.given;
  }
}

TEST(PlugName, MalformedUtf8IsRefusedWhole) {
  const char* const malformed[] = {
      "Lamp\xE9",          // Latin-1 é
      "\x80zz",            // a continuation byte without a lead
      "ab\xC3",            // a two-byte character cut short at the end
      "\xC3(",             // its continuation replaced
      "\xE4\xB8",          // a three-byte character cut short
      "\xC0\xAF",          // '/' in two bytes (overlong)
      "\xC1\xBF",          // overlong
      "\xE0\x9F\xBF",      // U+07FF in three bytes (overlong)
      "\xF0\x8F\xBF\xBF",  // U+FFFF in four bytes (overlong)
      "\xED\xA0\x80",      // U+D800, a surrogate
      "\xED\xBF\xBF",      // U+DFFF
      "\xF4\x90\x80\x80",  // U+110000, beyond Unicode
      "\xF5\x80\x80\x80",  // a lead byte that never occurs
      "\xFF",
  };
  for (const char* given : malformed) {
    std::u16string kept = u"untouched";
    EXPECT_EQ(CheckPlugName(given, &kept), PlugNameCheck::notUtf8) << given;
    EXPECT_EQ(kept, u"") << given;
  }
  EXPECT_EQ(CheckPlugName("ok\xE9", nullptr), PlugNameCheck::notUtf8);
}

TEST(PlugName, NoticesInBothLanguages) {
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::ok, 1), "");
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::empty, 0), "名称不能为空");
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::tooLong, 0), "名字太长，只保留12个字符长度");
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::empty, 1), "Name can't be empty");
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::tooLong, 1), "Name too long, only 12 characters kept");
  EXPECT_EQ(PlugNameNotice(PlugNameCheck::notUtf8, 1), "Name is not UTF-8 text");
}

}  // namespace
}  // namespace vireo::smarthome
