// The smart-home controller attached to a connection to the emulated machine, in virtual time.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "../sync/machine_rig.h"
#include "smarthome/smart_home_controller.h"

namespace vireo::test {

struct SmartRig {
  explicit SmartRig(emulator::EmulatorOptions options = {})
      : machine(std::move(options)),
        controller(machine.store, machine.connection.sender(), machine.clock, &machine.events) {
    controller.Attach(machine.connection);
    connected = machine.connection.ConnectMachine();
  }
  MachineRig machine;
  smarthome::SmartHomeController controller;
  bool connected = false;
};

// Polls in real time (virtual time runs on by itself while the threads wait) for at most 20 s.
inline bool Eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 20000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

inline bool HasEvent(RecordingEvents& events, int message, std::intptr_t a, std::intptr_t b) {
  for (const DeliveredEvent& e : events.events()) {
    if (e.message == message && e.a == a && e.b == b) return true;
  }
  return false;
}

// The Z-Wave function ids of the frames the machine received (requests 18 with a frame), in order.
inline std::vector<int> FrameFunctions(const std::vector<Report>& requests) {
  std::vector<int> out;
  for (const Report& r : requests) {
    if (r[1] == code::zwaveFrame && r[2] >= 5 && r[3] == 0x01) out.push_back(r[6]);
  }
  return out;
}

}  // namespace vireo::test
