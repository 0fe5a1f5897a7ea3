// The application object.
#include "app/kestrel_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <ctime>

#include "app/app_remote_control.h"
#include "app/app_smart_home_link.h"
#include "app/qt_event_sink.h"
#include "app/single_instance.h"
#include "device/debug_log.h"
#include "device/events.h"
#include "dialogs/info_dlg.h"
#include "dialogs/syn_dlg.h"
#include "i18n/language_table.h"
#include "look/app_icon.h"
#include "look/dialog_look.h"
#include "model/backups.h"
#include "model/parameter_store.h"
#include "pages/page.h"
#include "services/choice_box.h"
#include "services/device_services.h"
#include "services/help_page.h"
#include "services/mode_file_loading.h"
#include "services/user_prompts.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "shell/mode_commands.h"
#include "shell/shortcut_filter.h"

namespace {
CKestrelv13App* theApp = nullptr;
}

CKestrelv13App* TheApp() {
  return theApp;
}

CKestrelv13App::CKestrelv13App(int& argc, char** argv, AppConfig config) : config_(std::move(config)) {
  if (!QCoreApplication::instance()) ownedQtApp_ = std::make_unique<QApplication>(argc, argv);
  theApp = this;
  noticeTimer_.setSingleShot(true);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    noticeTimer_.stop();
    CInfoDlg* notice = ExistingWindow<CInfoDlg>(windows_.notice);
    windows_.notice = nullptr;
    if (notice) notice->close();  // deletes itself
  });
}

namespace {
int noArguments = 0;
}

CKestrelv13App::CKestrelv13App(AppConfig config) : CKestrelv13App(noArguments, nullptr, std::move(config)) {}

CKestrelv13App::~CKestrelv13App() {
  if (frame_) ShutDownDevice();
  if (shortcuts_) qApp->removeEventFilter(shortcuts_.get());
  shortcuts_.reset();
  remote_.reset();
  frame_.reset();
  if (events_) events_->ShutDown();
  smartHomeLink_.reset();
  device_.reset();
  events_.reset();
  guard_.reset();
  theApp = nullptr;
}

vireo::ParameterStore& CKestrelv13App::store() {
  return vireo::TheStore();
}

QWidget* CKestrelv13App::mainWindow() const {
  return frame_.get();
}

void CKestrelv13App::ShowPageLater(int templateId) {
  CKestrelv13View* shown = view();
  if (shown == nullptr) return;
  QMetaObject::invokeMethod(
      shown, [shown, templateId] { shown->ShowPage(static_cast<PageKind>(templateId)); },
      Qt::QueuedConnection);
}

void CKestrelv13App::RestoreFactorySlot(int slot) {
  if (frame_) frame_->modeCommands().RestoreFactorySlot(slot);
}

void CKestrelv13App::RefreshVolumeControls() {
  if (frame_) frame_->RefreshVolumeControls();
}

CKestrelv13View* CKestrelv13App::view() const {
  return frame_ ? frame_->view() : nullptr;
}

SmartHomeLink& CKestrelv13App::smartHome() {
  return *smartHomeLink_;
}

RemoteControlService& CKestrelv13App::remote() {
  return *remote_;
}

QString CKestrelv13App::helpPagePath() const {
  return config_.helpPagePath.isEmpty() ? DefaultHelpPagePath() : config_.helpPagePath;
}

bool CKestrelv13App::ReportStartProblem(const QString& text) {
  std::fprintf(stderr, "vireo: %s\n", text.toLocal8Bit().constData());
  return false;
}

CKestrelv13App::StartResult CKestrelv13App::Start() {
  QCoreApplication::setOrganizationName(QString::fromLatin1(kSettingsKey));
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  // No display name: Qt would append " — Vireo" to the caption of every box and dialog, which carry
  // their own captions ("信息", "About"). The main window's title names the application already.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  QApplication::setWindowIcon(ApplicationIcon());  // every window without its own icon
  QApplication::setFont(ApplicationFont());
  if (!config_.launch.ok) {
    ReportStartProblem(config_.launch.error);
    std::fputs(kLaunchUsage, stderr);
    return StartResult::endWithFailure;
  }

  // Both messages are Chinese whatever the setting: the setting is not read yet.
  if (config_.singleInstance) {
    guard_ = std::make_unique<SingleInstanceGuard>(config_.instanceDirectory.isEmpty()
                                                       ? SingleInstanceGuard::DefaultDirectory()
                                                       : config_.instanceDirectory);
    switch (guard_->Acquire()) {
      case SingleInstanceGuard::Outcome::first:
        break;
      case SingleInstanceGuard::Outcome::activatedOther:
        return StartResult::endQuietly;
      case SingleInstanceGuard::Outcome::noWindow:
        ShowMessage(nullptr, QString::fromUtf8("已有一个实例在运行，但找不到它的主窗口！"),
                    QString::fromLatin1(kApplicationName), BoxIcon::information);
        return StartResult::endQuietly;
      case SingleInstanceGuard::Outcome::failed:
        ShowMessage(nullptr, QString::fromUtf8("创建信标对象失败，程序退出！"),
                    QString::fromLatin1(kApplicationName), BoxIcon::error);
        return StartResult::endQuietly;
    }
  }

  settings_ = std::make_unique<AppSettings>();
  events_ = std::make_unique<QtEventSink>(
      this, [this](int message, std::intptr_t a, std::intptr_t b) { OnDeviceEvent(message, a, b); });
  device_ = std::make_unique<DeviceServices>(config_.launch, vireo::TheStore(), *events_, config_.clock);
  if (!device_->problem().isEmpty()) ReportStartProblem(device_->problem());
  smartHomeLink_ = std::make_unique<AppSmartHomeLink>(*this, config_.plugFolder);
  shortcuts_ = std::make_unique<CShortcutFilter>(*this);
  qApp->installEventFilter(shortcuts_.get());

  frame_ = std::make_unique<CMainFrame>(*this);
  shortcuts_->SetFrame(frame_.get());
  if (guard_) {
    connect(guard_.get(), &SingleInstanceGuard::activationRequested, this,
            &CKestrelv13App::ActivateMainWindow);
    guard_->Listen();
  }
  if (config_.quitWhenClosed) connect(frame_.get(), &CMainFrame::closed, qApp, &QCoreApplication::quit);
  remote_ = std::make_unique<AppRemoteControl>(*this, *frame_, config_.remoteTokenPath);
  // A server that cannot listen does not hold the window back; its window tells why.
  if (!remote_->StartIfSwitchedOn())
    ReportStartProblem(QStringLiteral("remote control: ") + remote_->problem());

  frame_->setWindowTitle(QString::fromLatin1(kApplicationName));
  frame_->showNormal();
  frame_->repaint();
  // A file named on the command line is checked now and loaded once the machine has been read. The
  // window is up first, so that a box about the file (and the synchronisation after it) stands over it.
  if (!config_.launch.modeFile.isEmpty() && CheckModeFilePath(config_.launch.modeFile)) {
    if (connection().connected()) {
      OpenModeFileByPath(config_.launch.modeFile);
    } else {
      deferredModeFile_ = config_.launch.modeFile;
    }
  }
  return StartResult::running;
}

int CKestrelv13App::Exec() {
  return QApplication::exec();
}

void CKestrelv13App::ActivateMainWindow() {
  if (!frame_) return;
  frame_->setWindowState(frame_->windowState() & ~Qt::WindowMinimized);
  frame_->show();
  frame_->raise();
  frame_->activateWindow();
}

void CKestrelv13App::ShowNotice(const QString& text, int durationMs) {
  auto* notice = ExistingWindow<CInfoDlg>(windows_.notice);
  if (!notice) windows_.notice = notice = new CInfoDlg(frame_.get());
  notice->Recaption();
  notice->SetMessage(text);
  notice->show();
  notice->raise();
  noticeTimer_.start(durationMs);
  emit noticeShown(text, durationMs);
}

void CKestrelv13App::ShowSyncWindow(const QString& text) {
  if (windows_.sync) {
    windows_.sync->show();
    return;
  }
  CSynDlg dialog(text, frame_.get());
  windows_.sync = &dialog;
  dialog.exec();
  windows_.sync = nullptr;
  if (dialog.timedOut()) ShowSyncTimeoutMessage(frame_.get());
}

void CKestrelv13App::FinishSyncWindow() {
  if (auto* sync = ExistingWindow<CSynDlg>(windows_.sync)) sync->Finish();
}

int CKestrelv13App::ShowChoiceBox(const QString& message, const QString& firstChoice,
                                  const QString& secondChoice) {
  return Prompts().Choose(frame_.get(), message, firstChoice, secondChoice);
}

QString CKestrelv13App::backupFolder() const {
  if (!config_.backupFolder.isEmpty()) return config_.backupFolder;
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

bool CKestrelv13App::BackUpTuning(const QString& source) {
  std::string problem;
  if (!vireo::SaveBackup(vireo::TheStore(), backupFolder().toStdString(), source.toStdString(),
                         std::time(nullptr), &problem)
           .empty())
    return true;
  return AskYesNo(frame_.get(),
                  LangText("无法备份机器当前的调音：\n", "The machine's tuning could not be backed up:\n") +
                      QString::fromStdString(problem) +
                      LangText("\n\n仍要覆盖它吗？", "\n\nOverwrite it anyway, without a backup?"),
                  LangText("自动备份", "Backups"));
}

void CKestrelv13App::OpenModeFileByPath(const QString& path, const QString& backupSource) {
  if (!CheckModeFilePath(path)) return;
  if (!connection().connected()) return;
  if (!BackUpTuning(backupSource)) return;
  if (!LoadModeFileIntoStore(store(), path, QApplication::activeWindow())) return;
  vireo::DebugLog("Start thread:SynchronizeData\n");
  if (connection().StartWriteAll()) ShowSyncWindow(QString());
}

void CKestrelv13App::OnSyncAccepted() {
  // The store now mirrors the machine (read-all, slot load) or a loaded mode file: old values would
  // undo into a different mode.
  device_->edits().ClearHistory();
  if (deferredModeFile_.isEmpty()) return;
  const QString path = deferredModeFile_;
  deferredModeFile_.clear();
  // Started from the event loop, so the read-all's own handling has finished first.
  QMetaObject::invokeMethod(
      this, [this, path] { OpenModeFileByPath(path); }, Qt::QueuedConnection);
}

void CKestrelv13App::ShutDownDevice() {
  // No remote command may reach the machine after its disconnect notice.
  if (remote_) remote_->ShutDown();
  if (events_) events_->ShutDown();
  if (!device_) return;
  device_->FinishEdits();  // before the disconnect notice, so the machine keeps the last edits
  connection().ExitSequence();
}

void CKestrelv13App::OnDeviceEvent(int message, std::intptr_t a, std::intptr_t b) {
  if (frame_) frame_->OnDeviceEvent(message, a, b);
}
