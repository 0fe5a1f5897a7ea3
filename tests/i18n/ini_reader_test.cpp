// Tests of the INI reader: line rules, lookups, GBK and UTF-8 decoding, and bytes that are not INI text.
#include "i18n/ini_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace vireo {
namespace {

// "IDD346_1045=压限启用" as the Chinese table stores it, code page 936.
constexpr std::string_view kGbkCompLine = "IDD346_1045=\xD1\xB9\xCF\xDE\xC6\xF4\xD3\xC3\r\n";

TEST(IniReaderLines, SectionsKeysAndBlanks) {
  const IniTable table = ParseIni(
      "[String]\r\n"
      "  IDD333_1190 =  High Freq \r\n"
      "IDD373_title=Learn remoter control \r\n"
      "\tIDD1_2\t=\tx y\t\r\n"
      "[Other]\r\n"
      "IDD333_1190=elsewhere\r\n",
      Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("String", "IDD333_1190"), "High Freq");
  EXPECT_EQ(table.Lookup("String", "IDD373_title"), "Learn remoter control");
  EXPECT_EQ(table.Lookup("String", "IDD1_2"), "x y");
  EXPECT_EQ(table.Lookup("Other", "IDD333_1190"), "elsewhere");
  EXPECT_EQ(table.Lookup("Missing", "IDD333_1190"), "");
  EXPECT_EQ(table.Lookup("String", "IDD333_1191"), "");
  EXPECT_EQ(table.SectionCount(), 2u);
}

TEST(IniReaderLines, NamesCompareWithoutCase) {
  const IniTable table = ParseIni("[sTrInG]\nidd346_TITLE=Comp\n", Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("String", "IDD346_title"), "Comp");
  EXPECT_EQ(table.Lookup(" STRING ", " idd346_title "), "Comp");
  EXPECT_TRUE(table.Contains("string", "IDD346_TITLE"));
  EXPECT_FALSE(table.Contains("string", "IDD346_1045"));
  ASSERT_EQ(table.Keys("STRING").size(), 1u);
  EXPECT_EQ(table.Keys("STRING")[0], "idd346_TITLE");  // as spelled in the text
}

TEST(IniReaderLines, QuotesAreRemovedOnlyInMatchingPairs) {
  const IniTable table = ParseIni(
      "[S]\n"
      "a=\"High Freq \"\n"
      "b='single'\n"
      "c=\"unbalanced\n"
      "d=\"mixed'\n"
      "e=\"\"\n"
      "f=\"\n"
      "g=in \"the\" middle\n",
      Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("S", "a"), "High Freq ");  // the blank inside the quotes stays
  EXPECT_EQ(table.Lookup("S", "b"), "single");
  EXPECT_EQ(table.Lookup("S", "c"), "\"unbalanced");
  EXPECT_EQ(table.Lookup("S", "d"), "\"mixed'");
  EXPECT_EQ(table.Lookup("S", "e"), "");
  EXPECT_TRUE(table.Contains("S", "e"));
  EXPECT_EQ(table.Lookup("S", "f"), "\"");
  EXPECT_EQ(table.Lookup("S", "g"), "in \"the\" middle");
}

TEST(IniReaderLines, CommentsBlankAndMalformedLinesCarryNoKey) {
  const IniTable table = ParseIni(
      "[String]\r\n"
      "//IDD_DIALOG_COMP\r\n"
      "// IDD346_1045=commented\r\n"
      "; IDD346_1046=commented\r\n"
      "   ;IDD346_1047=indented comment\r\n"
      "\r\n"
      "   \r\n"
      "no equals sign here\r\n"
      "=value without key\r\n"
      "[unclosed\r\n"
      "IDD346_1048=kept\r\n",
      Encoding::kUtf8);
  const std::vector<std::string> keys = table.Keys("String");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0], "IDD346_1048");  // the unclosed header did not open a section
  EXPECT_EQ(table.Lookup("String", "IDD346_1045"), "");
  EXPECT_EQ(table.Lookup("String", "// IDD346_1045"), "");
}

TEST(IniReaderLines, FirstOccurrenceWinsAndRepeatedSectionsMerge) {
  const IniTable table =
      ParseIni("[String]\nIDD1_1=first\nidd1_1=second\n[Other]\nx=1\n[STRING]\nIDD1_1=third\nIDD1_2=late\n",
               Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("String", "IDD1_1"), "first");
  EXPECT_EQ(table.Lookup("String", "IDD1_2"), "late");
  EXPECT_EQ(table.Keys("String").size(), 2u);
  EXPECT_EQ(table.SectionCount(), 2u);
}

TEST(IniReaderLines, KeysBeforeAnyHeaderAndLineEnds) {
  const IniTable table = ParseIni("top=1\r\n[S]\nlf=2\r\ncrlf=3\nlast=4", Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("", "top"), "1");
  EXPECT_EQ(table.Lookup("S", "top"), "");
  EXPECT_EQ(table.Lookup("S", "lf"), "2");
  EXPECT_EQ(table.Lookup("S", "crlf"), "3");
  EXPECT_EQ(table.Lookup("S", "last"), "4");  // no line end after the last line
}

TEST(IniReaderLines, ValuesStopAfter999Characters) {
  const std::string ascii(1500, 'a');
  std::string chinese;
  for (int i = 0; i < 1200; ++i) {
    chinese += "\xE9\x80\x9A";  // 通
  }
  const IniTable table = ParseIni(
      "[S]\na=" + ascii + "\nb=" + chinese + "\nc=\"" + std::string(999, 'q') + "\"\n", Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("S", "a"), std::string(999, 'a'));
  const std::string b = table.Lookup("S", "b");
  EXPECT_EQ(b.size(), 999u * 3u);  // cut on a character boundary
  EXPECT_EQ(b.substr(b.size() - 3), "\xE9\x80\x9A");
  EXPECT_EQ(table.Lookup("S", "c"), std::string(999, 'q'));  // quotes removed before counting
}

TEST(IniReaderDecoding, GbkLineOfTheChineseTable) {
  const IniTable table = ParseIni(std::string("[String]\r\n") + std::string(kGbkCompLine) +
                                      "IDD372_title=\xD1\xA7\xCF\xB0\xD6\xD0\xA1\xAD\xA1\xAD\r\n",
                                  Encoding::kGbk);
  EXPECT_EQ(table.Lookup("String", "IDD346_1045"), "压限启用");
  EXPECT_EQ(table.Lookup("String", "IDD372_title"), "学习中……");
  EXPECT_EQ(table.InvalidSequences(), 0u);
}

TEST(IniReaderDecoding, GbkTrailBytesThatLookLikeSyntaxStayInsideTheCharacter) {
  // 0xD5 0x5B is one GBK character whose second byte is "["; 0x81 0x5D ends in "]".
  const std::string bytes = "[S]\nk=\xD5\x5B\x81\x5D\n\xD5\x5B=v\n";
  const IniTable table = ParseIni(bytes, Encoding::kGbk);
  EXPECT_EQ(table.InvalidSequences(), 0u);
  EXPECT_EQ(table.Lookup("S", "k"), GbkToUtf8("\xD5\x5B\x81\x5D"));
  EXPECT_EQ(table.Lookup("S", GbkToUtf8("\xD5\x5B")), "v");
  EXPECT_EQ(table.SectionCount(), 1u);
}

TEST(IniReaderDecoding, UndecodableGbkBytesBecomeReplacementCharacters) {
  std::size_t invalid = 0;
  // 0xFF is no GBK byte; 0xD1 followed by a line end, or by nothing, is a cut-off pair.
  const std::string text = GbkToUtf8(
      "a\xFF"
      "b\xFF\xFF"
      "c\xD1\nd\xD1",
      &invalid);
  EXPECT_EQ(text,
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\xEF\xBF\xBD"
            "c\xEF\xBF\xBD\nd\xEF\xBF\xBD");
  EXPECT_EQ(invalid, 5u);
  EXPECT_EQ(GbkToUtf8("\x80"), "\xE2\x82\xAC");  // code page 936 has the euro sign there
  const IniTable table = ParseIni("[S]\nx=\xD1\ny=ok\n", Encoding::kGbk);
  EXPECT_EQ(table.Lookup("S", "x"), "\xEF\xBF\xBD");
  EXPECT_EQ(table.Lookup("S", "y"), "ok");  // the broken pair did not swallow the line end
}

TEST(IniReaderDecoding, Utf8IsCheckedAndByteOrderMarkSkipped) {
  std::size_t invalid = 0;
  EXPECT_EQ(SanitizeUtf8("ok \xE5\x8E\x8B", &invalid), "ok \xE5\x8E\x8B");
  EXPECT_EQ(invalid, 0u);
  // A stray continuation byte, an overlong form, a surrogate and a sequence cut off by the end.
  EXPECT_EQ(SanitizeUtf8("\x80|\xC0\xAF|\xED\xA0\x80|\xE5\x8E", &invalid),
            "\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD");
  EXPECT_EQ(invalid, 7u);
  const IniTable table = ParseIni("\xEF\xBB\xBF[String]\nIDD335_1073=Apply\n", Encoding::kUtf8);
  EXPECT_EQ(table.Lookup("String", "IDD335_1073"), "Apply");
}

TEST(IniReaderDecoding, EnglishTableWithOneGbkCommentLine) {
  const IniTable table = ParseIni(
      "[String]\r\n// \xBB\xFA\xC6\xF7\xC9\xE8\xD6\xC3\r\nIDD335_title=Machine Set\r\n", Encoding::kUtf8);
  EXPECT_EQ(table.Keys("String").size(), 1u);
  EXPECT_EQ(table.Lookup("String", "IDD335_title"), "Machine Set");
}

TEST(IniReaderGarbage, ArbitraryBytesNeverBreakTheReader) {
  std::string bytes;
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(state >> 16));
    if (i % 37 == 0) {
      bytes.append("=\n[");
    }
  }
  bytes.push_back('\0');
  for (Encoding encoding : {Encoding::kUtf8, Encoding::kGbk}) {
    const IniTable table = ParseIni(bytes, encoding);
    EXPECT_GT(table.InvalidSequences(), 0u);
    std::size_t keys = 0;
    for (const std::string& section : table.SectionNames()) {
      for (const std::string& key : table.Keys(section)) {
        ++keys;
        const std::string value = table.Lookup(section, key);
        EXPECT_EQ(SanitizeUtf8(value), value);  // every value is well-formed UTF-8
        std::size_t chars = 0;
        for (char c : value) {
          chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }
        EXPECT_LE(chars, kMaxIniValueChars);
      }
    }
    EXPECT_GT(keys, 100u);
  }
  EXPECT_EQ(ParseIni("", Encoding::kGbk).SectionCount(), 0u);
  EXPECT_EQ(ParseIni(std::string(3, '\0'), Encoding::kUtf8).SectionCount(), 0u);
}

}  // namespace
}  // namespace vireo
