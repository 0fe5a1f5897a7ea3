// The remote-learning window.
#include "home/remote_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <string>

#include "controls/gdip_button.h"
#include "home/remote_picture.h"
#include "home/remote_study_dlg.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "services/app_services.h"
#include "services/mode_file_loading.h"
#include "services/smart_home_link.h"
#include "services/user_prompts.h"
#include "smarthome/remote_keys.h"

namespace id = remote_dlg_id;
using vireo::smarthome::RemoteKeyTable;

namespace {

const char* const kRemoteFilter = "Remote Data File(*.remo)";
// A read-all may replace the table while the window is open; the codes follow within this time.
constexpr int kRefreshMs = 500;

// The function's name: its learning text without the lead-in ("Learning key:").
QString FunctionName(int function) {
  if (function == 0) return LangText("不支持该功能", "No support!");
  const QString text = QString::fromStdString(vireo::smarthome::LearningText(function, LanguageIndex()));
  const qsizetype colon = std::max(text.indexOf(QChar(0xFF1A)), text.indexOf(QLatin1Char(':')));
  return text.mid(colon + 1).trimmed();
}

RemoteKeyTable TableOf(const vireo::ParameterStore& store) {
  RemoteKeyTable table{};
  store.ReadBytes(vireo::Region::remoteKeyTable, 0, table);
  return table;
}

}  // namespace

CRemoteDlg::CRemoteDlg(SmartHomeLink& link, QWidget* parent) : QDialog(parent), link_(link) {
  SetControlId(this, id::dialog);
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ApplyDialogBackground(this);

  picture_ = new CRemotePicture(this);
  SetControlId(picture_, id::picture);
  connect(picture_, &CRemotePicture::keyActivated, this, &CRemoteDlg::OnKeyActivated);
  hint_ = new QLabel(this);
  SetControlId(hint_, id::hint);
  hint_->setWordWrap(true);
  hint_->setFont(SongTiFont(13, 400));
  hint_->setStyleSheet(QStringLiteral("color: rgb(50, 64, 84);"));
  hint_->setMinimumWidth(150);
  // The key in view, large: its function and the code learned for it.
  auto* card = new QFrame(this);
  card->setObjectName(QStringLiteral("keyCard"));
  card->setStyleSheet(QStringLiteral(
      "#keyCard { background: white; border: 1px solid rgb(186, 210, 234); border-radius: 8px; }"));
  keyName_ = new QLabel(card);
  SetControlId(keyName_, id::keyName);
  keyName_->setWordWrap(true);
  keyName_->setFont(HeiTiFont(16, 700));
  keyName_->setStyleSheet(QStringLiteral("color: rgb(24, 58, 110);"));
  keyCode_ = new QLabel(card);
  keyCode_->setTextFormat(Qt::RichText);
  SetControlId(keyCode_, id::keyCode);
  QFont mono;
  mono.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
  mono.setPixelSize(22);
  mono.setBold(true);
  keyCode_->setFont(mono);
  keyCode_->setStyleSheet(QStringLiteral("color: rgb(30, 110, 170);"));
  auto* cardColumn = new QVBoxLayout(card);
  cardColumn->setContentsMargins(14, 12, 14, 12);
  cardColumn->setSpacing(6);
  cardColumn->addWidget(keyName_);
  cardColumn->addWidget(keyCode_);
  connect(picture_, &CRemotePicture::keyShown, this, &CRemoteDlg::ShowKeyInfo);

  apply_ = new CGdipButton(id::apply, QString(), this);
  load_ = new CGdipButton(id::loadFile, QString(), this);
  save_ = new CGdipButton(id::saveFile, QString(), this);
  for (CGdipButton* b : {apply_, load_, save_}) b->setMinimumSize(150, 30);
  connect(apply_, &CGdipButton::clicked, this, &CRemoteDlg::OnApply);
  connect(load_, &CGdipButton::clicked, this, &CRemoteDlg::OnLoadFile);
  connect(save_, &CGdipButton::clicked, this, &CRemoteDlg::OnSaveFile);

  auto* side = new QVBoxLayout;
  side->setSpacing(10);
  side->addWidget(hint_);
  side->addSpacing(6);
  side->addWidget(card);
  side->addStretch(1);
  side->addWidget(load_);
  side->addWidget(save_);
  side->addSpacing(14);
  side->addWidget(apply_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(16, 16, 18, 18);
  row->setSpacing(22);
  row->addWidget(picture_, 1);
  row->addLayout(side);
  setTabOrder(picture_, load_);
  setTabOrder(load_, save_);
  setTabOrder(save_, apply_);
  picture_->setFocus();

  // The level meters would compete with the learning exchange for the link.
  pollWasOn_ = link_.meterPollEnabled();
  link_.setMeterPollEnabled(false);

  connect(&refresh_, &QTimer::timeout, this, &CRemoteDlg::RefreshKeyCodes);
  refresh_.start(kRefreshMs);
  RefreshKeyCodes();
  Recaption();
}

CRemoteDlg::~CRemoteDlg() {
  RestoreMeterPoll();
}

void CRemoteDlg::Recaption() {
  setWindowTitle(LangText("遥控学习", "Learn remoter control"));
  hint_->setText(
      LangText("点击图中遥控器上的按键开始学习，再将您的遥控器对准机器，按下要用于该功能的按键。"
               "每个键下方显示它已学习的键码。",
               "Click a key of the pictured remote to learn it, then point your own remote at the "
               "machine and press the key that is to do its job. Each key shows the code learned "
               "for it."));
  apply_->setText(LangText("应用设置", "Apply"));
  load_->setText(LangText("载入文件", "Load file"));
  save_->setText(LangText("保存文件", "Save file"));
  ShowKeyInfo(shownKey_);
  ApplyLanguageTexts(this, id::dialog);
  if (study_) study_->Recaption();
}

void CRemoteDlg::RefreshKeyCodes() {
  const RemoteKeyTable table = TableOf(link_.store());
  if (table == shownTable_) return;
  shownTable_ = table;
  picture_->SetCodes(table);
  ShowKeyInfo(shownKey_);
}

void CRemoteDlg::ShowKeyInfo(int slot) {
  shownKey_ = slot;
  const int function = remote_keypad::Keys()[static_cast<std::size_t>(slot)].function;
  keyName_->setText(FunctionName(function));
  const std::uint8_t code =
      link_.store().Byte(vireo::Region::remoteKeyTable, static_cast<std::size_t>(function));
  // A small caption before the large code.
  const QString caption = QStringLiteral(
                              "<span style=\"font-family:sans-serif; font-size:13px; font-weight:normal; "
                              "color:#5a6a80\">%1</span>&nbsp;&nbsp;")
                              .arg(LangText("已学习键码", "Learned code").toHtmlEscaped());
  keyCode_->setText(function == 0 ? QStringLiteral("—") : caption + QString::asprintf("%02X", code));
}

void CRemoteDlg::OnKeyLearned(int code) {
  if (study_) study_->OnKeyLearned(code);
  RefreshKeyCodes();
}

void CRemoteDlg::done(int result) {
  RestoreMeterPoll();
  QDialog::done(result);
}

void CRemoteDlg::RestoreMeterPoll() {
  if (pollRestored_) return;
  pollRestored_ = true;
  // A window closed in the middle of a learn (the application closing) still stops the machine's learning.
  if (study_) study_->reject();
  refresh_.stop();
  link_.setMeterPollEnabled(pollWasOn_);
}

bool CRemoteDlg::RequireConnection() {
  if (link_.connected()) return true;
  link_.ShowNotice(LangText("请先连接机器再进行此操作!", "Please connect the machine first!"),
                   kNoticeShortMs);
  return false;
}

void CRemoteDlg::OnKeyActivated(int slot) {
  const int function = remote_keypad::Keys()[static_cast<std::size_t>(slot)].function;
  if (function == 0) {
    ShowMessage(this, LangText("不支持该功能", "No support!"), LangText("提示", "Information"),
                BoxIcon::information);
    return;
  }
  // Without a machine no code can come, and the learning dialog would wait for nothing.
  if (study_ || !RequireConnection()) return;
  const std::uint8_t index = static_cast<std::uint8_t>(function);
  link_.SendCommand(vireo::code::learnKey, std::span<const std::uint8_t>(&index, 1), false);
  study_ = new CRemoteStudyDlg(link_, function, this);
  study_->setAttribute(Qt::WA_DeleteOnClose);
  study_->setWindowModality(Qt::ApplicationModal);
  connect(study_, &QDialog::finished, this, [this] {
    RefreshKeyCodes();
    picture_->setFocus();
  });
  study_->show();
  study_->raise();
  study_->activateWindow();
}

void CRemoteDlg::OnApply() {
  if (!RequireConnection()) return;
  const RemoteKeyTable table = TableOf(link_.store());
  link_.SendCommand(vireo::code::writeKeyTable, table, false);
  link_.ShowNotice(LangText("遥控器键码保存成功!", "Save successed !"), kNoticeShortMs);
}

void CRemoteDlg::OnLoadFile() {
  if (!RequireConnection()) return;
  FileDialogRequest request;
  request.filter = QString::fromLatin1(kRemoteFilter);
  const QString path = Prompts().ChooseFile(this, request);
  if (path.isEmpty()) return;
  RemoteKeyTable table = TableOf(link_.store());
  int openError = 0;
  if (!vireo::smarthome::ReadRemoteFile(path.toStdString(), &table, nullptr, &openError)) {
    if (openError != 0) ShowFileOpenFailure(path, this);
    link_.ShowNotice(LangText("载入遥控文件失败", "Failed to load the remote file"), kNoticeShortMs);
    return;
  }
  link_.store().WriteBytes(vireo::Region::remoteKeyTable, 0, table);
  link_.SendCommand(vireo::code::writeKeyTable, table, false);
  RefreshKeyCodes();
  link_.ShowNotice(LangText("载入遥控文件成功", "Remote file loaded"), kNoticeShortMs);
}

void CRemoteDlg::OnSaveFile() {
  if (!RequireConnection()) return;
  FileDialogRequest request;
  request.save = true;
  request.filter = QString::fromLatin1(kRemoteFilter);
  request.defaultSuffix = QStringLiteral("remo");
  const QString chosen = Prompts().ChooseFile(this, request);
  if (chosen.isEmpty()) return;
  const QString path = QString::fromStdString(vireo::smarthome::RemoteFilePath(chosen.toStdString()));
  // The file dialog asked about the name as typed; a typed "keep.dat" is saved as "keep.remo", which
  // may be another file the user keeps.
  if (path != chosen && QFileInfo::exists(path) &&
      !AskYesNo(this,
                LangText("%1 已存在。\n要替换它吗？", "%1 already exists.\nDo you want to replace it?")
                    .arg(QDir::toNativeSeparators(path)),
                windowTitle())) {
    return;
  }
  int errorCode = 0;
  if (!vireo::smarthome::WriteRemoteFile(path.toStdString(), TableOf(link_.store()), &errorCode)) {
    if (errorCode != 0) {
      ShowFileWriteFailure(errorCode, path, this);
    } else {
      ShowFileOpenFailure(path, this);
    }
    link_.ShowNotice(LangText("保存遥控文件失败", "Failed to save the remote file"), kNoticeShortMs);
    return;
  }
  link_.ShowNotice(LangText("保存遥控文件成功", "Remote file saved"), kNoticeShortMs);
}

void CRemoteDlg::keyPressEvent(QKeyEvent* event) {
  // The drawn buttons are no push buttons: Enter presses the one that has the focus.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()); button && isAncestorOf(button)) {
      button->click();
      event->accept();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}
