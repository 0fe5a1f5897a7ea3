// Checking and cutting plug names.
#include "smarthome/plug_name.h"

#include <cstdint>

#include "smarthome/smart_home_memory.h"

namespace vireo::smarthome {
namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0u) == 0x80u;
}

// Decodes the character at `text[*at]` and moves past it; false for malformed UTF-8.
bool NextCodePoint(std::string_view text, std::size_t* at, char32_t* cp) {
  const auto lead = static_cast<unsigned char>(text[*at]);
  std::size_t length = 0;
  char32_t value = 0;
  char32_t lowest = 0;  // the smallest code point that needs this length: anything less is overlong
  if (lead < 0x80u) {
    length = 1, value = lead;
  } else if (lead >= 0xC2u && lead <= 0xDFu) {
    length = 2, value = lead & 0x1Fu, lowest = 0x80;
  } else if (lead >= 0xE0u && lead <= 0xEFu) {
    length = 3, value = lead & 0x0Fu, lowest = 0x800;
  } else if (lead >= 0xF0u && lead <= 0xF4u) {
    length = 4, value = lead & 0x07u, lowest = 0x10000;
  } else {
    return false;  // a continuation byte without a lead, C0/C1 (always overlong), or F5..FF
  }
  if (text.size() - *at < length) return false;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[*at + k]);
    if (!IsContinuation(c)) return false;
    value = (value << 6) | (c & 0x3Fu);
  }
  if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *at += length;
  *cp = value;
  return true;
}

bool ToUtf16(std::string_view utf8, std::u16string* out) {
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t cp = 0;
    if (!NextCodePoint(utf8, &at, &cp)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

}  // namespace

PlugNameCheck CheckPlugName(std::string_view utf8, std::u16string* kept) {
  std::u16string name;
  PlugNameCheck check = PlugNameCheck::ok;
  if (!ToUtf16(utf8, &name)) {
    name.clear();
    check = PlugNameCheck::notUtf8;
  } else if (name.empty()) {
    check = PlugNameCheck::empty;
  } else if (name.size() > static_cast<std::size_t>(kPlugNameChars)) {
    std::size_t cut = kPlugNameChars;
    const char16_t last = name[cut - 1];
    if (last >= 0xD800 && last <= 0xDBFF) --cut;  // the pair's second unit would not fit
    name.resize(cut);
    check = PlugNameCheck::tooLong;
  }
  if (kept != nullptr) *kept = std::move(name);
  return check;
}

std::string PlugNameNotice(PlugNameCheck check, int languageIndex) {
  const bool english = languageIndex == 1;
  switch (check) {
    case PlugNameCheck::ok:
      return {};
    case PlugNameCheck::empty:
      return english ? "Name can't be empty" : "名称不能为空";
    case PlugNameCheck::tooLong:
      return english ? "Name too long, only 12 characters kept" : "名字太长，只保留12个字符长度";
    case PlugNameCheck::notUtf8:
      return english ? "Name is not UTF-8 text" : "名称不是UTF-8文本";
  }
  return {};
}

}  // namespace vireo::smarthome
