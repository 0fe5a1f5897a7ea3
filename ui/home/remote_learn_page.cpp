// The remote key page.
#include "home/remote_learn_page.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "controls/gdip_button.h"
#include "controls/report_ctrl.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "services/user_prompts.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace sh = vireo::smarthome;
namespace id = remote_learn_id;

const QColor kPageBackground(240, 240, 240);
const QColor kLearnedInk(0, 128, 0);
constexpr int kNameMaxChars = 32;
constexpr int kLearnedReport = 3;

struct Caption {
  int id;
  const char* zh;
  const char* en;
};

constexpr Caption kCaptions[] = {
    {id::plugCaption, "插座", "Plug"}, {id::nameCaption, "遥控键名称", "Key name"},
    {id::rename, "重命名", "Rename"},  {id::learn, "学习", "Learn"},
    {id::emitKey, "发射", "Emit"},
};

QLabel* MakeCaption(int controlId, QWidget* parent) {
  auto* label = new QLabel(parent);
  SetControlId(label, controlId);
  return label;
}

}  // namespace

CRemoteLearnDlg::CRemoteLearnDlg(SmartHomeLink& link, StartWaitFn startWait, QWidget* parent)
    : QWidget(parent), link_(link), startWait_(std::move(startWait)) {
  SetControlId(this, id::dialog);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kPageBackground);
  setPalette(palette);
  setAutoFillBackground(true);

  auto* plugCaption = MakeCaption(id::plugCaption, this);
  plugs_ = new QComboBox(this);
  SetControlId(plugs_, id::plugChoice);
  plugs_->setMinimumWidth(150);
  plugCaption->setBuddy(plugs_);
  keyList_ = new CReportCtrl(id::keyList, this);
  auto* nameCaption = MakeCaption(id::nameCaption, this);
  name_ = new QLineEdit(this);
  SetControlId(name_, id::nameField);
  name_->setMaxLength(kNameMaxChars);
  nameCaption->setBuddy(name_);
  auto* rename = new CGdipButton(id::rename, QString(), this);
  auto* learn = new CGdipButton(id::learn, QString(), this);
  auto* emitKey = new CGdipButton(id::emitKey, QString(), this);

  // The list takes the height; the choices and actions stand beside it, top to bottom in Tab order.
  auto* side = new QVBoxLayout;
  side->addWidget(plugCaption);
  side->addWidget(plugs_);
  side->addSpacing(12);
  side->addWidget(nameCaption);
  side->addWidget(name_);
  side->addWidget(rename);
  side->addSpacing(12);
  side->addWidget(learn);
  side->addWidget(emitKey);
  side->addStretch(1);
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(8, 8, 8, 8);
  columns->setSpacing(10);
  columns->addWidget(keyList_, 1);
  columns->addLayout(side);
  setTabOrder(plugs_, keyList_);
  setTabOrder(keyList_, name_);
  setTabOrder(name_, rename);
  setTabOrder(rename, learn);
  setTabOrder(learn, emitKey);

  connect(plugs_, &QComboBox::currentIndexChanged, this, [this] {
    LoadKeys();
    FillKeys(-1);
    name_->clear();  // the name belonged to a key of the plug before
  });
  connect(keyList_, &QTableWidget::itemSelectionChanged, this, [this] {
    const int row = keyList_->GetSelectedRow();
    if (row >= 0 && row < static_cast<int>(keys_.size())) {
      name_->setText(QString::fromStdString(keys_[static_cast<std::size_t>(row)].name));
    }
  });
  // Sixty-three rows need the wheel, which the list reports rather than scrolls.
  connect(keyList_, &CReportCtrl::wheelTurned, this, [this](int, int direction) {
    QScrollBar* bar = keyList_->verticalScrollBar();
    bar->setValue(bar->value() - 3 * direction);
  });
  connect(name_, &QLineEdit::returnPressed, this, &CRemoteLearnDlg::OnRename);
  connect(rename, &CGdipButton::clicked, this, &CRemoteLearnDlg::OnRename);
  connect(learn, &CGdipButton::clicked, this, &CRemoteLearnDlg::OnLearn);
  connect(emitKey, &CGdipButton::clicked, this, &CRemoteLearnDlg::OnEmit);
  Recaption();
  RefreshPlugs();
}

void CRemoteLearnDlg::Recaption() {
  for (const Caption& c : kCaptions) {
    QWidget* control = FindByControlId(this, c.id);
    if (auto* label = qobject_cast<QLabel*>(control)) label->setText(LangText(c.zh, c.en));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(LangText(c.zh, c.en));
  }
  ApplyLanguageTexts(this, id::dialog);
  FillKeys(keyList_->GetSelectedRow());
}

int CRemoteLearnDlg::chosenPlug() const {
  return plugs_->currentIndex() < 0 ? -1 : plugs_->currentData().toInt();
}

void CRemoteLearnDlg::RefreshPlugs() {
  const int chosen = chosenPlug();
  {
    const QSignalBlocker quiet(plugs_);
    plugs_->clear();
    for (int node : link_.controller().presentPlugs()) {
      plugs_->addItem(QString::fromStdU16String(link_.controller().memory().plug(node).name), node);
    }
    const int again = plugs_->findData(chosen);
    plugs_->setCurrentIndex(again >= 0 ? again : (plugs_->count() > 0 ? 0 : -1));
  }
  LoadKeys();
  FillKeys(chosenPlug() == chosen ? keyList_->GetSelectedRow() : -1);
}

void CRemoteLearnDlg::LoadKeys() {
  const int node = chosenPlug();
  keys_ = sh::DefaultPlugKeys();
  const std::string folder = link_.plugFolder();
  if (node < 0 || folder.empty()) return;
  std::string error;
  if (!sh::EnsureFolder(folder, &error)) {
    // Once: a folder that cannot be made stays so, and every plug change would say it again.
    if (!folderFailureShown_) {
      folderFailureShown_ = true;
      ShowMessage(this, LangText("创建Key目录失败!", "Failed to create the key folder!"),
                  LangText("提示", "Information"), BoxIcon::error);
    }
    return;
  }
  if (!sh::LoadOrCreatePlugKeys(sh::PlugKeyFilePath(folder, node), &keys_, &error))
    keys_ = sh::DefaultPlugKeys();
  ShowKeyFileNotices();
}

void CRemoteLearnDlg::ShowKeyFileNotices() {
  const std::string folder = link_.plugFolder();
  if (folder.empty()) return;
  for (const sh::KeyFileNotice& notice : sh::TakeKeyFileNotices(folder)) {
    ShowMessage(this, QString::fromStdString(sh::KeyFileNoticeText(notice, LanguageIndex())),
                LangText("提示", "Information"), BoxIcon::warning);
  }
}

void CRemoteLearnDlg::FillKeys(int selectRow) {
  const QSignalBlocker quiet(keyList_);
  const int scrolled = keyList_->verticalScrollBar()->value();
  keyList_->DeleteAll();
  keyList_->InsertColumn(0, LangText("序号", "Index"), Qt::AlignCenter, 48);
  keyList_->InsertColumn(1, LangText("遥控键名称", "Key name"), Qt::AlignLeft, 150);
  keyList_->InsertColumn(2, LangText("状态", "Status"), Qt::AlignLeft, 80);
  keyList_->horizontalHeader()->setStretchLastSection(true);
  if (chosenPlug() < 0) return;
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    const int row = keyList_->InsertRow(-1, QString::number(k + 1));
    keyList_->SetItemText(row, 1, QString::fromStdString(keys_[k].name));
    const bool learned = keys_[k].status == 1;
    keyList_->SetItemText(row, 2, learned ? LangText("已学习", "Ready") : LangText("未学习", "Not Ready"));
    if (learned) keyList_->item(row, 2)->setForeground(kLearnedInk);
  }
  keyList_->verticalScrollBar()->setValue(scrolled);
  if (selectRow >= 0 && selectRow < keyList_->rowCount()) keyList_->selectRow(selectRow);
}

void CRemoteLearnDlg::OnNodeValue(int node, int value) {
  if (value != kLearnedReport || node != chosenPlug()) return;
  LoadKeys();
  // The controller marks the key in the file on its own thread, perhaps just after this report; the
  // list must not show the key unlearned in the meantime.
  if (node == learningNode_ && learningKey_ >= 0 && learningKey_ < static_cast<int>(keys_.size())) {
    keys_[static_cast<std::size_t>(learningKey_)].status = 1;
  }
  learningNode_ = learningKey_ = -1;
  FillKeys(keyList_->GetSelectedRow());
}

void CRemoteLearnDlg::Notice(const char* zh, const char* en) {
  link_.ShowNotice(LangText(zh, en), kNoticeShortMs);
}

bool CRemoteLearnDlg::CheckPlugAndRow(const char* rowEn) {
  if (chosenPlug() < 0) {
    Notice("请选择一个插座", "Please select a plug");
    return false;
  }
  if (keyList_->GetSelectedRow() < 0) {
    Notice("请在列表中选择一个按键", rowEn);
    return false;
  }
  return true;
}

void CRemoteLearnDlg::Send(int valueBase, sh::WaitKind kind, const QString& waitText) {
  if (!link_.connected()) return Notice("请先连接设备!", "Please connect device!");
  if (!CheckPlugAndRow("Please select a row")) return;
  const int node = chosenPlug();
  const int key = keyList_->GetSelectedRow();
  if (kind == sh::WaitKind::learn) {
    learningNode_ = node;
    learningKey_ = key;
  }
  if (!link_.controller().SetValue(node, valueBase + key))
    return Notice("请先连接设备!", "Please connect device!");
  if (startWait_) startWait_(kind, node, waitText);
}

void CRemoteLearnDlg::OnLearn() {
  Send(sh::kLearnKeyBase, sh::WaitKind::learn, LangText("遥控学习操作", "Learning remote key"));
}

void CRemoteLearnDlg::OnEmit() {
  Send(sh::kEmitKeyBase, sh::WaitKind::emitKey, LangText("遥控操作", "Sending remote key"));
}

void CRemoteLearnDlg::OnRename() {
  const QString name = name_->text().trimmed();
  if (name.isEmpty()) {
    ShowMessage(this, LangText("遥控键名称不能为空字符串!", "The key name must not be empty!"),
                LangText("提示", "Information"), BoxIcon::warning);
    return;
  }
  if (!CheckPlugAndRow("Please select a key row")) return;
  const int key = keyList_->GetSelectedRow();
  const std::string folder = link_.plugFolder();
  if (!folder.empty()) {
    // Changed in the file as it is now, under the core's lock: the controller may mark a key learned
    // since the list was read, or at this very moment.
    std::string error;
    if (!sh::RenamePlugKey(folder, chosenPlug(), key, name.toStdString(), &keys_, &error)) {
      keys_[static_cast<std::size_t>(key)].name = name.toStdString();
      ShowMessage(this, QString::fromStdString(error), LangText("提示", "Information"), BoxIcon::error);
    }
  } else {
    keys_[static_cast<std::size_t>(key)].name = name.toStdString();
  }
  ShowKeyFileNotices();
  FillKeys(key);
}
