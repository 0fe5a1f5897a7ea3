// The machine's four mode slots: load, store, restore factory, and the store step of saving a mode file.
#pragma once

namespace vireo {
class MachineConnection;
}

namespace vireo::tuning {

inline constexpr int kStoreSlotWaitMs = 500;

// Every slot index goes to the machine clamped to 0..3.
int ClampModeSlot(int slot);

// The confirmations ("参数已更改..." when writeAck is 1, "确定要保存至...") and the notices stay in the
// front end; these run the action once the user agreed. Each returns false (and does nothing) when
// the machine is not connected; load, store and restore also while a transfer is running.

// currentMode := s; code 5 with s; then the read-all (event 1002 follows).
bool LoadModeSlot(MachineConnection& connection, int slot);
// writeAck := 0; currentMode := s; code 4 with s; sleep 500 ms. The front end then shows its 2500 ms
// "正在储存..." / "Saving ..." notice.
bool StoreModeSlot(MachineConnection& connection, int slot);
// currentMode := s; code 6 with s; then the read-all.
bool RestoreFactorySlot(MachineConnection& connection, int slot);
// Saving a mode file: writeAck := 0; currentMode := itself clamped; code 4 with it. The caller then
// writes the file.
bool StoreCurrentModeBeforeSave(MachineConnection& connection);

}  // namespace vireo::tuning
