// INI text reader for the interface language tables: decodes GBK or UTF-8 bytes and answers key lookups.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vireo {

// How the bytes of an INI text are encoded. ASCII text is read as kUtf8.
enum class Encoding { kUtf8, kGbk };

// The longest value a lookup returns, in characters (Unicode code points); longer values are cut.
inline constexpr std::size_t kMaxIniValueChars = 999;

// A parsed INI text. Lookups follow the usual rules: section and key names compare without regard to
// ASCII case, the first occurrence of a key wins, values are UTF-8.
class IniTable {
 public:
  // The value of `key` in `section`, or an empty string when there is none.
  std::string Lookup(std::string_view section, std::string_view key) const;
  bool Contains(std::string_view section, std::string_view key) const;
  // The keys of `section` in the order of the text, as spelled at their first occurrence.
  std::vector<std::string> Keys(std::string_view section) const;
  // The section names in the order of the text, as spelled at their first occurrence.
  std::vector<std::string> SectionNames() const;
  std::size_t SectionCount() const { return sections_.size(); }
  // How many undecodable byte sequences were replaced by U+FFFD while reading.
  std::size_t InvalidSequences() const { return invalidSequences_; }

 private:
  friend IniTable ParseIni(std::string_view bytes, Encoding encoding);
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> byFoldedKey;
  };
  const Section* FindSection(std::string_view section) const;
  std::size_t SectionIndex(std::string_view name);  // opens the section when it is new

  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> byFoldedSection_;
  std::size_t invalidSequences_ = 0;
};

// Reads an INI text. Lines end with LF or CR LF. A line "[name]" opens a section (text after the closing
// bracket is ignored); "key=value" adds a key to the current section (keys before the first header belong
// to the section ""). Blanks around names and values are dropped, and a value enclosed in a matching pair
// of double or single quotation marks loses them. Blank lines, lines beginning with ";" or "//", lines
// without "=" and lines with an empty key carry no key. A repeated section adds its new keys to the first.
// Never fails: undecodable bytes become U+FFFD.
IniTable ParseIni(std::string_view bytes, Encoding encoding);

// Decodes GBK (code page 936) bytes to UTF-8; each undecodable sequence becomes U+FFFD and is counted.
std::string GbkToUtf8(std::string_view bytes, std::size_t* invalidSequences = nullptr);

// Copies UTF-8 text, replacing each ill-formed sequence with U+FFFD and counting it.
std::string SanitizeUtf8(std::string_view bytes, std::size_t* invalidSequences = nullptr);

}  // namespace vireo
