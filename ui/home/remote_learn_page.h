// The remote key page of the smart-plug window (template 516): the 63 keys of an infrared plug, which of
// them it has learned, and learning, emitting and naming them.
#pragma once

#include <QWidget>
#include <vector>

#include "home/smart_home_pages.h"
#include "smarthome/plug_keys.h"

class CGdipButton;
class CReportCtrl;
class QComboBox;
class QLineEdit;
class SmartHomeLink;

namespace remote_learn_id {
inline constexpr int dialog = 516;
inline constexpr int plugCaption = 1300;
inline constexpr int plugChoice = 1301;
inline constexpr int keyList = 1302;
inline constexpr int nameCaption = 1303;
inline constexpr int nameField = 1304;
inline constexpr int rename = 1305;
inline constexpr int learn = 1306;
inline constexpr int emitKey = 1307;
}  // namespace remote_learn_id

class CRemoteLearnDlg : public QWidget {
  Q_OBJECT
 public:
  CRemoteLearnDlg(SmartHomeLink& link, StartWaitFn startWait, QWidget* parent);

  // The plug choice from the present plugs (after a read, reset, add or remove); the chosen plug stays
  // chosen while it is present.
  void RefreshPlugs();
  // A plug's progress report: 3 (learned) refreshes the key list.
  void OnNodeValue(int node, int value);
  void Recaption();

  int chosenPlug() const;  // node id, -1 when none
  const std::vector<vireo::smarthome::PlugKey>& keys() const { return keys_; }

 private:
  void FillKeys(int selectRow);
  void LoadKeys();
  // Says once of each unreadable key file that was set aside and replaced (by this page or the controller).
  void ShowKeyFileNotices();
  bool CheckPlugAndRow(const char* rowEn);
  void Notice(const char* zh, const char* en);
  void OnLearn();
  void OnEmit();
  void OnRename();
  void Send(int valueBase, vireo::smarthome::WaitKind kind, const QString& waitText);

  SmartHomeLink& link_;
  StartWaitFn startWait_;
  std::vector<vireo::smarthome::PlugKey> keys_;  // the chosen plug's keys as its file holds them
  int learningNode_ = -1;                        // the key asked to learn, until its plug reports it learned
  int learningKey_ = -1;
  bool folderFailureShown_ = false;
  QComboBox* plugs_ = nullptr;
  CReportCtrl* keyList_ = nullptr;
  QLineEdit* name_ = nullptr;
};
