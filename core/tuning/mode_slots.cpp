// The mode-slot commands of the main window and the slot store that precedes saving a mode file.
#include "tuning/mode_slots.h"

#include <algorithm>
#include <cstdint>

#include "device/connection.h"
#include "device/debug_log.h"
#include "device/protocol.h"

namespace vireo::tuning {
namespace {
std::uint8_t SlotByte(int slot) {
  return static_cast<std::uint8_t>(ClampModeSlot(slot));
}

// A slot command in the middle of a transfer would recall or store a half-moved working set, and the
// read-all it asks for could not start anyway.
bool CanCommand(const MachineConnection& connection) {
  return connection.connected() && !connection.transferRunning();
}
}  // namespace

int ClampModeSlot(int slot) {
  return std::clamp(slot, 0, 3);
}

bool LoadModeSlot(MachineConnection& connection, int slot) {
  if (!CanCommand(connection)) return false;
  const std::uint8_t s = SlotByte(slot);
  connection.store().setCurrentMode(s);
  SendCommand(connection.sender(), code::recallMode, {s});
  DebugLog("Start thread:SynchronizeData\n");
  return connection.StartReadAll();
}

bool StoreModeSlot(MachineConnection& connection, int slot) {
  if (!CanCommand(connection)) return false;
  const std::uint8_t s = SlotByte(slot);
  connection.store().setWriteAck(0);
  connection.store().setCurrentMode(s);
  SendCommand(connection.sender(), code::storeMode, {s});
  connection.clock().SleepMs(kStoreSlotWaitMs);
  return true;
}

bool RestoreFactorySlot(MachineConnection& connection, int slot) {
  if (!CanCommand(connection)) return false;
  const std::uint8_t s = SlotByte(slot);
  connection.store().setCurrentMode(s);
  SendCommand(connection.sender(), code::restoreMode, {s});
  return connection.StartReadAll();
}

bool StoreCurrentModeBeforeSave(MachineConnection& connection) {
  if (!connection.connected()) return false;
  ParameterStore& store = connection.store();
  store.setWriteAck(0);
  const std::uint8_t s = SlotByte(store.currentMode());
  store.setCurrentMode(s);
  SendCommand(connection.sender(), code::storeMode, {s});
  return true;
}

}  // namespace vireo::tuning
