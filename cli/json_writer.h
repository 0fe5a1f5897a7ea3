// A small streaming JSON writer: nested objects and arrays, indented, with compact containers on request.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace vireo::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  // A compact container is written on one line; others put each member on its own indented line.
  void BeginObject(bool compact = false);
  void EndObject();
  void BeginArray(bool compact = false);
  void EndArray();

  void Key(std::string_view key);
  void String(std::string_view text);
  void Int(std::int64_t value);
  void Float(float value);  // shortest round-trip text; NaN and infinities become null
  // An already formatted number, written as it stands.
  void NumberText(std::string_view text);
  void Null();

 private:
  struct Level {
    bool compact;
    bool empty;
  };
  void BeforeValue();
  void Open(char bracket, bool compact);
  void Close(char bracket);
  void NewLine();
  void WriteQuoted(std::string_view text);

  std::ostream& out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace vireo::cli
