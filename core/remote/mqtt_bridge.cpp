// The MQTT bridge on libmosquitto. Three threads meet here: libmosquitto's network thread (connection
// callbacks and commands), the bridge's worker (naming, polling the state, publishing) and the host's
// thread (building states, running commands). Nothing that can wait on the network runs on the host's
// thread or the caller's: connecting, with its name lookup, happens on the worker.
#include "remote/mqtt_bridge.h"

#include <mosquitto.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include "model/utf8_text.h"
#include "remote/mqtt_topics.h"
#include "remote/remote_api.h"

namespace vireo::remote {
namespace {

using namespace std::chrono_literals;

constexpr auto kPollEvery = 100ms;
constexpr int kKeepAliveSeconds = 30;
constexpr unsigned kFirstRetrySeconds = 1;
constexpr unsigned kLastRetrySeconds = 30;
// After an error that ends libmosquitto's loop for good (a TLS handshake, a protocol error) the loop is
// started again after the longest retry delay: a broker's certificate may be fixed without us.
constexpr auto kRestartAfterFatal = std::chrono::seconds(kLastRetrySeconds);
constexpr std::size_t kPayloadLimit = 4096;
constexpr std::size_t kLoggedPayload = 64;

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mosquitto_lib_init(); });
}

// The errors after which mosquitto_loop_forever returns instead of reconnecting.
bool EndsTheLoop(int rc) {
  switch (rc) {
    case MOSQ_ERR_NOMEM:
    case MOSQ_ERR_PROTOCOL:
    case MOSQ_ERR_INVAL:
    case MOSQ_ERR_NOT_FOUND:
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_PAYLOAD_SIZE:
    case MOSQ_ERR_NOT_SUPPORTED:
    case MOSQ_ERR_AUTH:
    case MOSQ_ERR_ACL_DENIED:
    case MOSQ_ERR_UNKNOWN:
    case MOSQ_ERR_EAI:
    case MOSQ_ERR_PROXY:
      return true;
    default:
      return false;
  }
}

std::string ErrorText(int rc) {
  return rc == MOSQ_ERR_ERRNO ? std::string(std::strerror(errno)) : std::string(mosquitto_strerror(rc));
}

// A payload as a log shows it: short, one line, nothing a terminal would act on.
std::string Shown(std::string_view payload) {
  std::string text;
  for (char c : payload.substr(0, kLoggedPayload))
    text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  if (payload.size() > kLoggedPayload) text += "...";
  return "'" + text + "'";
}

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

std::string MqttStatusText(const MqttStatus& s) {
  const std::string as = s.machineId.empty() ? std::string() : " as " + s.machineId;
  switch (s.state) {
    case MqttState::stopped:
      return "stopped";
    case MqttState::naming:
      return "waiting for the machine to be connected and read, to name it on " + s.broker;
    case MqttState::connecting:
      return "connecting to " + s.broker + as;
    case MqttState::connected:
      return "connected to " + s.broker + as;
    case MqttState::reconnecting:
      return "reconnecting to " + s.broker + as + (s.lastError.empty() ? std::string() : ": " + s.lastError);
  }
  return {};
}

struct MqttBridge::Core : std::enable_shared_from_this<MqttBridge::Core> {
  Core(RemoteHost& h, MqttOptions o, std::function<void()> statusChanged,
       std::function<void(std::string)> logLine)
      : host(h), options(std::move(o)), onStatusChanged(std::move(statusChanged)), log(std::move(logLine)) {}

  RemoteHost& host;
  const MqttOptions options;
  const std::function<void()> onStatusChanged;
  const std::function<void(std::string)> log;

  std::mutex lock;  // guards the members down to `status`
  std::condition_variable wake;
  bool stopping = false;
  bool connected = false;
  bool fresh = false;        // connected anew: every config and state goes out again
  bool pollNow = false;      // a command ran: compare the state without waiting
  bool pollPending = false;  // a state is being built on the host's thread
  bool loopEnded = false;    // an error ended libmosquitto's loop
  std::optional<Json> arrived;
  std::optional<std::string> model;  // the machine's model name once it is connected and read
  std::string refusal;               // why the broker refused the connection, until it is reported
  MqttStatus status;

  std::mutex callbackLock;  // held while a callback runs, so that none runs once Stop has returned
  bool callbacksOff = false;

  // The worker's, then Stop's once the worker has ended. `id` is fixed before libmosquitto's thread
  // starts, which only reads it.
  std::thread worker;
  mosquitto* client = nullptr;
  std::string id;
  MqttMessages sentConfigs;
  MqttMessages sentStates;

  void Run();
  bool Name();
  bool Open();
  bool Connect();
  void Loop();
  void Poll();
  void PublishChanges(const Json& state, bool everything);
  void Publish(const std::string& topic, const std::string& payload);
  void Shutdown();

  void OnConnect(int rc);
  void OnDisconnect(int rc);
  void OnMessage(const mosquitto_message& message);
  void RunCommand(const std::string& topic, const std::string& object, const std::string& payload);

  void SetStatus(MqttState state, std::optional<std::string> error);
  void Log(std::string line);
};

void MqttBridge::Core::Run() {
  if (Name() && Open()) Loop();
}

// Without a given id, the machine's model name is part of it: wait until the machine has been read,
// so that a room keeps one id from the first connection on.
bool MqttBridge::Core::Name() {
  if (!options.machineId.empty()) {
    id = NumberedMachineId(options.machineId, options.machineNumber);
    return true;
  }
  SetStatus(MqttState::naming, std::nullopt);
  std::unique_lock lk(lock);
  while (!stopping && !model) {
    if (!pollPending) {
      pollPending = true;
      lk.unlock();
      std::weak_ptr<Core> weak = weak_from_this();
      host.Post([weak] {
        auto self = weak.lock();
        if (!self) return;
        std::optional<std::string> name;
        if (self->host.connected() && !self->host.syncing()) name = Utf8(self->host.store().modelName());
        std::lock_guard guard(self->lock);
        self->model = name;
        self->pollPending = false;
        self->wake.notify_all();
      });
      lk.lock();
    }
    wake.wait_for(lk, kPollEvery, [this] { return stopping || model.has_value(); });
  }
  if (stopping) return false;
  id = NumberedMachineId(DeriveMachineId(*model, HostName()), options.machineNumber);
  status.machineId = id;  // under the lock, for status()
  return true;
}

bool MqttBridge::Core::Open() {
  InitLibrary();
  client = mosquitto_new(("vireo-" + id).c_str(), true, this);
  if (!client) {
    SetStatus(MqttState::reconnecting, "libmosquitto could not make a client");
    return false;
  }
  if (!options.user.empty())
    mosquitto_username_pw_set(client, options.user.c_str(),
                              options.password.empty() ? nullptr : options.password.c_str());
  if (!options.caFile.empty()) {
    mosquitto_tls_set(client, options.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
  } else if (options.tls) {
    mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
  }
  const std::string availability = AvailabilityTopic(id);
  mosquitto_will_set(client, availability.c_str(), static_cast<int>(kOffline.size()), kOffline.data(), 1,
                     true);
  mosquitto_reconnect_delay_set(client, kFirstRetrySeconds, kLastRetrySeconds, true);
  mosquitto_connect_callback_set(
      client, [](mosquitto*, void* core, int rc) { static_cast<Core*>(core)->OnConnect(rc); });
  mosquitto_disconnect_callback_set(
      client, [](mosquitto*, void* core, int rc) { static_cast<Core*>(core)->OnDisconnect(rc); });
  mosquitto_message_callback_set(client, [](mosquitto*, void* core, const mosquitto_message* message) {
    static_cast<Core*>(core)->OnMessage(*message);
  });
  SetStatus(MqttState::connecting, std::nullopt);
  return true;
}

// libmosquitto's loop retries a connection that was made and lost, but not a first connection that
// failed at once (a broker that is down refuses on the spot), and it ends for good after some errors:
// until a connection is under way, the worker retries itself, with the loop's own delays.
bool MqttBridge::Core::Connect() {
  const int rc = mosquitto_connect_async(client, options.host.c_str(), options.port, kKeepAliveSeconds);
  if (rc != MOSQ_ERR_SUCCESS) {
    SetStatus(MqttState::reconnecting, ErrorText(rc));
    return false;
  }
  mosquitto_loop_start(client);
  return true;
}

void MqttBridge::Core::Loop() {
  using Clock = std::chrono::steady_clock;
  auto connectAt = Clock::now();
  auto nextPoll = Clock::now();
  unsigned failures = 0;
  bool loopRunning = false;
  std::unique_lock lk(lock);
  while (!stopping) {
    const auto now = Clock::now();
    if (loopEnded) {
      loopEnded = false;
      lk.unlock();
      // The thread has ended, and joining it is all loop_stop does; should it still run, the
      // disconnect ends it.
      mosquitto_disconnect(client);
      mosquitto_loop_stop(client, false);
      lk.lock();
      loopRunning = false;
      connectAt = now + kRestartAfterFatal;
    }
    if (!loopRunning && now >= connectAt) {
      lk.unlock();
      loopRunning = Connect();
      lk.lock();
      const unsigned delay =
          std::min(kLastRetrySeconds, kFirstRetrySeconds * (failures + 1) * (failures + 1));
      failures = loopRunning ? 0 : failures + 1;
      connectAt = now + std::chrono::seconds(delay);
    }
    if (arrived) {
      Json state = std::move(*arrived);
      arrived.reset();
      const bool everything = fresh;
      fresh = false;
      lk.unlock();
      PublishChanges(state, everything);
      lk.lock();
    }
    if (connected && !pollPending && (pollNow || now >= nextPoll)) {
      pollPending = true;
      pollNow = false;
      nextPoll = now + kPollEvery;
      lk.unlock();
      Poll();
      lk.lock();
    }
    wake.wait_for(lk, kPollEvery, [this] {
      return stopping || arrived || loopEnded || (pollNow && connected && !pollPending);
    });
  }
}

void MqttBridge::Core::Poll() {
  std::weak_ptr<Core> weak = weak_from_this();
  host.Post([weak] {
    auto self = weak.lock();
    if (!self) return;
    Json state = BuildState(self->host);
    std::lock_guard guard(self->lock);
    self->arrived = std::move(state);
    self->pollPending = false;
    self->wake.notify_all();
  });
}

// Configs before states, so that Home Assistant knows an entity before its state arrives.
void MqttBridge::Core::PublishChanges(const Json& state, bool everything) {
  const auto publish = [&](MqttMessages& sent, MqttMessages now) {
    for (const auto& [topic, payload] : MessagesToPublish(sent, now, everything)) Publish(topic, payload);
    sent = std::move(now);
  };
  publish(sentConfigs, DiscoveryMessages(id, state));
  publish(sentStates, StateMessages(id, state));
}

// QoS 0 keeps the messages in order on the connection; one lost with the connection goes again on the
// next, which republishes everything.
void MqttBridge::Core::Publish(const std::string& topic, const std::string& payload) {
  mosquitto_publish(client, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 0,
                    true);
}

void MqttBridge::Core::OnConnect(int rc) {
  if (rc != 0) {
    std::lock_guard guard(lock);
    refusal = mosquitto_connack_string(rc);
    return;
  }
  mosquitto_subscribe(client, nullptr, CommandSubscription(id).c_str(), 1);
  Publish(AvailabilityTopic(id), std::string(kOnline));
  {
    std::lock_guard guard(lock);
    connected = true;
    fresh = true;
    pollNow = true;
  }
  wake.notify_all();
  SetStatus(MqttState::connected, std::string());
}

void MqttBridge::Core::OnDisconnect(int rc) {
  std::optional<std::string> error;
  if (rc != MOSQ_ERR_SUCCESS) error = ErrorText(rc);
  bool stopped = false;
  {
    std::lock_guard guard(lock);
    connected = false;
    if (EndsTheLoop(rc)) loopEnded = true;
    if (!refusal.empty()) error = std::move(refusal);
    refusal.clear();
    stopped = stopping;
  }
  wake.notify_all();
  if (!stopped) SetStatus(MqttState::reconnecting, error);
}

void MqttBridge::Core::OnMessage(const mosquitto_message& message) {
  const std::string topic = message.topic ? message.topic : "";
  const std::string object = CommandObject(id, topic);
  if (object.empty()) return;
  const std::size_t length = message.payloadlen > 0 ? static_cast<std::size_t>(message.payloadlen) : 0;
  if (length > kPayloadLimit) {
    Log("MQTT: refused a payload of " + std::to_string(length) + " bytes on " + topic);
    return;
  }
  std::string payload(static_cast<const char*>(message.payload), length);
  std::weak_ptr<Core> weak = weak_from_this();
  host.Post([weak, topic, object, payload = std::move(payload)] {
    if (auto self = weak.lock()) self->RunCommand(topic, object, payload);
  });
}

// On the host's thread: the same validation and edit path as a WebSocket command.
void MqttBridge::Core::RunCommand(const std::string& topic, const std::string& object,
                                  const std::string& payload) {
  const MqttCommand command = TranslateCommand(BuildState(host), object, payload);
  if (command.kind == MqttCommand::Kind::nothing) return;
  std::string refused = command.why;
  if (command.kind == MqttCommand::Kind::send) {
    const Json answer = HandleSocketCommand(host, JsonText(command.command));
    if (answer.value("type", "") == "error") refused = answer.value("error", "refused");
  }
  if (!refused.empty()) {
    Log("MQTT: refused " + Shown(payload) + " on " + topic + ": " + refused);
    return;
  }
  {
    std::lock_guard guard(lock);
    pollNow = true;
  }
  wake.notify_all();
}

void MqttBridge::Core::SetStatus(MqttState state, std::optional<std::string> error) {
  {
    std::lock_guard guard(lock);
    MqttStatus next = status;
    next.state = state;
    next.machineId = id.empty() ? next.machineId : id;
    if (error) next.lastError = std::move(*error);
    if (next == status) return;
    status = std::move(next);
  }
  std::lock_guard guard(callbackLock);
  if (!callbacksOff && onStatusChanged) onStatusChanged();
}

void MqttBridge::Core::Log(std::string line) {
  std::lock_guard guard(callbackLock);
  if (!callbacksOff && log) log(std::move(line));
}

void MqttBridge::Core::Shutdown() {
  {
    std::lock_guard guard(lock);
    stopping = true;
  }
  wake.notify_all();
  if (worker.joinable()) worker.join();
  if (client) {
    bool wasConnected = false;
    {
      std::lock_guard guard(lock);
      wasConnected = connected;
    }
    // Queued before the DISCONNECT, so they reach the broker before it: the entities go and the
    // machine reads as offline rather than lost.
    if (wasConnected) {
      for (const auto& [topic, payload] : sentConfigs) Publish(topic, {});
      Publish(AvailabilityTopic(id), std::string(kOffline));
    }
    mosquitto_disconnect(client);
    mosquitto_loop_stop(client, false);
    mosquitto_destroy(client);
    client = nullptr;
  }
  {
    std::lock_guard guard(callbackLock);
    callbacksOff = true;
  }
  std::lock_guard guard(lock);
  status.state = MqttState::stopped;
  connected = false;
}

MqttBridge::MqttBridge(RemoteHost& host) : host_(host) {}

MqttBridge::~MqttBridge() {
  Stop();
}

bool MqttBridge::Start(const MqttOptions& options, std::string* problem) {
  std::lock_guard control(control_);
  StopLocked();
  if (options.host.empty()) return *problem = "no MQTT broker was given", false;
  if (options.port < 1 || options.port > 65535)
    return *problem = "the port of the MQTT broker is not 1..65535", false;
  if (!options.machineId.empty() && !IsValidMachineId(options.machineId))
    return *problem = "a machine id is 1 to 64 of a-z, 0-9, '-' and '_'", false;
  if (!options.caFile.empty() && !std::ifstream(options.caFile))
    return *problem = "cannot read the MQTT CA file " + options.caFile, false;
  const std::string givenId =
      options.machineId.empty() ? std::string() : NumberedMachineId(options.machineId, options.machineNumber);
  auto core = std::make_shared<Core>(host_, options, onStatusChanged_, log_);
  core->status = {options.machineId.empty() ? MqttState::naming : MqttState::connecting,
                  MqttUrlText(options),
                  givenId,
                  {}};
  core->worker = std::thread([raw = core.get()] { raw->Run(); });
  std::lock_guard guard(coreLock_);
  core_ = std::move(core);
  return true;
}

void MqttBridge::Stop() {
  std::lock_guard control(control_);
  StopLocked();
}

void MqttBridge::StopLocked() {
  std::shared_ptr<Core> core;
  {
    std::lock_guard guard(coreLock_);
    core = std::move(core_);
  }
  // A command on the host's thread may hold the core a moment longer; it finds the client gone.
  if (core) core->Shutdown();
}

bool MqttBridge::running() const {
  std::lock_guard guard(coreLock_);
  return core_ != nullptr;
}

MqttStatus MqttBridge::status() const {
  std::shared_ptr<Core> core;
  {
    std::lock_guard guard(coreLock_);
    core = core_;
  }
  if (!core) return {};
  std::lock_guard guard(core->lock);
  return core->status;
}

void MqttBridge::SetOnStatusChanged(std::function<void()> callback) {
  std::lock_guard control(control_);
  onStatusChanged_ = std::move(callback);
}

void MqttBridge::SetLog(std::function<void(std::string)> log) {
  std::lock_guard control(control_);
  log_ = std::move(log);
}

}  // namespace vireo::remote
