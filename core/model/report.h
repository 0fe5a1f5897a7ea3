// The 61-byte report and the builders of every request layout; a pure codec with no transport.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace vireo {

inline constexpr std::size_t kReportBytes = 61;
inline constexpr std::uint8_t kOutputReportId = 0x02;
inline constexpr int kMaxBlockChunk = 56;
inline constexpr int kMaxParamValues = 13;

using Report = std::array<std::uint8_t, kReportBytes>;

// Request codes the system sends.
namespace code {
inline constexpr std::uint8_t setMode = 3;
inline constexpr std::uint8_t storeMode = 4;
inline constexpr std::uint8_t recallMode = 5;
inline constexpr std::uint8_t restoreMode = 6;
inline constexpr std::uint8_t queryMode = 7;
inline constexpr std::uint8_t writeParam = 9;
inline constexpr std::uint8_t readParam = 10;
inline constexpr std::uint8_t levelMeters = 14;
inline constexpr std::uint8_t zwaveFrame = 18;
inline constexpr std::uint8_t smartHomeWrite = 19;
inline constexpr std::uint8_t smartHomeRead = 20;
inline constexpr std::uint8_t learnKey = 96;
inline constexpr std::uint8_t stopLearning = 97;
inline constexpr std::uint8_t readKeyTable = 98;
inline constexpr std::uint8_t writeKeyTable = 99;
inline constexpr std::uint8_t reset = 104;
inline constexpr std::uint8_t secondDate = 126;
inline constexpr std::uint8_t queryKind = 127;
inline constexpr std::uint8_t queryModel = 128;
inline constexpr std::uint8_t queryFirmware = 129;
inline constexpr std::uint8_t writeBlock = 133;
inline constexpr std::uint8_t readBlock = 134;
inline constexpr std::uint8_t disconnect = 138;
inline constexpr std::uint8_t applySettings = 145;
inline constexpr std::uint8_t readSettings = 146;
inline constexpr std::uint8_t identityDone = 149;
inline constexpr std::uint8_t modeNameReply = 219;
}  // namespace code

// Big-endian helpers for the 4-byte wire values.
void PutBigEndian32(std::uint8_t* at, std::uint32_t value);
std::uint32_t GetBigEndian32(const std::uint8_t* at);
std::uint32_t FloatBits(float value);
float BitsFloat(std::uint32_t bits);

// A request with a code and up to 59 argument bytes (more are dropped).
Report MakeCommand(std::uint8_t requestCode, std::span<const std::uint8_t> args = {});
Report MakeCommand(std::uint8_t requestCode, std::initializer_list<std::uint8_t> args);
// Parameter write: 9, 0, module, param, count, then count big-endian values (at most 13).
Report MakeWriteParam(int module, int param, std::span<const std::uint32_t> values);
// The common case: one value repeated `count` times.
Report MakeWriteParamRepeated(int module, int param, std::uint32_t value, int count = 1);
Report MakeReadParam(int module, int param, int count = 1);
// Block write of at most 56 bytes (longer data is cut at 56).
Report MakeWriteBlock(int address, std::span<const std::uint8_t> data);
Report MakeReadBlock(int address, int length);

// Where built reports go. The device link implements it; tests record.
class ReportSender {
 public:
  virtual ~ReportSender() = default;
  // Waits for the previous reply (at most 2000 ms), then writes; returns the bytes written (61 or 0).
  virtual int SendPaced(const Report& report) = 0;
  // Writes at once; used by the smart-home and remote-key traffic.
  virtual int SendUnpaced(const Report& report) = 0;
};

}  // namespace vireo
