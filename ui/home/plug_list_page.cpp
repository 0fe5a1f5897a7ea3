// The plug list page.
#include "home/plug_list_page.h"

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "controls/report_ctrl.h"
#include "home/knob_dlg.h"
#include "home/plug_edit_dlg.h"
#include "home/plug_pictures.h"
#include "home/smart_home_pages.h"
#include "home/switch_dlg.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"

namespace {
namespace id = plug_list_id;
namespace sh = vireo::smarthome;
constexpr int kIconSize = 24;

void ShowBeside(QDialog* dialog) {
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}
}  // namespace

CDlgZwaveList::CDlgZwaveList(SmartHomeLink& link, StartWaitFn startWait, QWidget* parent)
    : QWidget(parent), link_(link), startWait_(std::move(startWait)) {
  SetControlId(this, id::dialog);
  list_ = new CReportCtrl(id::list, this);
  list_->InsertColumn(0, QString(), Qt::AlignLeft, 200);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setIconSize(QSize(kIconSize, kIconSize));
  list_->verticalHeader()->setDefaultSectionSize(kIconSize + 6);
  list_->setShowGrid(false);
  list_->setContextMenuPolicy(Qt::DefaultContextMenu);
  list_->installEventFilter(this);
  list_->viewport()->installEventFilter(this);
  add_ = new QPushButton(this);
  remove_ = new QPushButton(this);
  SetControlId(add_, id::add);
  SetControlId(remove_, id::remove);
  for (QPushButton* b : {add_, remove_}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(96);
  }
  setFocusProxy(list_);
  // The report list leaves the wheel to its page: here it scrolls a long network.
  connect(list_, &CReportCtrl::wheelTurned, this, [this](int, int direction) {
    QScrollBar* bar = list_->verticalScrollBar();
    bar->setValue(bar->value() - direction * bar->singleStep() * 3);
  });
  connect(list_, &CReportCtrl::rowClicked, this, [this](int, int row) { OpenPlug(row); });
  // Enter on the highlighted row does what a click does, for the keyboard.
  connect(list_, &QAbstractItemView::activated, this,
          [this](const QModelIndex& index) { OpenPlug(index.row()); });
  connect(add_, &QPushButton::clicked, this, &CDlgZwaveList::OnAdd);
  connect(remove_, &QPushButton::clicked, this, &CDlgZwaveList::OnRemove);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->addWidget(list_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(add_);
  buttons->addWidget(remove_);
  column->addLayout(buttons);
  Recaption();
  Refresh();
}

void CDlgZwaveList::Recaption() {
  list_->horizontalHeaderItem(0)->setText(LangText("设备列表", "Plug list"));
  add_->setText(LangText("添加插座", "Add plug"));
  remove_->setText(LangText("删除插座", "Delete plug"));
  ApplyLanguageTexts(this, id::dialog);
  if (edit_) edit_->Recaption();
  if (switch_) switch_->Recaption();
  if (knob_) knob_->Recaption();
}

void CDlgZwaveList::Refresh() {
  const sh::SmartHomeController& controller = link_.controller();
  const int keptNode = nodeAt(list_->GetSelectedRow());
  nodes_ = controller.presentPlugs();
  // A plug that has left the network takes its dialogs with it: they could only time out.
  const auto gone = [this](int node) {
    return std::find(nodes_.begin(), nodes_.end(), node) == nodes_.end();
  };
  if ((switch_ && gone(switch_->node())) || (knob_ && gone(knob_->node())) ||
      (edit_ && editNode_ != 0 && gone(editNode_)))
    CloseDialogs();
  list_->setRowCount(0);
  for (int node : nodes_) {
    const sh::PlugRecord record = controller.memory().plug(node);
    const int row = list_->InsertRow(
        -1, QString::fromUtf16(record.name.data(), static_cast<qsizetype>(record.name.size())));
    list_->item(row, 0)->setIcon(PlugIcon(record.type, kIconSize));
    if (node == keptNode) list_->selectRow(row);
  }
}

int CDlgZwaveList::nodeAt(int row) const {
  return row >= 0 && row < static_cast<int>(nodes_.size()) ? nodes_[static_cast<std::size_t>(row)] : 0;
}

CDlgZwaveEdit* CDlgZwaveList::editDialog() const {
  return edit_;
}

CDlgZwaveSwitch* CDlgZwaveList::switchDialog() const {
  return switch_;
}

CDlgZwaveLight* CDlgZwaveList::knobDialog() const {
  return knob_;
}

bool CDlgZwaveList::CheckConnected() {
  return StartedOrAskForMachine(link_, link_.connected());
}

void CDlgZwaveList::CloseDialogs() {
  for (QDialog* d : std::initializer_list<QDialog*>{edit_, switch_, knob_}) {
    if (d != nullptr) d->close();
  }
  // Closed dialogs are deleted later; from now on they are not this page's.
  edit_ = nullptr;
  switch_ = nullptr;
  knob_ = nullptr;
}

void CDlgZwaveList::OpenPlug(int row) {
  const int node = nodeAt(row);
  if (node == 0) return;
  const auto type = static_cast<sh::PlugType>(link_.controller().memory().plug(node).type);
  if (type != sh::PlugType::switchPlug && type != sh::PlugType::knobPlug) return;
  // One plug dialog at a time: another plug's replaces it, the same plug's comes to the front.
  const bool switchPlug = type == sh::PlugType::switchPlug;
  if (switchPlug && switch_ && switch_->node() == node) {
    ShowBeside(switch_);
    return;
  }
  if (!switchPlug && knob_ && knob_->node() == node) {
    ShowBeside(knob_);
    return;
  }
  CloseDialogs();
  if (switchPlug) {
    switch_ = new CDlgZwaveSwitch(link_, node, startWait_, this);
    ShowBeside(switch_);
  } else {
    knob_ = new CDlgZwaveLight(link_, node, startWait_, this);
    ShowBeside(knob_);
  }
}

void CDlgZwaveList::EditPlug(int row) {
  const int node = nodeAt(row);
  if (node == 0) return;
  CloseDialogs();
  editNode_ = node;
  edit_ = new CDlgZwaveEdit(link_, CDlgZwaveEdit::Mode::edit, link_.controller().memory().plug(node), this);
  connect(edit_, &QDialog::accepted, this, &CDlgZwaveList::OnEditAccepted);
  edit_->open();
}

void CDlgZwaveList::OnAdd() {
  if (!CheckConnected()) return;
  CloseDialogs();
  editNode_ = 0;
  edit_ = new CDlgZwaveEdit(link_, CDlgZwaveEdit::Mode::add, {}, this);
  connect(edit_, &QDialog::accepted, this, &CDlgZwaveList::OnEditAccepted);
  edit_->open();
}

void CDlgZwaveList::OnEditAccepted() {
  const CDlgZwaveEdit* dialog = edit_;
  if (dialog == nullptr) return;
  const sh::PlugRecord record = dialog->record();
  sh::SmartHomeController& controller = link_.controller();
  if (dialog->mode() == CDlgZwaveEdit::Mode::edit) {
    if (!StartedOrAskForMachine(link_, controller.WritePlug(editNode_, record))) return;
    Refresh();
    return;
  }
  // The connection may have gone while the dialog was open.
  if (!StartedOrAskForMachine(link_, controller.StartAdd(record))) return;
  if (startWait_) startWait_(sh::WaitKind::add, 0, LangText("添加设备……", "Adding plug..."));
}

void CDlgZwaveList::OnRemove() {
  if (!CheckConnected()) return;
  if (!StartedOrAskForMachine(link_, link_.controller().StartRemove())) return;
  if (startWait_) startWait_(sh::WaitKind::remove, 0, LangText("删除设备", "Remove plug"));
}

bool CDlgZwaveList::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ContextMenu || (watched != list_ && watched != list_->viewport()))
    return QWidget::eventFilter(watched, event);
  auto* menu = static_cast<QContextMenuEvent*>(event);
  // The pointer names its row; the menu key acts on the highlighted one.
  const int row = menu->reason() == QContextMenuEvent::Mouse && watched == list_->viewport()
                      ? list_->rowAt(menu->pos().y())
                      : list_->GetSelectedRow();
  if (row >= 0) {
    list_->selectRow(row);
    EditPlug(row);
  }
  return true;
}
