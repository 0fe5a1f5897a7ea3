// Test rig for the interface: the application on the emulator with scripted prompts, a quick clock and
// settings, socket and help page in a temporary folder.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <deque>
#include <memory>
#include <thread>

#include "app/kestrel_app.h"
#include "device/clock.h"
#include "emulator/emulator_backend.h"
#include "look/control_id.h"
#include "model/report.h"
#include "services/user_prompts.h"
#include "shell/main_frame.h"

// Sleeps pass `divisor` times faster; waits shrink too, but never below a quarter second of real time.
class QuickClock final : public vireo::Clock {
 public:
  explicit QuickClock(int divisor = 20) : divisor_(divisor) {}
  std::int64_t NowMs() override;
  void SleepMs(int ms) override;
  bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
               const std::function<bool()>& ready) override;
  int sleptMs() const { return slept_; }

 private:
  int divisor_;
  std::atomic<int> slept_{0};
};

// Message boxes and file dialogs that answer from a script and remember what they were asked.
struct PromptRecord {
  QString text;
  QString caption;
  BoxIcon icon;
  BoxButtons buttons;
  bool mainWindowShown = false;  // whether the main window was on screen when the box came up
};

class ScriptedPrompts final : public UserPrompts {
 public:
  BoxAnswer Ask(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon,
                BoxButtons buttons) override;
  QString ChooseFile(QWidget* owner, const FileDialogRequest& request) override;
  int Choose(QWidget* owner, const QString& message, const QString& first, const QString& second) override;
  bool OpenUrl(const QUrl& url) override {
    openedUrls.append(url);
    return true;
  }

  std::deque<BoxAnswer> answers;  // default: yes for questions, ok for messages
  std::deque<int> choices;        // default: 0, the box closed without a choice
  QStringList choiceBoxes;        // message, first and second choice of each box, joined by '|'
  std::deque<QString> files;      // default: cancel
  QList<PromptRecord> asked;
  QList<QUrl> openedUrls;
  QList<FileDialogRequest> fileRequests;
};

class UiHarness {
 public:
  UiHarness();
  ~UiHarness();

  // Starts the application on the emulator; `language` sets the "language" setting first (-1 leaves it).
  CKestrelv13App::StartResult Start(int language = -1, LaunchOptions launch = EmulatorLaunch());
  static LaunchOptions EmulatorLaunch();
  // Waits until the machine is connected and the first synchronisation has been handled.
  bool WaitSynchronised(int timeoutMs = 20000);
  void Stop();

  CKestrelv13App& app() { return *app_; }
  CMainFrame& frame();
  vireo::emulator::MachineEmulator& machine();
  vireo::emulator::EmulatorBackend& emulatorBackend();
  ScriptedPrompts& prompts() { return prompts_; }
  QString dir() const { return dir_.path(); }
  // The requests the machine received since the last ClearRequests(), once the edits made so far are sent.
  std::vector<vireo::Report> Requests();
  // Until the edit sender has sent every edit made so far: a newer edit of the same control no longer
  // takes an unsent one's place.
  void WaitEditsSent();
  void ClearRequests();
  // Notices shown so far, in order.
  QStringList notices() const { return notices_; }
  QString lastNotice() const { return notices_.isEmpty() ? QString() : notices_.last(); }
  template <typename T = QWidget>
  T* Find(int id) {
    return FindByControlId<T>(&frame(), id);
  }

 private:
  QTemporaryDir dir_;
  QuickClock clock_;
  ScriptedPrompts prompts_;
  std::unique_ptr<CKestrelv13App> app_;
  QStringList notices_;
};

// Parameter writes (code 9) of (module, param) among `requests`, each as its values.
std::vector<std::vector<std::uint32_t>> ParamWrites(const std::vector<vireo::Report>& requests, int module,
                                                    int param);
// Requests with `code` and, when given, the first argument byte.
int CountCommands(const std::vector<vireo::Report>& requests, int code, int firstArgument = -1);
std::uint32_t FloatWire(float value);
// Process-wide set-up for a test main: offscreen platform, settings and data folders in a temporary place.
void PrepareUiTestEnvironment();
