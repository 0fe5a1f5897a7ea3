// The emulated Z-Wave controller: node list, Basic Get / Set with their reports, add, remove, reset,
// infrared learning and emission, and the smart-home memory.
#include "emulator/zwave_controller.h"

#include <algorithm>
#include <string_view>

namespace vireo::emulator {
namespace {

// Deliberately its own framing, so the host's codec is checked against an independent one.
constexpr std::uint8_t kSof = 0x01;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRequest = 0x00;
constexpr std::uint8_t kResponse = 0x01;
constexpr int kFirstPlug = 2;
constexpr int kLastPlug = 232;
constexpr int kRecordBytes = 28;
constexpr int kSceneBase = 6524;
constexpr int kReportDelayMs = 30;
constexpr int kIrProgressDelayMs = 300;

namespace status {
constexpr std::uint8_t ready = 1;
constexpr std::uint8_t joined = 5;
constexpr std::uint8_t left = 6;
constexpr std::uint8_t failed = 7;
}  // namespace status

namespace ir {
constexpr std::uint8_t waitingForKey = 2;
constexpr std::uint8_t learned = 3;
constexpr std::uint8_t emitted = 6;
constexpr std::uint8_t emitFailed = 7;
}  // namespace ir

Report AckReport() {
  return MakeCommand(code::zwaveFrame, {1, kAck});
}

}  // namespace

ZWaveController::ZWaveController() {
  nodes_[1] = Node{};
  nodes_[2] = Node{PlugKind::switchPlug, 0, {}};
  nodes_[3] = Node{PlugKind::knobPlug, 40, {}};
  Node infrared{PlugKind::infrared, 0, {}};
  infrared.learnedKeys.set(0).set(1).set(2);
  nodes_[4] = infrared;
  PutRecord(2, 1, u"Lamp");
  PutRecord(3, 2, u"Dimmer");
  PutRecord(4, 1, u"IR Plug");
  const std::vector<std::vector<std::uint8_t>> scenes = {
      {2, 0, 4, 128, 254, 0},                  // TV: lamp off, TV power key, HDMI1
      {2, 0, 3, 20},                           // Movie
      {2, 99, 3, 80},                          // Karaoke
      {3, 50},                                 // Music
      {2, 99, 3, 60, 240, 1, 4, 128, 254, 1},  // PowerON
      {4, 129, 3, 0, 2, 0},                    // PowerOFF
  };
  for (std::size_t s = 0; s < scenes.size(); ++s) {
    std::copy(scenes[s].begin(), scenes[s].end(), memory_.begin() + kSceneBase + 56 * static_cast<int>(s));
  }
}

void ZWaveController::PutRecord(int node, std::uint8_t type, std::u16string_view name) {
  const auto at = static_cast<std::size_t>(node * kRecordBytes);
  memory_[at] = type;
  for (std::size_t i = 0; i < name.size() && i < 12; ++i) {
    memory_[at + 4 + 2 * i] = static_cast<std::uint8_t>(name[i]);
    memory_[at + 5 + 2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
  }
}

int ZWaveController::value(int node) const {
  const auto it = nodes_.find(node);
  return it == nodes_.end() ? -1 : it->second.value;
}

ZWaveReply ZWaveController::Frame(std::uint8_t type, std::uint8_t function, std::vector<std::uint8_t> params,
                                  int delayMs, bool addRemoveMode) const {
  std::vector<std::uint8_t> f = {kSof, static_cast<std::uint8_t>(params.size() + 3), type, function};
  f.insert(f.end(), params.begin(), params.end());
  std::uint8_t sum = 0xFF;
  for (std::size_t i = 1; i < f.size(); ++i) sum ^= f[i];
  f.push_back(sum);
  Report r = MakeCommand(code::zwaveFrame, {static_cast<std::uint8_t>(f.size())});
  std::copy_n(f.begin(), std::min<std::size_t>(f.size(), kReportBytes - 3), r.begin() + 3);
  return {r, delayMs, addRemoveMode};
}

ZWaveReply ZWaveController::NodeReport(int node, std::uint8_t value, int delayMs) const {
  // Application command: status, source node, three command bytes (Basic Report of `value`).
  return Frame(kRequest, 0x04, {0, static_cast<std::uint8_t>(node), 3, 0x20, 0x03, value}, delayMs);
}

std::vector<ZWaveReply> ZWaveController::OnFrameReport(const Report& request,
                                                       const EmulatorOptions& options) {
  std::vector<ZWaveReply> out;
  const std::size_t length = std::min<std::size_t>(request[2], kReportBytes - 3);
  if (length < 5 || request[3] != kSof) return out;  // an acknowledgement of the host, or noise
  const std::size_t len = request[4];
  if (len < 3 || len + 2 > length) return out;
  std::uint8_t sum = 0xFF;
  for (std::size_t i = 0; i < len; ++i) sum ^= request[4 + i];
  if (sum != request[4 + len]) {
    out.push_back({MakeCommand(code::zwaveFrame, {1, 0x15}), 0, false});  // NAK
    return out;
  }
  out.push_back({AckReport(), 0, false});
  const std::uint8_t function = request[6];
  const std::vector<std::uint8_t> p(request.begin() + 7,
                                    request.begin() + 7 + static_cast<std::ptrdiff_t>(len - 3));

  switch (function) {
    case 0x02: {
      if (options.zwaveNoNodeList) break;
      std::vector<std::uint8_t> params = {5, 0x08, 29};
      std::array<std::uint8_t, 29> mask{};
      for (const auto& [id, node] : nodes_)
        mask[static_cast<std::size_t>((id - 1) / 8)] |= 1 << ((id - 1) % 8);
      params.insert(params.end(), mask.begin(), mask.end());
      out.push_back(Frame(kResponse, 0x02, params));
      break;
    }
    case 0x13:
      SendData(p, options, out);
      break;
    case 0x42: {
      nodes_.clear();
      nodes_[1] = Node{};
      memory_.fill(0);
      out.push_back(Frame(kRequest, 0x42, {p.empty() ? std::uint8_t{0} : p[0]}, kReportDelayMs));
      break;
    }
    case 0x4A:
      if (p.empty() || p[0] != 0x01) break;  // stop: the caller takes back what was queued
      out.push_back(Frame(kRequest, 0x4A, {1, status::ready, 0}, 0, true));
      if (options.zwaveAddFails) {
        out.push_back(Frame(kRequest, 0x4A, {1, status::failed, 0}, options.zwaveJoinDelayMs, true));
      } else {
        int id = kFirstPlug;
        while (id <= kLastPlug && nodes_.count(id) != 0) ++id;
        if (id > kLastPlug) {
          out.push_back(Frame(kRequest, 0x4A, {1, status::failed, 0}, options.zwaveJoinDelayMs, true));
          break;
        }
        nodes_[id] = Node{};
        joinedNode_ = id;
        removed_ = std::pair<int, Node>{0, Node{}};
        out.push_back(Frame(kRequest, 0x4A, {1, status::joined, static_cast<std::uint8_t>(id)},
                            options.zwaveJoinDelayMs, true));
      }
      break;
    case 0x4B: {
      if (p.empty() || p[0] != 0x01) break;
      out.push_back(Frame(kRequest, 0x4B, {1, status::ready, 0}, 0, true));
      // The plug whose button is held: the newest one.
      const auto last =
          std::find_if(nodes_.rbegin(), nodes_.rend(), [](const auto& n) { return n.first >= kFirstPlug; });
      if (options.zwaveRemoveFails || last == nodes_.rend()) {
        out.push_back(Frame(kRequest, 0x4B, {1, status::failed, 0}, options.zwaveJoinDelayMs, true));
        break;
      }
      const int id = last->first;
      joinedNode_ = 0;
      removed_ = {id, last->second};
      nodes_.erase(id);
      out.push_back(Frame(kRequest, 0x4B, {1, status::left, static_cast<std::uint8_t>(id)},
                          options.zwaveJoinDelayMs, true));
      break;
    }
    default:
      break;
  }
  return out;
}

void ZWaveController::SendData(const std::vector<std::uint8_t>& p, const EmulatorOptions& options,
                               std::vector<ZWaveReply>& out) {
  // node, command length, command class, command, [value], options, callback
  if (p.size() < 4 || p[2] != 0x20) return;
  const int id = p[0];
  const std::uint8_t callback = p.back();
  const auto it = nodes_.find(id);
  if (it == nodes_.end() || id < kFirstPlug) {
    out.push_back(Frame(kRequest, 0x13, {callback, 1}, kReportDelayMs));  // no acknowledgement
    return;
  }
  Node& node = it->second;
  const bool silent = id == options.zwaveSilentNode;
  if (p[3] == 0x02) {  // Basic Get
    out.push_back(Frame(kRequest, 0x13, {callback, 0}, kReportDelayMs));
    if (!silent) out.push_back(NodeReport(id, node.value, 2 * kReportDelayMs));
    return;
  }
  if (p[3] != 0x01 || p.size() < 7) return;  // Basic Set
  const std::uint8_t value = p[4];
  out.push_back(Frame(kRequest, 0x13, {callback, 0}, kReportDelayMs));
  if (node.kind == PlugKind::infrared && value >= 192 && value <= 254) {
    const std::size_t key = value - 192u;
    out.push_back(NodeReport(id, ir::waitingForKey, kIrProgressDelayMs));
    node.learnedKeys.set(key);
    node.value = ir::learned;
    out.push_back(NodeReport(id, ir::learned, kIrProgressDelayMs + options.zwaveIrLearnDelayMs));
    return;
  }
  if (node.kind == PlugKind::infrared && value >= 128 && value <= 190) {
    const bool learned = node.learnedKeys.test(value - 128u);
    node.value = learned ? ir::emitted : ir::emitFailed;
    out.push_back(NodeReport(id, node.value, kIrProgressDelayMs));
    return;
  }
  if (value < 128 || value == 255) node.value = value;
}

void ZWaveController::TakeBack() {
  if (joinedNode_ != 0) nodes_.erase(joinedNode_);
  if (removed_.first != 0) nodes_[removed_.first] = removed_.second;
  joinedNode_ = 0;
  removed_ = std::pair<int, Node>{0, Node{}};
}

void ZWaveController::WriteMemory(const Report& r) {
  const int address = (r[2] << 8) | r[3];
  const int length = std::min<int>(r[4], kMaxBlockChunk);
  for (int i = 0; i < length && address + i < kSmartHomeMemoryBytes; ++i) {
    memory_[static_cast<std::size_t>(address + i)] = r[static_cast<std::size_t>(5 + i)];
  }
}

Report ZWaveController::ReadMemory(const Report& r) const {
  const int address = (r[2] << 8) | r[3];
  const int length = std::min<int>(r[4], kMaxBlockChunk);
  Report reply = MakeCommand(code::smartHomeRead, {r[2], r[3], static_cast<std::uint8_t>(length)});
  for (int i = 0; i < length && address + i < kSmartHomeMemoryBytes; ++i) {
    reply[static_cast<std::size_t>(5 + i)] = memory_[static_cast<std::size_t>(address + i)];
  }
  return reply;
}

std::vector<std::uint8_t> ZWaveController::Memory(int address, int length) const {
  std::vector<std::uint8_t> out;
  for (int at = std::max(0, address); at < address + length && at < kSmartHomeMemoryBytes; ++at) {
    out.push_back(memory_[static_cast<std::size_t>(at)]);
  }
  return out;
}

}  // namespace vireo::emulator
