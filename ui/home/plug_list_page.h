// The plug list page (template 481) of the smart-plug window: the present plugs with their type icons; a
// click opens the plug's switch or knob dialog, a right click (or the menu key) its plug dialog; Add and
// Delete start joining or removing a plug at the plug itself.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "home/smart_home_pages.h"

class CDlgZwaveEdit;
class CDlgZwaveLight;
class CDlgZwaveSwitch;
class CReportCtrl;
class SmartHomeLink;
class QPushButton;

namespace plug_list_id {
inline constexpr int dialog = 481;
inline constexpr int list = 1300;
inline constexpr int add = 1301;
inline constexpr int remove = 1302;
}  // namespace plug_list_id

class CDlgZwaveList : public QWidget {
  Q_OBJECT
 public:
  CDlgZwaveList(SmartHomeLink& link, StartWaitFn startWait, QWidget* parent);

  // The list from the controller's node table and the PC copy of the plug records.
  void Refresh();
  void Recaption();

  // The node shown in `row`, or 0.
  int nodeAt(int row) const;
  const std::vector<int>& nodes() const { return nodes_; }
  // The dialogs this page has open (null when none).
  CDlgZwaveEdit* editDialog() const;
  CDlgZwaveSwitch* switchDialog() const;
  CDlgZwaveLight* knobDialog() const;

  // What a click on `row` does: the switch or knob dialog of that plug.
  void OpenPlug(int row);
  // What a right click on `row` does: the plug dialog in edit mode.
  void EditPlug(int row);
  void OnAdd();
  void OnRemove();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool CheckConnected();
  void OnEditAccepted();
  void CloseDialogs();

  SmartHomeLink& link_;
  StartWaitFn startWait_;
  CReportCtrl* list_;
  QPushButton* add_;
  QPushButton* remove_;
  std::vector<int> nodes_;
  int editNode_ = 0;
  QPointer<CDlgZwaveEdit> edit_;
  QPointer<CDlgZwaveSwitch> switch_;
  QPointer<CDlgZwaveLight> knob_;
};
