// The one connection to the machine: discovery, paced and unpaced writes, the read thread, bounded close.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo {

inline constexpr int kPacingTimeoutMs = 2000;
inline constexpr int kCloseTimeoutMs = 1000;

// States: closed -> open (Open) -> connected (StartReader: store.connected() == 1, read thread running)
// -> reader ended (a read failed: writes are refused) -> closed (CloseLink).
//
// The read thread co-owns everything it touches after a close gave up waiting for it (the device and
// the reader's own state), so a reader blocked in a read that never completes can be left behind
// safely: when that read finally returns, the thread leaves without touching the link, the store or
// the clock. The dispatch function and the store must outlive the link.
class HidLink final : public ReportSender {
 public:
  using DispatchFn = std::function<void(std::span<const std::uint8_t> report)>;
  using TraceHook = std::function<void(char direction, const Report& report)>;

  HidLink(ParameterStore& store, Clock& clock);
  ~HidLink() override;  // CloseLink, then drops an opened but never started device
  HidLink(const HidLink&) = delete;
  HidLink& operator=(const HidLink&) = delete;

  // Discovery: of the backend's HID interfaces with vendor 0x2010 and product 0x1031 (others are passed
  // over silently), examines at most the first 32 and opens the first that opens. Keeps the device and
  // its path.
  // False when already connected or nothing matched.
  bool Open(HidBackend& backend);
  // connected := 1 and starts the read thread, which hands every received report (61 bytes, byte 0 the
  // report id) to `dispatch` and then sets the pacing event. False when no device is open or a reader
  // already runs.
  bool StartReader(DispatchFn dispatch);

  // Waits until a report arrived since the previous paced send or 2000 ms passed (then sends anyway),
  // then writes. Returns the bytes written: 61, or 0 when not connected, after a read failure or when
  // the device refused the write.
  int SendPaced(const Report& report) override;
  // The same write without waiting.
  int SendUnpaced(const Report& report) override;

  // Bounded close: when connected, clears the level meters, connected := 0, cancels the pending read,
  // waits at most 1000 ms for the read thread, then closes the device. A thread blocked in its read is
  // left behind after that; one still inside the dispatch function gets at most 1000 ms more.
  void CloseLink();

  // Whether a removed interface's path is ours (compared without regard to case).
  bool IsRemoval(std::string_view removedPath) const;
  std::string devicePath() const;
  bool isOpen() const;
  // 1 once a read failed; writes return 0 until the link is closed and opened again.
  bool readerEnded() const;

  // Called with '>' before each report goes to the device and '<' for each report received, on the
  // thread that moves it. May be set at any time.
  void SetTraceHook(TraceHook hook);
  // Called on the read thread when a read fails, before the pacing event is released (the
  // synchronisation layer clears its idle flag there).
  void SetOnReadFailure(std::function<void()> hook);

 private:
  struct Hooks;
  struct ReaderState;
  int LockedWrite(const Report& report);
  static void ReaderMain(std::shared_ptr<ReaderState> state);

  ParameterStore& store_;
  Clock& clock_;
  std::shared_ptr<Hooks> hooks_;
  std::shared_ptr<ReaderState> reader_;  // the pacing event, readerEnded and the exit handshake
  mutable std::mutex writeLock_;         // one report write at a time; also guards device_ and path_
  std::shared_ptr<HidDevice> device_;
  std::string devicePath_;
  std::mutex lifecycleLock_;  // Open / StartReader / CloseLink against each other
  std::thread readerThread_;
};

// Brings a report read from the device to 61 bytes with byte 0 the report id: a report of 60 bytes or
// fewer came without an id byte (hidraw, unnumbered reports) and gets id 0 in front; the rest is zero.
Report NormaliseInputReport(std::span<const std::uint8_t> data);

}  // namespace vireo
