// A strict little JSON reader for checking the structure of vireo-cli's JSON output.
#pragma once

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vireo::cli::test {

struct Json {
  // Declared here and defaulted below, once Json is complete: clang checks the members' pair type for
  // a default constructor and a destructor while Json is still incomplete.
  Json();
  Json(const Json&);
  Json(Json&&) noexcept;
  Json& operator=(const Json&);
  Json& operator=(Json&&) noexcept;
  ~Json();

  enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
  double number = 0;
  bool boolean = false;
  std::string text;
  std::vector<Json> items;                            // array elements
  std::vector<std::pair<std::string, Json>> members;  // object members, in order

  const Json* Find(std::string_view key) const;
};

inline Json::Json() = default;
inline Json::Json(const Json&) = default;
inline Json::Json(Json&&) noexcept = default;
inline Json& Json::operator=(const Json&) = default;
inline Json& Json::operator=(Json&&) noexcept = default;
inline Json::~Json() = default;

inline const Json* Json::Find(std::string_view key) const {
  for (const auto& [k, v] : members) {
    if (k == key) return &v;
  }
  return nullptr;
}

// Returns false on any syntax error or trailing garbage.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : s_(text) {}

  bool Parse(Json* out) {
    if (!Value(out, 0)) return false;
    Space();
    return i_ == s_.size();
  }

 private:
  void Space() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  bool String(std::string* out) {
    if (!Eat('"')) return false;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c == '\\') {
        if (i_ >= s_.size()) return false;
        const char e = s_[i_++];
        if (e == 'u') {
          if (i_ + 4 > s_.size()) return false;
          c = static_cast<char>(std::strtol(std::string(s_.substr(i_, 4)).c_str(), nullptr, 16));
          i_ += 4;
        } else if (e == 'n') {
          c = '\n';
        } else if (e == '"' || e == '\\' || e == '/') {
          c = e;
        } else {
          return false;
        }
      }
      *out += c;
    }
    return Eat('"');
  }
  bool Number(Json* out) {
    const std::size_t start = i_;
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    if (i_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[i_]))) return false;
    if (s_[i_] == '0' && i_ + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_ + 1])))
      return false;
    while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.' ||
                              s_[i_] == 'e' || s_[i_] == 'E' || s_[i_] == '+' || s_[i_] == '-')) {
      ++i_;
    }
    const std::string text(s_.substr(start, i_ - start));
    char* end = nullptr;
    out->number = std::strtod(text.c_str(), &end);
    out->kind = Json::Kind::number;
    return end == text.c_str() + text.size();
  }
  bool Value(Json* out, int depth) {
    if (depth > 32) return false;
    Space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') {
      ++i_;
      out->kind = Json::Kind::object;
      if (Eat('}')) return true;
      do {
        std::string key;
        Json value;
        if (!String(&key) || !Eat(':') || !Value(&value, depth + 1)) return false;
        out->members.emplace_back(std::move(key), std::move(value));
      } while (Eat(','));
      return Eat('}');
    }
    if (c == '[') {
      ++i_;
      out->kind = Json::Kind::array;
      if (Eat(']')) return true;
      do {
        Json value;
        if (!Value(&value, depth + 1)) return false;
        out->items.push_back(std::move(value));
      } while (Eat(','));
      return Eat(']');
    }
    if (c == '"') {
      out->kind = Json::Kind::string;
      return String(&out->text);
    }
    if (Word("null")) return true;
    if (Word("true") || Word("false")) {
      out->kind = Json::Kind::boolean;
      out->boolean = s_[i_ - 1] == 'e' && s_[i_ - 2] == 'u';
      return true;
    }
    return Number(out);
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace vireo::cli::test
