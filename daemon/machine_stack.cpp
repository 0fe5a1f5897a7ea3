// One machine's part of vireod: connection, edit path, smart home, host and MQTT bridge.
#include "machine_stack.h"

#include <filesystem>

#include "model/store_layout.h"
#include "model/utf8_text.h"

namespace vireo::daemon {
namespace {

constexpr auto kReconnectEvery = std::chrono::seconds(2);

}  // namespace

void LineQueue::Push(std::string line) {
  std::lock_guard guard(lock_);
  lines_.push_back(std::move(line));
}

void LineQueue::WriteTo(std::ostream& log) {
  std::vector<std::string> lines;
  {
    std::lock_guard guard(lock_);
    lines.swap(lines_);
  }
  for (const std::string& line : lines) log << "vireod: " << line << std::endl;
}

std::string NumberedTraceFile(const std::string& path, int number) {
  if (number <= 1) return path;
  std::filesystem::path file(path);
  const std::string extension = file.extension().string();
  file.replace_filename(file.stem().string() + "-" + std::to_string(number) + extension);
  return file.string();
}

MachineStack::DefaultStore::DefaultStore() {
  ResetStoreDefaults(store);
}

MachineStack::MachineStack(int number, std::unique_ptr<HidBackend> backend, Clock& clock)
    : number_(number),
      backend_(std::move(backend)),
      connection_(defaults_.store, *backend_, clock, events_),
      sender_(connection_.sender(), clock),
      edits_(defaults_.store, sender_, clock),
      home_(defaults_.store, connection_.sender(), clock, nullptr),
      host_(connection_, edits_, &home_),
      bridge_(host_),
      nextTry_(std::chrono::steady_clock::now()) {
  home_.Attach(connection_);
  events_.Attach(&host_);
  // Said once the machine's state is ours: commands before that would be overwritten by the read.
  host_.SetAfterReadAll([this] {
    lines_.Push("machine " + std::to_string(number_) + " read: " + Utf8(connection_.store().modelName()));
    home_.StartReadAll();
  });
}

MachineStack::~MachineStack() {
  bridge_.Stop();
  events_.Attach(nullptr);
  host_.Close();
  home_.Detach();
  sender_.Shutdown();
  connection_.ExitSequence();
}

bool MachineStack::OpenTrace(const std::string& path, std::string* problem) {
  if (!trace_.Open(path, problem)) return false;
  connection_.SetTraceHook([this](TraceDirection d, std::span<const std::uint8_t> r) { trace_.Write(d, r); });
  return true;
}

bool MachineStack::StartMqtt(remote::MqttOptions options, std::string* problem) {
  options.machineNumber = number_;
  bridge_.SetLog([this](std::string line) { lines_.Push(std::move(line)); });
  mqttOn_ = bridge_.Start(options, problem);
  return mqttOn_;
}

void MachineStack::StopMqtt(std::ostream& log) {
  bridge_.Stop();
  lines_.WriteTo(log);
}

void MachineStack::Tick(std::ostream& log) {
  const bool connected = connection_.connected();
  if (connected != wasConnected_) {
    log << "vireod: machine " << number_ << (connected ? " connected" : " not connected") << std::endl;
    wasConnected_ = connected;
  }
  lines_.WriteTo(log);
  // The bridge's state as it changes; the broker's address is shown without its password.
  if (mqttOn_) {
    if (const remote::MqttStatus now = bridge_.status(); now != mqttStatus_) {
      mqttStatus_ = now;
      log << "vireod: MQTT " << remote::MqttStatusText(now) << std::endl;
    }
  }
  const auto now = std::chrono::steady_clock::now();
  if (!connected && now >= nextTry_) {
    nextTry_ = now + kReconnectEvery;
    host_.Post([this] {
      if (!connection_.connected() && connection_.ConnectMachine()) connection_.StartReadAll();
    });
  }
}

}  // namespace vireo::daemon
