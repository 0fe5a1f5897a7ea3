// The --trace file: one line per report, ">" sent or "<" received, then the 61 bytes in upper-case hex.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <span>
#include <string>

class TraceFile {
 public:
  TraceFile() = default;
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  bool Open(const std::string& path);
  // Thread-safe: the sending thread and the read thread both write.
  void Write(bool sent, std::span<const std::uint8_t> report);

 private:
  std::mutex lock_;
  std::FILE* file_ = nullptr;
};

// "> 02 09 ..." for one report.
std::string TraceLine(bool sent, std::span<const std::uint8_t> report);
