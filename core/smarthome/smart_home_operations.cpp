// The smart-home operations: read-all with bounded waits, controller reset, add, remove, set, scenes.
#include <cstdio>

#include "device/debug_log.h"
#include "device/protocol.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_controller.h"
#include "smarthome/zwave_frame.h"

namespace vireo::smarthome {
namespace {

constexpr int kReadStartPauseMs = 30;
constexpr int kReadValuesPauseMs = 50;
constexpr int kReadEndPauseMs = 100;
constexpr int kHdmiPorts = 4;

}  // namespace

bool SmartHomeController::StartReadAll() {
  if (!connected()) return false;
  return Queue([this] {
    ReadAllNow();
    Post(event::smartHomeRefresh, kRefreshDone, 0);
  });
}

bool SmartHomeController::StartReset() {
  if (!connected()) return false;
  return Queue([this] {
    ResetNow();
    Post(event::smartHomeRefresh, kRefreshDone, 0);
  });
}

bool SmartHomeController::RunScene(int index) {
  if (!connected() || index < 0 || index >= kSceneCount) return false;
  return Queue([this, index] { RunSceneNow(index); });
}

bool SmartHomeController::StartAdd(const PlugRecord& record) {
  if (!connected()) return false;
  {
    std::lock_guard guard(lock_);
    pendingPlug_ = record;
  }
  return Queue([this] { SendFrame(zwave::AddNodeRequest()); });
}

bool SmartHomeController::StartRemove() {
  if (!connected()) return false;
  return Queue([this] { SendFrame(zwave::RemoveNodeRequest()); });
}

bool SmartHomeController::Abort(std::uint8_t function) {
  if (!connected()) return false;
  // At once, not behind queued work: the user wants the mode to end now.
  SendFrame(zwave::AbortRequest(function));
  return true;
}

bool SmartHomeController::StopSet() {
  if (!connected()) return false;
  const std::uint8_t stop[] = {zwave::fn::sendData};
  sender_.SendUnpaced(zwave::MakeFrameReport(stop));
  return true;
}

bool SmartHomeController::SetValue(int node, int value) {
  if (!connected()) return false;
  return Queue([this, node, value] { SetValueNow(node, value); });
}

bool SmartHomeController::WritePlug(int node, const PlugRecord& record) {
  if (!connected() || node < 0 || node >= kNodeCount) return false;
  memory_.setPlug(node, record);
  return Queue([this, node] { WriteMemory(PlugAddress(node), EncodePlugRecord(memory_.plug(node))); });
}

bool SmartHomeController::SaveScene(int index, std::span<const SceneStep> steps) {
  if (!connected() || index < 0 || index >= kSceneCount) return false;
  memory_.setScene(index, steps);
  return Queue([this, index] { WriteMemory(SceneAddress(index), memory_.sceneBytes(index)); });
}

ReadAllResult SmartHomeController::ReadAllNow() {
  ReadAllResult result;
  {
    std::lock_guard guard(lock_);
    initDataReceived_ = false;
  }
  SendFrame(zwave::NodeListRequest());
  result.nodeListArrived = WaitUntil([this] { return initDataReceived_; }, kNodeListWaitMs);
  if (result.nodeListArrived) {
    DebugLog("ZWAVE_ReadAll\n");
    Pause(kReadStartPauseMs);
    const std::vector<int> plugs = presentPlugs();
    for (int node : plugs) sender_.SendPaced(zwave::MakeMemoryRead(PlugAddress(node), kPlugRecordBytes));
    Pause(kReadValuesPauseMs);
    for (int node : plugs) {
      {
        std::lock_guard guard(lock_);
        nodeReplied_ = false;
      }
      SendFrame(zwave::BasicGetRequest(static_cast<std::uint8_t>(node)));
      // A node that acknowledges but never reports must not hold the read up for ever.
      if (!WaitUntil([this] { return nodeReplied_; }, kNodeReplyTimeoutMs)) {
        {
          std::lock_guard guard(lock_);
          if (stopping_) break;
        }
        char line[64];
        std::snprintf(line, sizeof line, "zwave: node %d did not report its value, skipped\n", node);
        DebugLog(line);
        result.silentNodes.push_back(node);
      }
    }
    for (int s = 0; s < kSceneCount; ++s)
      sender_.SendPaced(zwave::MakeMemoryRead(SceneAddress(s), kSceneBytes));
    {
      std::lock_guard guard(lock_);
      smartTableRead_ = true;
    }
    Pause(kReadEndPauseMs);
  }
  std::lock_guard guard(lock_);
  lastReadAll_ = result;
  return result;
}

PlugFolderBackup SmartHomeController::ResetNow() {
  {
    std::lock_guard guard(lock_);
    sendDone_ = false;
  }
  SendFrame(zwave::ResetRequest());
  WaitUntil([this] { return sendDone_; }, kSendDoneTimeoutMs);
  memory_.ClearScenes();
  for (int s = 0; s < kSceneCount; ++s) WriteMemory(SceneAddress(s), memory_.sceneBytes(s));
  ReadAllNow();
  Pause(kReadEndPauseMs);
  // The key files belong to plugs the reset takes out of the network; the names the user gave them are
  // kept in a backup folder, not deleted.
  const std::string plugs = folder();
  if (plugs.empty()) return {};
  PlugFolderBackup backup = BackUpAndClearPlugFolder(plugs);
  if (!backup.folder.empty()) DebugLog("key files kept in " + backup.folder + "\n");
  if (backup.left > 0)
    DebugLog(std::to_string(backup.left) + " entries of " + plugs + " could not be kept\n");
  return backup;
}

void SmartHomeController::SelectHdmi(int port) {
  store_.SetInt(slot::hdmiPort, std::clamp(port, 0, kHdmiPorts - 1));
  if (const SlotField* field = FindSlotFieldBySlot(slot::hdmiPort, nullptr))
    SendField(sender_, store_, *field);
}

bool SmartHomeController::SetValueNow(int node, int value) {
  if (node == kHdmiNode) {
    SelectHdmi(value);
    return false;
  }
  if (node == kWaitNode) {
    Pause(value * 1000);
    return false;
  }
  if (!present(node)) {
    DebugLog("此ID不存在，跳过设置命令");
    return false;
  }
  {
    std::lock_guard guard(lock_);
    values_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(value);
    sendDone_ = false;
    if (value >= kLearnKeyBase && value < kLearnKeyBase + kPlugKeyCount) {
      learningNode_ = node;
      learningKey_ = value - kLearnKeyBase;
    }
  }
  SendFrame(zwave::BasicSetRequest(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(value)));
  return true;
}

void SmartHomeController::RunSceneNow(int index) {
  Post(event::smartHomeRefresh, kSceneRun, 0);
  for (const SceneStep& step : memory_.scene(index)) {
    {
      std::lock_guard guard(lock_);
      if (stopping_) break;
    }
    const bool plug = step.node != kHdmiNode && step.node != kWaitNode;
    if (plug && !present(step.node)) {
      DebugLog("此ID不存在，跳过设置命令");
      continue;
    }
    if (SetValueNow(step.node, step.value)) WaitUntil([this] { return sendDone_; }, kSendDoneTimeoutMs);
    Pause(kStepPauseMs);
  }
  Post(event::smartHomeRefresh, kSceneRun, 1);
}

}  // namespace vireo::smarthome
