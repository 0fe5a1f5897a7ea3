// The status bar: connection pane 120, mode pane 121, the EQ bypass box 1121 and the Reset EQ button 1122.
#pragma once

#include <QStatusBar>

class QCheckBox;
class QLabel;
class QPushButton;

struct StatusBarState {
  bool connected = false;
  int currentMode = 0;
  int languageIndex = 0;
  bool eqElementsEnabled = false;  // the current page shows an EQ
  bool eqBypass = false;
  int abLive = -1;  // the live tuning of the A/B comparison: 0 A, 1 B, -1 before the first switch
};

class CMainStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit CMainStatusBar(QWidget* parent = nullptr);

  void Update(const StatusBarState& state);
  QLabel* connectionPane() const { return connection_; }
  QLabel* modePane() const { return mode_; }
  QLabel* abPane() const { return ab_; }
  QCheckBox* bypassBox() const { return bypass_; }
  QPushButton* resetEqButton() const { return resetEq_; }

 signals:
  void bypassClicked();
  void resetEqClicked();

 private:
  QLabel* connection_;
  QLabel* mode_;
  QLabel* ab_;
  QCheckBox* bypass_;
  QPushButton* resetEq_;
};

// "USB：已连接" / "USB:Connected" or "USB：未连接" / "USB:Disconnected".
QString ConnectionPaneText(bool connected, int languageIndex);
// "当前模式:%s" / "Current Mode:%s" with the slot name.
QString ModePaneText(int currentMode, int languageIndex);
