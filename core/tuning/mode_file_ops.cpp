// Mode files to and from the machine: the file side of the mode-slot commands.
#include "tuning/mode_file_ops.h"

#include "device/connection.h"
#include "device/debug_log.h"
#include "tuning/mode_slots.h"

namespace vireo::tuning {
namespace {
ModeFileResult Unavailable(int version) {
  return {false, "the machine is not connected or busy", version, 0, ModeFileProblem::machineUnavailable, {}};
}
}  // namespace

ModeFileResult LoadModeFileIntoMachine(MachineConnection& connection, const std::string& path) {
  // The store mirrors the machine: a file that cannot go to the machine now must not replace it, and a
  // running transfer is still filling or emptying it.
  if (!connection.connected() || connection.transferRunning()) {
    connection.setPendingSlot(-1);
    return Unavailable(0);
  }
  const ModeFileResult loaded = ReadModeFile(connection.store(), path);
  // A slot stays pending only for a file that goes to the machine; otherwise a later, unrelated
  // synchronisation would store into it.
  if (!loaded.ok) {
    connection.setPendingSlot(-1);
    return loaded;
  }
  connection.setPendingSlot(ModeSlotOfFileName(path));
  DebugLog("Start thread:SynchronizeData\n");
  if (!connection.StartWriteAll()) {
    connection.setPendingSlot(-1);
    return Unavailable(loaded.version);
  }
  return loaded;
}

ModeFileResult SaveMachineModeFile(MachineConnection& connection, const std::string& path) {
  StoreCurrentModeBeforeSave(connection);
  return WriteModeFile(connection.store(), path);
}

}  // namespace vireo::tuning
