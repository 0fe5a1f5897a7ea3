// Finding the machines to serve and giving each its stack.
#include "machine_roster.h"

#include <algorithm>

#include "device/hidraw_backend.h"

namespace vireo::daemon {
namespace {

constexpr auto kLookEvery = std::chrono::seconds(2);

}  // namespace

MachineRoster::MachineRoster(const DaemonOptions& options, Clock& clock, std::ostream& log)
    : options_(options), clock_(clock), log_(log), nextLook_(std::chrono::steady_clock::now() + kLookEvery) {}

MachineRoster::~MachineRoster() {
  StopMqtt();
  // The last found goes first, the first (the server's) last.
  while (!machines_.empty()) machines_.pop_back();
  pinned_.clear();
}

// A trace file that cannot be written stops the start; a machine plugged in later is served without one.
bool MachineRoster::Add(std::unique_ptr<HidBackend> backend, std::string* problem) {
  const int number = static_cast<int>(machines_.size()) + 1;
  auto stack = std::make_unique<MachineStack>(number, std::move(backend), clock_);
  if (options_.device.traceFile &&
      !stack->OpenTrace(NumberedTraceFile(*options_.device.traceFile, number), problem)) {
    if (!started_) return false;
    log_ << "vireod: " << *problem << std::endl;
  }
  if (mqttOn_ && !stack->StartMqtt(options_.mqtt, problem)) return false;
  machines_.push_back(std::move(stack));
  return true;
}

bool MachineRoster::Start(std::string* problem) {
  if (cli::EmulatorAsked(options_.device)) {
    for (int i = 0; i < options_.emulators; ++i) {
      std::unique_ptr<HidBackend> emulator = cli::MakeBackend(options_.device, clock_, problem);
      if (!emulator || !Add(std::move(emulator), problem)) return false;
    }
    started_ = true;
    return true;
  }
  hidraw_ = std::make_unique<HidrawBackend>();
  views_ = std::make_unique<MachineViews>(
      *hidraw_, [](const HidDeviceInfo& info) { return HidrawMachineKey(info.path); });
  std::vector<std::string> present = views_->PresentMachines();
  if (present.empty()) present.emplace_back();  // pinned when a machine arrives
  if (present.size() > static_cast<std::size_t>(kMaxMachines)) present.resize(kMaxMachines);
  for (const std::string& key : present) {
    std::unique_ptr<MachineView> view = views_->View(key);
    MachineView* raw = view.get();
    if (!Add(std::move(view), problem)) return false;
    pinned_.push_back(raw);
    if (!key.empty()) log_ << "vireod: machine " << machines_.size() << " is the one at " << key << std::endl;
  }
  started_ = true;
  return true;
}

bool MachineRoster::StartMqtt(std::string* problem) {
  for (const auto& stack : machines_)
    if (!stack->StartMqtt(options_.mqtt, problem)) return false;
  mqttOn_ = true;
  return true;
}

void MachineRoster::StopMqtt() {
  for (const auto& stack : machines_) stack->StopMqtt(log_);
}

void MachineRoster::Tick() {
  for (const auto& stack : machines_) stack->Tick(log_);
  if (!views_ || std::chrono::steady_clock::now() < nextLook_) return;
  nextLook_ = std::chrono::steady_clock::now() + kLookEvery;
  LookForMachines();
}

// A machine that was here before keeps its stack (and its number and id) whatever its node is now; a
// new one takes the stack that waits for a machine, or a new stack with the next number.
void MachineRoster::LookForMachines() {
  for (const std::string& key : views_->PresentMachines()) {
    const auto known = [&key](const MachineView* v) { return v->key() == key; };
    if (std::any_of(pinned_.begin(), pinned_.end(), known)) continue;
    const auto waiting =
        std::find_if(pinned_.begin(), pinned_.end(), [](const MachineView* v) { return v->key().empty(); });
    const std::size_t number = static_cast<std::size_t>(waiting - pinned_.begin()) + 1;
    if (waiting != pinned_.end()) {
      (*waiting)->Pin(key);
    } else if (machines_.size() >= static_cast<std::size_t>(kMaxMachines)) {
      if (!fullLogged_)
        log_ << "vireod: more than " << kMaxMachines << " machines; the others are left alone" << std::endl;
      fullLogged_ = true;
      continue;
    } else {
      std::unique_ptr<MachineView> view = views_->View(key);
      MachineView* raw = view.get();
      std::string problem;
      if (!Add(std::move(view), &problem)) {
        log_ << "vireod: " << problem << std::endl;
        continue;
      }
      pinned_.push_back(raw);
    }
    log_ << "vireod: machine " << number << " is the one at " << key << std::endl;
  }
}

}  // namespace vireo::daemon
