// What a controller event (3024) means for the operation the wait dialog is waiting for: its text and
// whether the operation has ended, so the window only shows it.
#pragma once

#include <cstdint>
#include <string>

namespace vireo::smarthome {

// `emitKey`, not `emit`: Qt defines `emit` as an empty macro.
enum class WaitKind { add, remove, set, learn, emitKey };

struct WaitProgress {
  bool relevant = false;  // the event concerns this operation
  bool finished = false;  // the operation has ended (the dialog closes 1000 ms later)
  bool success = false;
  std::string text;  // UTF-8; empty when the dialog keeps its text
};

// `node` is the plug a set, learn or emit addressed (unused for add and remove); `a`, `b` are the
// event's code and data; language 0 Chinese, 1 English.
WaitProgress InterpretWaitEvent(WaitKind kind, int node, std::intptr_t a, std::intptr_t b, int languageIndex);

}  // namespace vireo::smarthome
