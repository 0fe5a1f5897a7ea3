// The connection logic of the main view.
#include "shell/connection_controller.h"

#include <QSocketNotifier>

#include "device/connection.h"
#include "i18n/language_table.h"
#include "services/app_services.h"
#include "services/device_services.h"
#include "services/user_prompts.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

CConnectionController::CConnectionController(AppServices& app, CKestrelv13View& view)
    : app_(app), view_(view) {
  connectTimer_.setSingleShot(true);
  connect(&connectTimer_, &QTimer::timeout, this, &CConnectionController::OnConnectTimer);
  connect(&meterTimer_, &QTimer::timeout, this, [this] { app_.connection().PollMeters(); });
}

CMainFrame* CConnectionController::Frame() const {
  return qobject_cast<CMainFrame*>(view_.window());
}

CConnectionController::~CConnectionController() {
  if (watching_) app_.device().backend().StopWatching();
}

void CConnectionController::Start() {
  connectTimer_.start(kConnectDelayMs);
  WatchHotplug();
}

void CConnectionController::WatchHotplug() {
  vireo::HidBackend& backend = app_.device().backend();
  const int fd = backend.MonitorFd();
  if (fd >= 0) {
    monitor_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(monitor_, &QSocketNotifier::activated, this, [this] {
      app_.device().backend().DrainMonitor([this](const vireo::HotplugEvent& event) { OnHotplug(event); });
    });
    return;
  }
  // No descriptor to poll: the backend's own thread hands the events to the event loop.
  watching_ = backend.WatchHotplug([this](const vireo::HotplugEvent& event) {
    QMetaObject::invokeMethod(
        this, [this, event] { OnHotplug(event); }, Qt::QueuedConnection);
  });
}

void CConnectionController::OnConnectTimer() {
  connectTimer_.stop();
  if (!app_.connection().ConnectMachine()) return;  // no machine: wait for an arrival
  AnnounceAndRead(kConnectBalloonMs);
}

void CConnectionController::AnnounceAndRead(int balloonMs) {
  // A new connection may be another machine, or the same one after its plugs changed.
  app_.device().smartHome().ClearSmartTableRead();
  view_.ShowTrayBalloon(LangText("设备已连接，同步中……", "Device connected!"),
                        LangText("信息", "Information"), balloonMs);
  syncPending_ = true;
  meterTimer_.start(kMeterPollMs);
  StartReadAllWithDialog();
}

bool CConnectionController::StartReadAllWithDialog() {
  if (!app_.connection().StartReadAll()) return false;
  app_.ShowSyncWindow(QString());
  return true;
}

bool CConnectionController::StartWriteAllWithDialog() {
  if (!app_.connection().StartWriteAll()) return false;
  app_.ShowSyncWindow(QString());
  return true;
}

void CConnectionController::OnHotplug(const vireo::HotplugEvent& event) {
  vireo::MachineConnection& connection = app_.connection();
  switch (connection.OnHotplug(event)) {
    case vireo::HotplugOutcome::ignored:
      break;
    case vireo::HotplugOutcome::arrived:
      if (connection.connected() || !connection.ConnectMachine()) break;
      if (CMainFrame* frame = Frame()) frame->RefreshVolumeControls();
      AnnounceAndRead(kArrivalBalloonMs);
      break;
    case vireo::HotplugOutcome::removed:
      meterTimer_.stop();
      view_.ShowTrayBalloon(LangText("设备已断开!", "Device Disconnected!"), LangText("信息", "Information"),
                            kRemovalBalloonMs);
      break;
  }
}

void CConnectionController::OnSyncDone(int wparam) {
  app_.FinishSyncWindow();
  switch (app_.connection().OnSyncDone(wparam)) {
    case vireo::SyncOutcome::accepted:
      if (CMainFrame* frame = Frame()) frame->RefreshAfterSync();
      syncPending_ = false;
      app_.OnSyncAccepted();
      break;
    case vireo::SyncOutcome::wrongModel:
      meterTimer_.stop();
      ShowIdentityMismatch(QString::fromUtf8("机器型号与软件不匹配!"));
      break;
    case vireo::SyncOutcome::wrongKind:
      meterTimer_.stop();
      ShowIdentityMismatch(QString::fromUtf8("机器与软件通信版本不匹配，请使用机器配套软件!"));
      break;
    case vireo::SyncOutcome::lostMachine:
      // The removal notification tells the user; what arrived stays in the store.
      meterTimer_.stop();
      syncPending_ = false;
      break;
  }
}

void CConnectionController::ShowIdentityMismatch(const QString& text) {
  if (mismatchBoxOpen_) return;  // one box at a time
  mismatchBoxOpen_ = true;
  ShowMessage(app_.mainWindow(), text, QString::fromUtf8("错误"), BoxIcon::error);
  mismatchBoxOpen_ = false;
}

void CConnectionController::AskResetMachine() {
  vireo::MachineConnection& connection = app_.connection();
  if (!connection.connected()) return;
  const QString question = LanguageIndex() == 1
                               ? QStringLiteral("Are you sure reset machine? ")
                               : QString::fromUtf8("您确定要将机器复位吗? \n机器复位后请手动重启机器.");
  if (!AskYesNo(app_.mainWindow(), question, QString::fromUtf8("提示"))) return;
  connection.ResetMachine();
  app_.device().edits().ClearHistory();
  app_.ShowNotice(LangText("请手动重启……", "Please restart……"), kResetNoticeMs);
}
