// The switch dialog (template 485): turns a switch plug on (255) or off (0) and waits for the answer.
#pragma once

#include <QDialog>

#include "home/smart_home_pages.h"

class SmartHomeLink;
class QLabel;
class QPushButton;

namespace switch_id {
inline constexpr int dialog = 485;
inline constexpr int on = 1300;
inline constexpr int off = 1301;
inline constexpr int name = 1302;  // the plug's own name: not from the table
}  // namespace switch_id

class CDlgZwaveSwitch : public QDialog {
  Q_OBJECT
 public:
  CDlgZwaveSwitch(SmartHomeLink& link, int node, StartWaitFn startWait, QWidget* parent);
  int node() const { return node_; }
  void Recaption();

 private:
  void Set(int value);

  SmartHomeLink& link_;
  int node_;
  StartWaitFn startWait_;
  QLabel* name_;
  QPushButton* on_;
  QPushButton* off_;
};

// Sends `value` to plug `node` and opens the wait dialog with `text`; without a connection only the popup
// "请先连接设备!" / "Please connect device!". Shared by the switch and knob dialogs.
void SetPlugValue(SmartHomeLink& link, const StartWaitFn& startWait, int node, int value,
                  const QString& text);
// The plug's name for a dialog's heading.
QString PlugNameText(SmartHomeLink& link, int node);
