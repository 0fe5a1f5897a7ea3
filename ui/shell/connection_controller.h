// The interface side of the machine connection: the start-up and meter timers, hot-plug on the event
// loop, the synchronisation dialog, the end of a synchronisation, and the reset question.
#pragma once

#include <QObject>
#include <QTimer>

#include "device/hid_backend.h"

class AppServices;
class CMainFrame;
class CKestrelv13View;
class QSocketNotifier;

inline constexpr int kConnectDelayMs = 250;
inline constexpr int kMeterPollMs = 300;
inline constexpr int kConnectBalloonMs = 5000;
inline constexpr int kArrivalBalloonMs = 4000;
inline constexpr int kRemovalBalloonMs = 5000;
inline constexpr int kResetNoticeMs = 2000;

class CConnectionController : public QObject {
  Q_OBJECT
 public:
  CConnectionController(AppServices& app, CKestrelv13View& view);
  ~CConnectionController() override;

  // Starts the 250 ms connection timer and the hot-plug watch.
  void Start();
  // Event 1002.
  void OnSyncDone(int wparam);
  void OnHotplug(const vireo::HotplugEvent& event);
  // Ribbon "Reset": the question, then the reset request and its notice.
  void AskResetMachine();
  // The workers with the synchronisation dialog; false when nothing started.
  bool StartReadAllWithDialog();
  bool StartWriteAllWithDialog();

  bool syncPending() const { return syncPending_; }
  bool meterTimerActive() const { return meterTimer_.isActive(); }
  bool hotplugWatched() const { return monitor_ != nullptr || watching_; }

 private:
  void OnConnectTimer();
  void AnnounceAndRead(int balloonMs);
  void ShowIdentityMismatch(const QString& text);
  void WatchHotplug();
  // The main window the view stands in (nullptr while it is being taken down).
  CMainFrame* Frame() const;

  AppServices& app_;
  CKestrelv13View& view_;
  QTimer connectTimer_;  // timer 1
  QTimer meterTimer_;    // timer 3
  QSocketNotifier* monitor_ = nullptr;
  bool watching_ = false;
  bool syncPending_ = false;
  bool mismatchBoxOpen_ = false;
};
