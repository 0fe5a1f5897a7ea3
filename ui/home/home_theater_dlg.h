// The smart-plug window (template 479): the power-on and power-off scenes, the controller's reset and the
// help, and three pages (plugs, scenes, infrared keys) behind tab buttons. It reads the smart-home data
// when first opened on a connection, owns the wait dialog of its pages and stops the level-meter poll
// while it is open.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <array>
#include <cstdint>

#include "home/smart_home_pages.h"
#include "home/wait_dlg.h"

class CDialogZwaveRemoter;
class CDlgZwaveList;
class CRemoteLearnDlg;
class CPowerButton;
class CTabWnd;
class SmartHomeLink;
class QLabel;
class QPushButton;

namespace home_id {
inline constexpr int dialog = 479;
inline constexpr int powerOn = 1068;
inline constexpr int powerOff = 1069;
inline constexpr int powerOnCaption = 1005;
inline constexpr int powerOffCaption = 1007;
inline constexpr int plugTab = 1074;
inline constexpr int sceneTab = 1077;
inline constexpr int learnTab = 1080;
inline constexpr int reset = 1078;
inline constexpr int help = 1079;
inline constexpr int pageArea = 1226;
inline constexpr int kReadDelayMs = 200;
}  // namespace home_id

class CDialogHomeTheater : public QDialog {
  Q_OBJECT
 public:
  enum Page { plugPage = 0, scenePage = 1, learnPage = 2 };

  CDialogHomeTheater(SmartHomeLink& link, QWidget* parent);
  ~CDialogHomeTheater() override;

  void OnZwaveEvent(std::intptr_t a, std::intptr_t b);        // message 3024
  void OnSmartHomeRefresh(std::intptr_t a, std::intptr_t b);  // message 3025
  void Recaption();                                           // language switch

  // Opens the wait dialog for an operation just sent, replacing one still open.
  void OpenWait(vireo::smarthome::WaitKind kind, int node, const QString& text);
  StartWaitFn startWait();

  void SelectPage(int page);
  int currentPage() const;
  CDlgZwaveList* plugList() const { return plugs_; }
  QWidget* page(int index) const;
  CWaitDlg* waitDialog() const { return wait_; }
  // Tests give the wait dialog short times.
  void setWaitTimings(WaitTimings timings) { waitTimings_ = timings; }

  void OnReset();
  void OnHelp();

 public slots:
  void done(int result) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildTop();
  // The three pages in their order; the scene and learn pages come from their own files.
  void CreatePages();
  void RefreshPages();
  void RefreshScenePage();
  void RefreshLearnPlugs();
  void RecaptionOtherPages();
  void OnFirstTimer();
  void RestoreMeterPoll();

  SmartHomeLink& link_;
  bool pollWasOn_ = false;
  bool pollRestored_ = false;
  CPowerButton* powerOn_ = nullptr;
  CPowerButton* powerOff_ = nullptr;
  QLabel* powerOnCaption_ = nullptr;
  QLabel* powerOffCaption_ = nullptr;
  QPushButton* reset_ = nullptr;
  QPushButton* help_ = nullptr;
  std::array<QPushButton*, 3> tabs_{};
  CTabWnd* pages_ = nullptr;
  CDlgZwaveList* plugs_ = nullptr;
  CDialogZwaveRemoter* scenes_ = nullptr;
  CRemoteLearnDlg* learn_ = nullptr;
  QPointer<CWaitDlg> wait_;
  WaitTimings waitTimings_;
  QTimer firstRead_;
};
