// A plug's name as the user gives it, checked and cut to what the plug record holds, for the plug
// dialog and `vireo-cli plug` alike.
#pragma once

#include <string>
#include <string_view>

namespace vireo::smarthome {

enum class PlugNameCheck {
  ok,
  empty,    // nothing to store
  tooLong,  // more than the record's 12 UTF-16 units: `kept` holds the first whole characters that fit
  notUtf8,  // not UTF-8 text: `kept` is empty
};

// Reads `utf8` as the record will hold it (UTF-16). Malformed UTF-8 (a stray or missing continuation
// byte, an overlong form, an encoded surrogate, a code point beyond U+10FFFF) is refused, never stored
// as guessed characters. A name longer than 12 units is cut at a character boundary: a character
// outside the Basic Multilingual Plane whose second unit would be the thirteenth goes as a whole, so the
// record never ends in half of a surrogate pair. `kept` may be null.
PlugNameCheck CheckPlugName(std::string_view utf8, std::u16string* kept);

// What the user is told about `check` (empty for ok), UTF-8, language 0 Chinese, 1 English.
std::string PlugNameNotice(PlugNameCheck check, int languageIndex);

}  // namespace vireo::smarthome
