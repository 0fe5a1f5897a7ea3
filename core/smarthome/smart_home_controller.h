// The smart home through the machine's Z-Wave controller: node table, received frames, and the
// operations (read-all, reset, add, remove, set, scenes) run on one worker thread.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/clock.h"
#include "device/events.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_memory.h"

namespace vireo {
class MachineConnection;
}

namespace vireo::smarthome {

// Event 3024: a = event code, b = its data (below).
namespace zevent {
inline constexpr int nodeValue = 4;    // b = node << 16 | value
inline constexpr int sendDone = 19;    // b = callback << 16 | (1 when the node did not acknowledge)
inline constexpr int reset = 66;       // b = 0
inline constexpr int addNode = 74;     // b = node << 16 | 5 (joined), or 1 (press the button), 7 (failed)
inline constexpr int removeNode = 75;  // b = node << 16 | 6 (left), 7 (failed), or another status
}  // namespace zevent

// Event 3025: a = refreshDone after a read or reset; a = sceneRun with b 0 at the start, 1 at the end.
inline constexpr int kRefreshDone = 8;
inline constexpr int kSceneRun = 1;

inline constexpr int kAddJoined = 5;
inline constexpr int kRemoveLeft = 6;
inline constexpr int kAddRemoveFailed = 7;

inline constexpr int kNodeListWaitMs = 200 * 30;
inline constexpr int kNodeReplyTimeoutMs = 6000;  // the longest a node's value report is waited for
inline constexpr int kSendDoneTimeoutMs = 600 * 10;
inline constexpr int kAckPauseMs = 20;
inline constexpr int kStepPauseMs = 20;

struct ReadAllResult {
  bool nodeListArrived = false;
  std::vector<int> silentNodes;  // present nodes whose value never came (skipped)
};

class SmartHomeController {
 public:
  // `events` may be null. The store and clock must outlive the controller.
  SmartHomeController(ParameterStore& store, ReportSender& sender, Clock& clock, EventSink* events);
  // Detaches, stops the worker (a running operation ends at its next wait) and joins it.
  ~SmartHomeController();
  SmartHomeController(const SmartHomeController&) = delete;
  SmartHomeController& operator=(const SmartHomeController&) = delete;

  // Receives replies 18 and 20 from the connection's dispatcher until detached or destroyed.
  void Attach(MachineConnection& connection);
  void Detach();

  // A reply report (code 18 or 20), on the read thread. Frames other than acknowledgements are
  // acknowledged first (code 18, 0x06, then a 20 ms pause).
  void OnReply(std::span<const std::uint8_t> report);

  // --- operations: each returns at once (false when not connected); progress arrives as events ---
  bool StartReadAll();                      // 3025 (8) at the end
  bool StartReset();                        // 0x42, scenes cleared, read-all, key folder backed up and
                                            // cleared, then 3025 (8)
  bool RunScene(int index);                 // 3025 (1, 0) ... (1, 1)
  bool StartAdd(const PlugRecord& record);  // 3024 (74, ...)
  bool StartRemove();                       // 3024 (75, ...)
  // Stop frame for add (0x4A) or remove (0x4B) mode.
  bool Abort(std::uint8_t function);
  // Stops a Basic Set whose end the controller has not reported: code 18 carrying the single byte 0x13,
  // no frame around it, sent at once like Abort.
  bool StopSet();
  // Node 254 selects the HDMI input, 240 waits `value` seconds, a present plug gets a Basic Set
  // (3024 (19, ...) when the controller reports the end of the send); an absent node is skipped.
  bool SetValue(int node, int value);
  bool WritePlug(int node, const PlugRecord& record);
  bool SaveScene(int index, std::span<const SceneStep> steps);
  // Blocks until every queued operation has finished (the command-line tool and tests).
  void WaitIdle();

  // The same operations run on the calling thread (the worker runs these).
  ReadAllResult ReadAllNow();
  // What became of the key folder: its files move into a backup folder inside it.
  PlugFolderBackup ResetNow();
  void RunSceneNow(int index);
  // True when a Basic Set went out.
  bool SetValueNow(int node, int value);

  // --- state ---
  bool present(int node) const;
  int value(int node) const;
  std::vector<int> presentPlugs() const;  // present nodes other than the controller, ascending
  bool initDataReceived() const;
  bool nodeReplied() const;
  bool sendDone() const;
  bool smartTableRead() const;
  // Every new connection starts with the plug table unread.
  void ClearSmartTableRead();
  PlugRecord pendingPlug() const;
  std::optional<ReadAllResult> lastReadAll() const;
  SmartHomeMemory& memory() { return memory_; }
  const SmartHomeMemory& memory() const { return memory_; }
  // Where the plug key files live; empty (the default) leaves files alone.
  void SetPlugFolder(std::string folder);

 private:
  void HandleFrame(std::uint8_t function, std::span<const std::uint8_t> p);
  void SendFrame(const std::vector<std::uint8_t>& frame);
  bool Queue(std::function<void()> job);
  void WorkerMain();
  // Waits until `ready` or the time-out; false on time-out or while stopping.
  bool WaitUntil(const std::function<bool()>& ready, int timeoutMs);
  bool Pause(int ms);
  void Post(int message, std::intptr_t a, std::intptr_t b);
  void Mark(bool& flag);
  bool connected() const;
  void WriteMemory(int address, std::span<const std::uint8_t> data);
  void SelectHdmi(int port);
  void OnRemoved(int node);
  void OnKeyLearned(int node, int key);
  std::string folder() const;

  ParameterStore& store_;
  ReportSender& sender_;
  Clock& clock_;
  EventSink* events_;
  SmartHomeMemory memory_;
  MachineConnection* attached_ = nullptr;

  mutable std::mutex lock_;  // guards everything below
  std::condition_variable cv_;
  std::array<std::uint8_t, kNodeCount> presence_{};
  std::array<std::uint8_t, kNodeCount> values_{};
  bool initDataReceived_ = false;
  bool nodeReplied_ = false;
  bool sendDone_ = false;
  bool smartTableRead_ = false;
  PlugRecord pendingPlug_;
  std::optional<ReadAllResult> lastReadAll_;
  int learningNode_ = -1;  // the plug asked to learn a key, and which key
  int learningKey_ = -1;
  std::string plugFolder_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace vireo::smarthome
