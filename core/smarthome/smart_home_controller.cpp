// Received Z-Wave frames and memory replies, the node table and the worker that runs the operations.
#include "smarthome/smart_home_controller.h"

#include <cstdio>
#include <filesystem>

#include "device/connection.h"
#include "device/debug_log.h"
#include "smarthome/plug_keys.h"
#include "smarthome/zwave_frame.h"

namespace vireo::smarthome {
namespace {

constexpr std::size_t kFrameAt = 3;  // reply 18: code, length, then the frame
constexpr std::size_t kMemoryDataAt = 5;
constexpr int kNodeMaskBytes = 29;  // 232 nodes
constexpr int kLearnProgressDone = 3;
constexpr int kLastProgress = 7;

bool ValidNode(int node) {
  return node >= 0 && node < kNodeCount;
}

std::intptr_t NodeEvent(int node, int low) {
  return (static_cast<std::intptr_t>(node) << 16) + low;
}

}  // namespace

SmartHomeController::SmartHomeController(ParameterStore& store, ReportSender& sender, Clock& clock,
                                         EventSink* events)
    : store_(store), sender_(sender), clock_(clock), events_(events) {
  worker_ = std::thread([this] { WorkerMain(); });
}

SmartHomeController::~SmartHomeController() {
  Detach();
  {
    std::lock_guard guard(lock_);
    stopping_ = true;
    jobs_.clear();
  }
  cv_.notify_all();
  clock_.Notify();
  worker_.join();
}

void SmartHomeController::Attach(MachineConnection& connection) {
  Detach();
  attached_ = &connection;
  connection.SetSmartHomeHandler([this](std::span<const std::uint8_t> report) { OnReply(report); });
}

void SmartHomeController::Detach() {
  if (attached_ == nullptr) return;
  attached_->SetSmartHomeHandler(nullptr);
  attached_ = nullptr;
}

// --- received reports ---

void SmartHomeController::OnReply(std::span<const std::uint8_t> report) {
  Report r{};
  std::copy_n(report.begin(), std::min(report.size(), r.size()), r.begin());
  if (r[1] == code::smartHomeRead) {
    const int address = (r[2] << 8) | r[3];
    const std::size_t length = std::min<std::size_t>(r[4], kReportBytes - kMemoryDataAt);
    if (!memory_.ApplyReply(address, std::span(r).subspan(kMemoryDataAt, length))) {
      DebugLog("ZWaveReadMemFunc over range");
    }
    return;
  }
  if (r[1] != code::zwaveFrame) return;
  const std::size_t length = std::min<std::size_t>(r[2], zwave::kMaxFrameBytes);
  zwave::Frame frame;
  const zwave::DecodeStatus status = zwave::DecodeFrame(std::span(r).subspan(kFrameAt, length), &frame);
  if (status == zwave::DecodeStatus::ack || status == zwave::DecodeStatus::empty) return;
  if (status != zwave::DecodeStatus::frame) {
    DebugLog("zwave: unreadable frame (" + std::to_string(static_cast<int>(status)) + ")\n");
    return;
  }
  sender_.SendUnpaced(zwave::MakeAckReport());
  clock_.SleepMs(kAckPauseMs);
  HandleFrame(frame.function, frame.params);
}

void SmartHomeController::HandleFrame(std::uint8_t function, std::span<const std::uint8_t> p) {
  std::unique_lock lk(lock_);
  switch (function) {
    case zwave::fn::nodeList: {
      if (p.size() < 3) return;
      const std::size_t maskBytes = std::min<std::size_t>({p[2], p.size() - 3, kNodeMaskBytes});
      presence_.fill(0);
      for (std::size_t i = 0; i < maskBytes; ++i) {
        for (int j = 0; j < 8; ++j) {
          const int node = static_cast<int>(8 * i) + j + 1;
          if ((p[3 + i] >> j & 1) != 0 && ValidNode(node))
            presence_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(node);
        }
      }
      Mark(initDataReceived_);
      return;
    }
    case zwave::fn::applicationCommand: {
      if (p.size() < 4 || p[2] == 0) return;
      const int node = p[1];
      const std::size_t last = 2 + std::min<std::size_t>(p[2], p.size() - 3);
      const int value = p[last];
      if (ValidNode(node)) values_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(value);
      // The learning plug's first final report ends the learning: only "learned" marks the key.
      const bool learning = node == learningNode_ && value >= kLearnProgressDone && value <= kLastProgress;
      const bool learned = learning && value == kLearnProgressDone;
      const int key = learningKey_;
      if (learning) learningNode_ = learningKey_ = -1;
      Mark(nodeReplied_);
      lk.unlock();
      // The key file's update is queued before the report goes out, so that whoever the report ends a
      // wait for finds it in the worker's queue (WaitIdle) or already written.
      if (learned) Queue([this, node, key] { OnKeyLearned(node, key); });
      Post(event::zwaveEvent, zevent::nodeValue, NodeEvent(node, value));
      return;
    }
    case zwave::fn::sendData: {
      if (p.size() < 2) return;  // the controller's immediate response carries one byte only
      const int callback = p[0];
      const int t = p[1];
      if (t == 0) {
        Mark(sendDone_);
      } else if (t == 1) {
        Mark(sendDone_);
        Mark(nodeReplied_);
      } else {
        return;
      }
      lk.unlock();
      Post(event::zwaveEvent, zevent::sendDone, NodeEvent(callback, t));
      return;
    }
    case zwave::fn::setDefault:
      Mark(sendDone_);
      lk.unlock();
      Post(event::zwaveEvent, zevent::reset, 0);
      return;
    case zwave::fn::addNode: {
      if (p.size() < 2) return;
      const int t = p[1];
      const int node = p.size() > 2 ? p[2] : 0;
      if (t == kAddJoined && ValidNode(node) && node != 0) {
        presence_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(node);
        const PlugRecord record = pendingPlug_;
        lk.unlock();
        memory_.setPlug(node, record);
        Queue([this, node] { WriteMemory(PlugAddress(node), EncodePlugRecord(memory_.plug(node))); });
        Post(event::zwaveEvent, zevent::addNode, NodeEvent(node, t));
      } else if (t == 1 || t == kAddRemoveFailed) {
        lk.unlock();
        Post(event::zwaveEvent, zevent::addNode, t);
      }
      return;
    }
    case zwave::fn::removeNode: {
      if (p.size() < 2) return;
      const int t = p[1];
      const int node = p.size() > 2 ? p[2] : 0;
      if (t == kRemoveLeft && ValidNode(node)) {
        char line[32];
        std::snprintf(line, sizeof line, "REMOVE ID= %d\n", node);
        DebugLog(line);
        presence_[static_cast<std::size_t>(node)] = 0;
        lk.unlock();
        OnRemoved(node);
        Post(event::zwaveEvent, zevent::removeNode, NodeEvent(node, t));
      } else {
        lk.unlock();
        Post(event::zwaveEvent, zevent::removeNode, t);
      }
      return;
    }
    default:
      return;
  }
}

void SmartHomeController::OnRemoved(int node) {
  // Removal mode ends once a node has left; the frame is unpaced, so the read thread may send it.
  SendFrame(zwave::RemoveStopRequest());
  const std::string plugs = folder();
  if (!plugs.empty()) DeletePlugKeys(plugs, node);
}

void SmartHomeController::OnKeyLearned(int node, int key) {
  const std::string plugs = folder();
  if (plugs.empty()) return;
  std::string error;
  if (!EnsureFolder(plugs, &error) || !MarkPlugKeyLearned(plugs, node, key, &error)) DebugLog(error + "\n");
}

// --- helpers ---

void SmartHomeController::Mark(bool& flag) {
  flag = true;  // lock_ held
  cv_.notify_all();
  clock_.Notify();
}

void SmartHomeController::Post(int message, std::intptr_t a, std::intptr_t b) {
  if (events_ != nullptr) events_->Post(message, a, b);
}

bool SmartHomeController::connected() const {
  return store_.connected() == 1;
}

void SmartHomeController::SendFrame(const std::vector<std::uint8_t>& frame) {
  sender_.SendUnpaced(zwave::MakeFrameReport(frame));
}

void SmartHomeController::WriteMemory(int address, std::span<const std::uint8_t> data) {
  sender_.SendPaced(zwave::MakeMemoryWrite(address, data));
}

bool SmartHomeController::WaitUntil(const std::function<bool()>& ready, int timeoutMs) {
  std::unique_lock lk(lock_);
  const bool done = clock_.WaitFor(cv_, lk, timeoutMs, [&] { return stopping_ || ready(); });
  return done && !stopping_;
}

bool SmartHomeController::Pause(int ms) {
  std::unique_lock lk(lock_);
  clock_.WaitFor(cv_, lk, ms, [&] { return stopping_; });
  return !stopping_;
}

std::string SmartHomeController::folder() const {
  std::lock_guard guard(lock_);
  return plugFolder_;
}

// --- state ---

bool SmartHomeController::present(int node) const {
  std::lock_guard guard(lock_);
  return ValidNode(node) && presence_[static_cast<std::size_t>(node)] != 0;
}
int SmartHomeController::value(int node) const {
  std::lock_guard guard(lock_);
  return ValidNode(node) ? values_[static_cast<std::size_t>(node)] : 0;
}
std::vector<int> SmartHomeController::presentPlugs() const {
  std::lock_guard guard(lock_);
  std::vector<int> nodes;
  for (int n = kFirstPlugNode; n <= kLastPlugNode; ++n) {
    if (presence_[static_cast<std::size_t>(n)] != 0) nodes.push_back(n);
  }
  return nodes;
}
bool SmartHomeController::initDataReceived() const {
  std::lock_guard guard(lock_);
  return initDataReceived_;
}
bool SmartHomeController::nodeReplied() const {
  std::lock_guard guard(lock_);
  return nodeReplied_;
}
bool SmartHomeController::sendDone() const {
  std::lock_guard guard(lock_);
  return sendDone_;
}
bool SmartHomeController::smartTableRead() const {
  std::lock_guard guard(lock_);
  return smartTableRead_;
}
void SmartHomeController::ClearSmartTableRead() {
  std::lock_guard guard(lock_);
  smartTableRead_ = false;
}
PlugRecord SmartHomeController::pendingPlug() const {
  std::lock_guard guard(lock_);
  return pendingPlug_;
}
std::optional<ReadAllResult> SmartHomeController::lastReadAll() const {
  std::lock_guard guard(lock_);
  return lastReadAll_;
}
void SmartHomeController::SetPlugFolder(std::string folder) {
  std::lock_guard guard(lock_);
  plugFolder_ = std::move(folder);
}

// --- the worker ---

bool SmartHomeController::Queue(std::function<void()> job) {
  {
    std::lock_guard guard(lock_);
    if (stopping_) return false;
    jobs_.push_back(std::move(job));
  }
  cv_.notify_all();
  clock_.Notify();
  return true;
}

void SmartHomeController::WorkerMain() {
  std::unique_lock lk(lock_);
  for (;;) {
    cv_.wait(lk, [&] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lk.unlock();
    job();
    lk.lock();
    busy_ = false;
    cv_.notify_all();
  }
}

void SmartHomeController::WaitIdle() {
  std::unique_lock lk(lock_);
  cv_.wait(lk, [&] { return stopping_ || (jobs_.empty() && !busy_); });
}

}  // namespace vireo::smarthome
