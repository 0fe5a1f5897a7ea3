// The report trace.
#include "services/trace_file.h"

TraceFile::~TraceFile() {
  if (file_) std::fclose(file_);
}

bool TraceFile::Open(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

std::string TraceLine(bool sent, std::span<const std::uint8_t> report) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line(1, sent ? '>' : '<');
  for (std::uint8_t byte : report) {
    line += ' ';
    line += kHex[byte >> 4];
    line += kHex[byte & 0x0F];
  }
  return line;
}

void TraceFile::Write(bool sent, std::span<const std::uint8_t> report) {
  const std::string line = TraceLine(sent, report) + '\n';
  std::lock_guard<std::mutex> guard(lock_);
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fflush(file_);
}
