// The JSON writer behind `mode show --json`.
#include "json_writer.h"

#include <cmath>
#include <cstdio>

#include "cli_common.h"

namespace vireo::cli {

void JsonWriter::NewLine() {
  out_ << '\n';
  for (std::size_t i = 0; i < levels_.size(); ++i) out_ << "  ";
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (!level.empty) out_ << ',';
  level.empty = false;
  if (!level.compact) NewLine();
}

void JsonWriter::Open(char bracket, bool compact) {
  BeforeValue();
  out_ << bracket;
  // A container inside a compact one stays compact.
  const bool inherited = !levels_.empty() && levels_.back().compact;
  levels_.push_back({compact || inherited, true});
}

void JsonWriter::Close(char bracket) {
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.compact && !level.empty) NewLine();
  out_ << bracket;
  if (levels_.empty()) out_ << '\n';
}

void JsonWriter::BeginObject(bool compact) {
  Open('{', compact);
}
void JsonWriter::EndObject() {
  Close('}');
}
void JsonWriter::BeginArray(bool compact) {
  Open('[', compact);
}
void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  WriteQuoted(key);
  out_ << (levels_.back().compact ? ":" : ": ");
  afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
  BeforeValue();
  WriteQuoted(text);
}

void JsonWriter::WriteQuoted(std::string_view text) {
  out_ << '"';
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out_ << '\\' << c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out_ << escaped;
    } else {
      out_ << c;
    }
  }
  out_ << '"';
}

void JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  out_ << value;
}

void JsonWriter::Float(float value) {
  if (!std::isfinite(value)) {
    Null();
    return;
  }
  BeforeValue();
  out_ << FloatText(value);
}

void JsonWriter::NumberText(std::string_view text) {
  BeforeValue();
  out_ << text;
}

void JsonWriter::Null() {
  BeforeValue();
  out_ << "null";
}

}  // namespace vireo::cli
