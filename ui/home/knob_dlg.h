// The knob dialog (template 484): the output level of a knob plug, 0..99, set on release or by the two
// step buttons, with the wait dialog for the answer.
#pragma once

#include <QDialog>

#include "home/smart_home_pages.h"

class CXBmpSlider;
class SmartHomeLink;
class QLabel;
class QPushButton;

namespace knob_id {
inline constexpr int dialog = 484;
inline constexpr int slider = 1300;
inline constexpr int value = 1301;
inline constexpr int down = 1302;
inline constexpr int up = 1303;
inline constexpr int name = 1304;  // the plug's own name: not from the table
}  // namespace knob_id

class CDlgZwaveLight : public QDialog {
  Q_OBJECT
 public:
  CDlgZwaveLight(SmartHomeLink& link, int node, StartWaitFn startWait, QWidget* parent);
  int node() const { return node_; }
  int level() const;
  void Recaption();

 private:
  void ShowLevel(int level);
  void StepBy(int delta);
  void Send();

  SmartHomeLink& link_;
  int node_;
  StartWaitFn startWait_;
  QLabel* name_;
  CXBmpSlider* slider_;
  QLabel* value_;
  QPushButton* down_;
  QPushButton* up_;
};
