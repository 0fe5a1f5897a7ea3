// Fuzz target: the INI reader on arbitrary bytes, read as GBK and as UTF-8, with its lookup invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "i18n/ini_reader.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

std::size_t CodePoints(const std::string& text) {
  std::size_t count = 0;
  for (char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

void Exercise(std::string_view bytes, vireo::Encoding encoding) {
  const vireo::IniTable table = vireo::ParseIni(bytes, encoding);
  std::size_t keys = 0;
  for (const std::string& section : table.SectionNames()) {
    for (const std::string& key : table.Keys(section)) {
      ++keys;
      Check(table.Contains(section, key));
      const std::string value = table.Lookup(section, key);
      Check(CodePoints(value) <= vireo::kMaxIniValueChars);
      Check(vireo::SanitizeUtf8(value) == value);
    }
  }
  // Every key took at least its name and an equals sign from the text.
  Check(keys <= bytes.size());
  (void)table.Lookup("String", "IDD346_1045");
  (void)table.Lookup(std::string_view(), std::string_view());
  // The input itself used as a section and a key name.
  (void)table.Lookup(bytes, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Exercise(bytes, vireo::Encoding::kGbk);
  Exercise(bytes, vireo::Encoding::kUtf8);
  return 0;
}
