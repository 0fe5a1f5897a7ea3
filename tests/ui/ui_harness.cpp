// The interface test rig.
#include "ui_harness.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "device/connection.h"
#include "services/device_services.h"
#include "shell/connection_controller.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

std::int64_t QuickClock::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QuickClock::SleepMs(int ms) {
  slept_ += ms;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms / divisor_));
}

bool QuickClock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
                         const std::function<bool()>& ready) {
  if (timeoutMs < 0) {
    cv.wait(lock, ready);
    return true;
  }
  // Long waits (the pause before a read-all) shrink like sleeps; reply time-outs keep a real margin.
  const int scaled = std::max(timeoutMs / divisor_, std::min(timeoutMs, 250));
  return cv.wait_for(lock, std::chrono::milliseconds(scaled), ready);
}

BoxAnswer ScriptedPrompts::Ask(QWidget*, const QString& text, const QString& caption, BoxIcon icon,
                               BoxButtons buttons) {
  const QWidgetList windows = QApplication::topLevelWidgets();
  const bool shown = std::any_of(windows.begin(), windows.end(), [](const QWidget* w) {
    return w->inherits("QMainWindow") && w->isVisible();
  });
  asked.append({text, caption, icon, buttons, shown});
  if (!answers.empty()) {
    const BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons == BoxButtons::ok ? BoxAnswer::ok : BoxAnswer::yes;
}

QString ScriptedPrompts::ChooseFile(QWidget*, const FileDialogRequest& request) {
  fileRequests.append(request);
  if (files.empty()) return {};
  const QString path = files.front();
  files.pop_front();
  return path;
}

int ScriptedPrompts::Choose(QWidget*, const QString& message, const QString& first, const QString& second) {
  choiceBoxes.append(message + '|' + first + '|' + second);
  if (choices.empty()) return 0;
  const int choice = choices.front();
  choices.pop_front();
  return choice;
}

void PrepareUiTestEnvironment() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_RUNTIME_DIR", (home.path() + "/run").toUtf8());
  QDir().mkpath(home.path() + "/run");
  QFile::setPermissions(home.path() + "/run",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

UiHarness::UiHarness() : clock_(20) {
  SetPrompts(&prompts_);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path() + "/settings");
}

UiHarness::~UiHarness() {
  Stop();
  SetPrompts(nullptr);
}

LaunchOptions UiHarness::EmulatorLaunch() {
  LaunchOptions launch;
  launch.emulator = true;
  return launch;
}

CKestrelv13App::StartResult UiHarness::Start(int language, LaunchOptions launch) {
  if (language >= 0) {
    QSettings settings(kSettingsKey, kApplicationName);
    settings.setValue("Workspace/language", language);
    settings.sync();
  }
  AppConfig config;
  config.launch = std::move(launch);
  config.clock = &clock_;
  config.instanceDirectory = dir_.path() + "/instance";
  config.helpPagePath = dir_.path() + "/help/Plug.html";
  config.plugFolder = dir_.path() + "/Plug";
  config.backupFolder = dir_.path() + "/backups";
  config.remoteTokenPath = dir_.path() + "/remote-token";
  config.quitWhenClosed = false;
  app_ = std::make_unique<CKestrelv13App>(config);
  QObject::connect(app_.get(), &CKestrelv13App::noticeShown,
                   [this](const QString& text, int) { notices_ << text; });
  return app_->Start();
}

bool UiHarness::WaitSynchronised(int timeoutMs) {
  return QTest::qWaitFor(
      [this] {
        return app_->connection().connected() && !app_->windows().sync &&
               !app_->view()->connectionController().syncPending() && app_->connection().idle();
      },
      timeoutMs);
}

void UiHarness::Stop() {
  if (!app_) return;
  app_.reset();
}

CMainFrame& UiHarness::frame() {
  return *app_->frame();
}

vireo::emulator::EmulatorBackend& UiHarness::emulatorBackend() {
  return *app_->device().emulator();
}

vireo::emulator::MachineEmulator& UiHarness::machine() {
  return emulatorBackend().machine();
}

void UiHarness::WaitEditsSent() {
  app_->device().editSender().WaitIdle();
}

std::vector<vireo::Report> UiHarness::Requests() {
  WaitEditsSent();
  return machine().Requests();
}

void UiHarness::ClearRequests() {
  WaitEditsSent();  // a queued edit must not land after the clear
  machine().ClearRequests();
}

std::vector<std::vector<std::uint32_t>> ParamWrites(const std::vector<vireo::Report>& requests, int module,
                                                    int param) {
  std::vector<std::vector<std::uint32_t>> writes;
  for (const vireo::Report& r : requests) {
    if (r[1] != vireo::code::writeParam || r[3] != module || r[4] != param) continue;
    std::vector<std::uint32_t> values;
    for (int i = 0; i < r[5]; ++i) values.push_back(vireo::GetBigEndian32(&r[6 + 4 * i]));
    writes.push_back(values);
  }
  return writes;
}

int CountCommands(const std::vector<vireo::Report>& requests, int code, int firstArgument) {
  int count = 0;
  for (const vireo::Report& r : requests) {
    if (r[1] == code && (firstArgument < 0 || r[2] == firstArgument)) ++count;
  }
  return count;
}

std::uint32_t FloatWire(float value) {
  return vireo::FloatBits(value);
}
