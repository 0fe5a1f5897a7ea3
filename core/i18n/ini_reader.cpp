// INI text reader: GBK and UTF-8 decoding, line rules, and case-insensitive lookups.
#include "i18n/ini_reader.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace vireo {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or, when it is ill-formed, minus
// the number of bytes to skip (the lead byte and any continuation bytes that still fitted).
int Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    return 1;
  }
  int length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) {
      low = 0xA0;
    }
    if (lead == 0xED) {
      high = 0x9F;  // no UTF-16 surrogates
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) {
      low = 0x90;
    }
    if (lead == 0xF4) {
      high = 0x8F;  // nothing above U+10FFFF
    }
  } else {
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= text.size()) {
      return -i;
    }
    const unsigned char next = byte(static_cast<std::size_t>(i));
    const unsigned char min = i == 1 ? low : 0x80;
    const unsigned char max = i == 1 ? high : 0xBF;
    if (next < min || next > max) {
      return -i;
    }
  }
  return length;
}

// Cuts valid UTF-8 text after `maxChars` code points.
void LimitChars(std::string& text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
      continue;
    }
    if (chars == maxChars) {
      text.resize(i);
      return;
    }
    ++chars;
  }
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Without a GBK converter the ASCII part is still readable; every other byte is unknown.
std::string AsciiOnly(std::string_view bytes, std::size_t& invalid) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
    } else {
      out.append(kReplacement);
      ++invalid;
    }
  }
  return out;
}

}  // namespace

std::string SanitizeUtf8(std::string_view bytes, std::size_t* invalidSequences) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t invalid = 0;
  while (!bytes.empty()) {
    const int length = Utf8SequenceLength(bytes);
    if (length > 0) {
      out.append(bytes.substr(0, static_cast<std::size_t>(length)));
      bytes.remove_prefix(static_cast<std::size_t>(length));
    } else {
      out.append(kReplacement);
      ++invalid;
      bytes.remove_prefix(static_cast<std::size_t>(-length));
    }
  }
  if (invalidSequences != nullptr) {
    *invalidSequences += invalid;
  }
  return out;
}

std::string GbkToUtf8(std::string_view bytes, std::size_t* invalidSequences) {
  std::size_t invalid = 0;
  std::string out;
  const iconv_t converter = iconv_open("UTF-8", "GBK");
  // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is how iconv_open reports failure.
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    out = AsciiOnly(bytes, invalid);
  } else {
    out.reserve(bytes.size() + bytes.size() / 2);
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::array<char, 4096> buffer{};
    while (inLeft > 0) {
      char* outPtr = buffer.data();
      std::size_t outLeft = buffer.size();
      const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      out.append(buffer.data(), buffer.size() - outLeft);
      if (result != static_cast<std::size_t>(-1) || error == E2BIG) {
        continue;
      }
      // An undecodable byte (EILSEQ) or a sequence cut off by the end of the text (EINVAL): replace one
      // byte and go on, so that the following line structure survives.
      out.append(kReplacement);
      ++invalid;
      ++in;
      --inLeft;
    }
    iconv_close(converter);
  }
  if (invalidSequences != nullptr) {
    *invalidSequences += invalid;
  }
  return out;
}

IniTable ParseIni(std::string_view bytes, Encoding encoding) {
  IniTable table;
  std::string text;
  if (encoding == Encoding::kGbk) {
    text = GbkToUtf8(bytes, &table.invalidSequences_);
  } else {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
      bytes.remove_prefix(3);
    }
    text = SanitizeUtf8(bytes, &table.invalidSequences_);
  }

  // An index, not a pointer: opening a section may grow the section list.
  std::size_t current = kNoSection;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

    if (line.empty() || line.front() == ';' || line.substr(0, 2) == "//") {
      continue;
    }
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) {
        current = table.SectionIndex(Trim(line.substr(1, close - 1)));
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) {
      continue;
    }
    if (current == kNoSection) {
      current = table.SectionIndex("");
    }
    IniTable::Section& section = table.sections_[current];
    std::string folded = FoldCase(key);
    if (section.byFoldedKey.count(folded) != 0) {
      continue;  // the first occurrence wins
    }
    std::string value(Unquote(Trim(line.substr(equals + 1))));
    LimitChars(value, kMaxIniValueChars);
    section.byFoldedKey.emplace(std::move(folded), section.entries.size());
    section.entries.push_back({std::string(key), std::move(value)});
  }
  return table;
}

std::size_t IniTable::SectionIndex(std::string_view name) {
  auto [it, inserted] = byFoldedSection_.emplace(FoldCase(name), sections_.size());
  if (inserted) {
    sections_.push_back(Section{std::string(name), {}, {}});
  }
  return it->second;
}

std::vector<std::string> IniTable::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) {
    names.push_back(section.name);
  }
  return names;
}

const IniTable::Section* IniTable::FindSection(std::string_view section) const {
  const auto it = byFoldedSection_.find(FoldCase(Trim(section)));
  return it == byFoldedSection_.end() ? nullptr : &sections_[it->second];
}

std::string IniTable::Lookup(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) {
    return {};
  }
  const auto it = found->byFoldedKey.find(FoldCase(Trim(key)));
  return it == found->byFoldedKey.end() ? std::string() : found->entries[it->second].value;
}

bool IniTable::Contains(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  return found != nullptr && found->byFoldedKey.count(FoldCase(Trim(key))) != 0;
}

std::vector<std::string> IniTable::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = FindSection(section)) {
    keys.reserve(found->entries.size());
    for (const Entry& entry : found->entries) {
      keys.push_back(entry.key);
    }
  }
  return keys;
}

}  // namespace vireo
