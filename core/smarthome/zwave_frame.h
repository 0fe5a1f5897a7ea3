// Z-Wave Serial API frames as the machine's controller speaks them, and the HID reports that carry them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/report.h"

namespace vireo::zwave {

inline constexpr std::uint8_t kSof = 0x01;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kCan = 0x18;
inline constexpr std::uint8_t kRequest = 0x00;
inline constexpr std::uint8_t kResponse = 0x01;

// Function ids the application uses.
namespace fn {
inline constexpr std::uint8_t nodeList = 0x02;
inline constexpr std::uint8_t applicationCommand = 0x04;
inline constexpr std::uint8_t sendData = 0x13;
inline constexpr std::uint8_t setDefault = 0x42;
inline constexpr std::uint8_t addNode = 0x4A;
inline constexpr std::uint8_t removeNode = 0x4B;
}  // namespace fn

inline constexpr std::uint8_t kCommandClassBasic = 0x20;
inline constexpr std::uint8_t kBasicSet = 0x01;
inline constexpr std::uint8_t kBasicGet = 0x02;
inline constexpr std::uint8_t kCallbackKeyValue = 0x44;  // a Basic Set of 128..254 (remote keys)
inline constexpr std::uint8_t kCallbackValue = 0x43;     // every other Basic Set
inline constexpr std::uint8_t kGetOptions = 0x25;

// A report can carry at most this many frame bytes (61 minus id, code and length).
inline constexpr std::size_t kMaxFrameBytes = kReportBytes - 3;

// 0xFF XOR every byte from the length byte to the last parameter.
std::uint8_t Checksum(std::span<const std::uint8_t> lengthToLastParameter);

// SOF, LEN, type, function, parameters, checksum. Empty when it would not fit a report.
std::vector<std::uint8_t> EncodeFrame(std::uint8_t function, std::span<const std::uint8_t> params,
                                      std::uint8_t type = kRequest);

enum class DecodeStatus {
  frame,        // a data frame
  ack,          // a single 0x06
  nak,          // 0x15
  can,          // 0x18
  empty,        // nothing to read
  badStart,     // the first byte is none of the above
  tooShort,     // fewer bytes than a frame's smallest size or than its length byte promises
  badLength,    // a length byte that no frame in a report can have
  badChecksum,  // the bytes arrived but do not add up
};

struct Frame {
  std::uint8_t type = 0;
  std::uint8_t function = 0;
  std::vector<std::uint8_t> params;
};

// Reads one frame from the start of `bytes` (anything after it is ignored).
DecodeStatus DecodeFrame(std::span<const std::uint8_t> bytes, Frame* out);

// --- the HID reports of the smart-home link ---
// Code 18: length, then the frame bytes (at most 58; more are cut).
Report MakeFrameReport(std::span<const std::uint8_t> frameBytes);
// Code 18 with the single byte 0x06: the acknowledgement of a received frame.
Report MakeAckReport();
// Code 19: address high, low, length, data (at most 56 bytes).
Report MakeMemoryWrite(int address, std::span<const std::uint8_t> data);
// Code 20: address high, low, length.
Report MakeMemoryRead(int address, int length);

// The frames the application sends.
std::vector<std::uint8_t> NodeListRequest();
// Basic Set with callback 0x44 for 128..254 and 0x43 otherwise.
std::vector<std::uint8_t> BasicSetRequest(std::uint8_t node, std::uint8_t value);
std::vector<std::uint8_t> BasicGetRequest(std::uint8_t node);
std::vector<std::uint8_t> ResetRequest();
std::vector<std::uint8_t> AddNodeRequest();
std::vector<std::uint8_t> RemoveNodeRequest();
// Stops adding (0x4A) or removing (0x4B): 0x05, 0x00.
std::vector<std::uint8_t> AbortRequest(std::uint8_t function);
// Ends removal mode after a node has left: 0x4B, 0x05.
std::vector<std::uint8_t> RemoveStopRequest();

}  // namespace vireo::zwave
