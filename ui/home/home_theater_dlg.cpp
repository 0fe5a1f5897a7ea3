// The smart-plug window.
#include "home/home_theater_dlg.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "controls/tab_wnd.h"
#include "home/plug_list_page.h"
#include "home/plug_pictures.h"
#include "home/smart_home_pages.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_controller.h"

// The scene and learn pages are built in their own files; until those are linked in, their places stay
// empty pages so that the window and its plug page work on their own.
#include "home/remote_learn_page.h"
#include "home/scene_page.h"

namespace {

namespace id = home_id;
namespace sh = vireo::smarthome;

const QColor kWindowBackground(240, 240, 240);
const QColor kShownTab(0, 0, 255);

void PaintBackground(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, kWindowBackground);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QPushButton* Button(int controlId, QWidget* parent) {
  auto* button = new QPushButton(parent);
  SetControlId(button, controlId);
  button->setAutoDefault(false);
  button->setMinimumWidth(90);
  return button;
}

QLabel* Caption(int controlId, QWidget* parent) {
  auto* label = new QLabel(parent);
  SetControlId(label, controlId);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

CDialogHomeTheater::CDialogHomeTheater(SmartHomeLink& link, QWidget* parent) : QDialog(parent), link_(link) {
  SetControlId(this, id::dialog);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  PaintBackground(this);
  // The level meters would interleave their polls with the controller's frames.
  pollWasOn_ = link_.meterPollEnabled();
  link_.setMeterPollEnabled(false);

  BuildTop();
  pages_ = new CTabWnd(this);
  SetControlId(pages_, id::pageArea);
  pages_->setMinimumSize(560, 400);
  CreatePages();

  auto* tabRow = new QHBoxLayout;
  tabRow->setSpacing(4);
  for (QPushButton* tab : tabs_) tabRow->addWidget(tab);
  tabRow->addStretch(1);
  auto* top = new QHBoxLayout;
  auto* onColumn = new QVBoxLayout;
  onColumn->addWidget(powerOn_, 0, Qt::AlignHCenter);
  onColumn->addWidget(powerOnCaption_);
  auto* offColumn = new QVBoxLayout;
  offColumn->addWidget(powerOff_, 0, Qt::AlignHCenter);
  offColumn->addWidget(powerOffCaption_);
  auto* middle = new QHBoxLayout;
  middle->setSpacing(10);
  middle->addWidget(reset_);
  middle->addWidget(help_);
  top->addLayout(onColumn);
  top->addStretch(1);
  top->addLayout(middle);
  top->addStretch(1);
  top->addLayout(offColumn);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(12, 10, 12, 12);
  column->setSpacing(8);
  column->addLayout(top);
  column->addLayout(tabRow);
  column->addWidget(pages_, 1);

  // The help key is a shortcut so that it wins over the main window's mode-slot keys.
  auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(helpKey, &QShortcut::activated, this, &CDialogHomeTheater::OnHelp);

  Recaption();
  pages_->Layout();
  SelectPage(plugPage);
  // Tab goes round the top row from left to right, then the tabs, then the page.
  QWidget* order[] = {powerOn_, reset_, help_, powerOff_, tabs_[0], tabs_[1], tabs_[2], plugs_};
  for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
  plugs_->setFocus();

  firstRead_.setSingleShot(true);
  connect(&firstRead_, &QTimer::timeout, this, &CDialogHomeTheater::OnFirstTimer);
  firstRead_.start(id::kReadDelayMs);
}

CDialogHomeTheater::~CDialogHomeTheater() {
  RestoreMeterPoll();
}

void CDialogHomeTheater::BuildTop() {
  powerOn_ = new CPowerButton(id::powerOn, true, this);
  powerOff_ = new CPowerButton(id::powerOff, false, this);
  powerOnCaption_ = Caption(id::powerOnCaption, this);
  powerOffCaption_ = Caption(id::powerOffCaption, this);
  reset_ = Button(id::reset, this);
  help_ = Button(id::help, this);
  tabs_ = {Button(id::plugTab, this), Button(id::sceneTab, this), Button(id::learnTab, this)};
  connect(powerOn_, &QAbstractButton::clicked, this, [this] { StartSceneRun(link_, 4, false); });
  connect(powerOff_, &QAbstractButton::clicked, this, [this] { StartSceneRun(link_, 5, false); });
  connect(reset_, &QPushButton::clicked, this, &CDialogHomeTheater::OnReset);
  connect(help_, &QPushButton::clicked, this, &CDialogHomeTheater::OnHelp);
  for (int k = 0; k < static_cast<int>(tabs_.size()); ++k) {
    connect(tabs_[static_cast<std::size_t>(k)], &QPushButton::clicked, this, [this, k] { SelectPage(k); });
  }
}

void CDialogHomeTheater::CreatePages() {
  plugs_ = new CDlgZwaveList(link_, startWait(), pages_);
  scenes_ = new CDialogZwaveRemoter(link_, pages_);
  learn_ = new CRemoteLearnDlg(link_, startWait(), pages_);
  for (QWidget* page : std::initializer_list<QWidget*>{plugs_, scenes_, learn_}) {
    PaintBackground(page);
    pages_->AddPage(page);
  }
}

void CDialogHomeTheater::RefreshScenePage() {
  scenes_->RefreshLists();
}

void CDialogHomeTheater::RefreshLearnPlugs() {
  learn_->RefreshPlugs();
}

void CDialogHomeTheater::RecaptionOtherPages() {
  scenes_->Recaption();
  learn_->Recaption();
}

StartWaitFn CDialogHomeTheater::startWait() {
  return [this](sh::WaitKind kind, int node, const QString& text) { OpenWait(kind, node, text); };
}

QWidget* CDialogHomeTheater::page(int index) const {
  return pages_->page(index);
}

void CDialogHomeTheater::Recaption() {
  setWindowTitle(LangText("智能插座", "Smart plug"));
  powerOnCaption_->setText(LangText("开机情景", "Power ON"));
  powerOffCaption_->setText(LangText("关机情景", "Power OFF"));
  reset_->setText(LangText("ZWAVE复位", "Reset"));
  help_->setText(LangText("帮助中心", "Help"));
  tabs_[0]->setText(LangText("设备列表", "Plug list"));
  tabs_[1]->setText(LangText("情景列表", "Scene list"));
  tabs_[2]->setText(LangText("遥控学习", "Learn"));
  ApplyLanguageTexts(this, id::dialog);
  plugs_->Recaption();
  RecaptionOtherPages();
  if (wait_) wait_->Recaption();
}

void CDialogHomeTheater::SelectPage(int page) {
  if (page < 0 || page >= static_cast<int>(tabs_.size())) return;
  pages_->Select(page);
  for (int k = 0; k < static_cast<int>(tabs_.size()); ++k) {
    QPushButton* tab = tabs_[static_cast<std::size_t>(k)];
    QPalette palette = tab->palette();
    palette.setColor(QPalette::ButtonText, k == page ? kShownTab : QColor(Qt::black));
    tab->setPalette(palette);
  }
  if (page == scenePage) RefreshScenePage();
}

int CDialogHomeTheater::currentPage() const {
  return pages_->currentIndex();
}

void CDialogHomeTheater::OnFirstTimer() {
  if (!link_.connected() || link_.controller().smartTableRead()) return;
  // The synchronisation window is modal: the read starts first, its end (3025 with 8) closes the window.
  if (!link_.controller().StartReadAll()) return;
  link_.ShowSyncWindow(LangText("同步插座数据，请稍等……", "synchronize data"));
}

void CDialogHomeTheater::OnReset() {
  if (link_.connected() && !ConfirmSmartHomeWipe(this)) return;
  if (!StartedOrAskForMachine(link_, link_.connected() && link_.controller().StartReset())) return;
  // The key files belong to plugs the reset takes out of the network; their names are kept in a backup
  // folder inside the key folder.
  if (const std::string folder = link_.plugFolder(); !folder.empty()) sh::BackUpAndClearPlugFolder(folder);
  link_.ShowSyncWindow(LangText("正在复位，请稍等……", "Resetting, wait a moment"));
}

void CDialogHomeTheater::OnHelp() {
  link_.OpenHelp();
}

void CDialogHomeTheater::OpenWait(sh::WaitKind kind, int node, const QString& text) {
  if (wait_) {
    wait_->disconnect(this);
    wait_->hide();
    wait_->deleteLater();
  }
  wait_ = new CWaitDlg(link_, kind, node, text, this, waitTimings_);
  wait_->show();
}

void CDialogHomeTheater::OnZwaveEvent(std::intptr_t a, std::intptr_t b) {
  if (wait_) wait_->OnZwaveEvent(a, b);
  const int low = static_cast<int>(b & 0xFFFF);
  switch (a) {
    case sh::zevent::nodeValue:
      learn_->OnNodeValue(static_cast<int>(b >> 16), low & 0xFF);
      break;
    case sh::zevent::addNode:
      if (low == sh::kAddJoined) RefreshPages();
      break;
    case sh::zevent::removeNode:
      if (low == sh::kRemoveLeft) RefreshPages();
      break;
    default:
      break;
  }
}

void CDialogHomeTheater::OnSmartHomeRefresh(std::intptr_t a, std::intptr_t b) {
  const bool readDone = a == sh::kRefreshDone;
  const bool runDone = a == sh::kSceneRun && b == 1;
  if (!readDone && !runDone) return;
  link_.FinishSyncWindow();
  RefreshPages();
}

void CDialogHomeTheater::RefreshPages() {
  plugs_->Refresh();
  RefreshScenePage();
  RefreshLearnPlugs();
}

void CDialogHomeTheater::RestoreMeterPoll() {
  if (pollRestored_) return;
  pollRestored_ = true;
  link_.setMeterPollEnabled(pollWasOn_);
}

void CDialogHomeTheater::done(int result) {
  RestoreMeterPoll();
  QDialog::done(result);
}

void CDialogHomeTheater::closeEvent(QCloseEvent* event) {
  RestoreMeterPoll();
  QDialog::closeEvent(event);
}
