// Loading a mode file into the machine (with its slot) and saving the machine's mode to a file.
#pragma once

#include <string>

#include "model/mode_file.h"

namespace vireo {
class MachineConnection;
}

namespace vireo::tuning {

// The core of the ribbon's "load mode file" once a file was chosen: pendingSlot := the slot the file's
// name gives (m1..m4, else -1), read the file into the store, then start the write-all (event 1002
// follows; OnSyncDone stores the slot). A file that cannot be loaded, or a machine that is not connected
// or still busy with a transfer, changes nothing, starts nothing and leaves no slot pending. The front end
// shows the popups and adds the path to the recent files.
ModeFileResult LoadModeFileIntoMachine(MachineConnection& connection, const std::string& path);

// The core of "save mode file" once a file was chosen: writeAck := 0, store the working set into the
// current slot (code 4), then write the file.
ModeFileResult SaveMachineModeFile(MachineConnection& connection, const std::string& path);

}  // namespace vireo::tuning
