// The machines vireod serves, one stack each: every emulated machine asked for, or every machine
// attached to this computer, including those plugged in while the service runs.
#pragma once

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "daemon_options.h"
#include "device/machine_views.h"
#include "machine_stack.h"

namespace vireo::daemon {

class MachineRoster {
 public:
  MachineRoster(const DaemonOptions& options, Clock& clock, std::ostream& log);
  ~MachineRoster();
  MachineRoster(const MachineRoster&) = delete;
  MachineRoster& operator=(const MachineRoster&) = delete;

  // The first stacks: each emulator, or each machine present sorted by its USB device (at least one
  // stack, which takes the first machine that arrives). False with one line when a stack cannot be made.
  bool Start(std::string* problem);
  // The bridge of every machine, and from now on of each machine found later.
  bool StartMqtt(std::string* problem);
  // Every bridge says "offline"; before the server stops.
  void StopMqtt();

  // One round of the service's loop: each machine's own round, and every 2 s a look for new machines.
  void Tick();

  MachineStack& first() { return *machines_.front(); }
  std::size_t size() const { return machines_.size(); }

 private:
  bool Add(std::unique_ptr<HidBackend> backend, std::string* problem);
  void LookForMachines();

  const DaemonOptions& options_;
  Clock& clock_;
  std::ostream& log_;
  // Real machines only; declared before the stacks, whose views point into them.
  std::unique_ptr<HidBackend> hidraw_;
  std::unique_ptr<MachineViews> views_;
  std::vector<MachineView*> pinned_;  // each stack's view, by index, while the stacks live
  std::vector<std::unique_ptr<MachineStack>> machines_;
  bool started_ = false;
  bool mqttOn_ = false;
  bool fullLogged_ = false;
  std::chrono::steady_clock::time_point nextLook_;
};

}  // namespace vireo::daemon
