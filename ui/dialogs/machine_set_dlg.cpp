// The machine settings dialog.
#include "dialogs/machine_set_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "controls/gdip_button.h"
#include "controls/xbmp_slider.h"
#include "device/connection.h"
#include "device/debug_log.h"
#include "dialogs/dialog_edits.h"
#include "dialogs/tuning_dialog_kit.h"
#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace t = vireo::tuning;
namespace id = machine_set_id;

constexpr int kPlugNoticeMs = 4000;

QString U8(const char* text) {
  return QString::fromUtf8(text);
}

int AppliedByte(const vireo::ParameterStore& store, int byte) {
  return store.Byte(vireo::Region::machineSettings, static_cast<std::size_t>(byte));
}

}  // namespace

CMachineSetDlg::CMachineSetDlg(AppServices& app, QWidget* parent) : QDialog(parent), app_(app) {
  SetControlId(this, dlg::machineSettings);
  MakeModeless(this);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(U8("机器设置"));

  // Template texts; the language table replaces most of them.
  auto* volumes = MakeDialogGroup(1197, U8("音量相关设置"), this);
  auto* grid = new QGridLayout(volumes);
  grid->setColumnStretch(1, 1);
  rows_[0].which = t::StartVolume::mic;
  rows_[1].which = t::StartVolume::music;
  BuildVolumes(rows_[0], 1005, 1006, "话筒开机音量", "话筒最大音量");
  BuildVolumes(rows_[1], 1002, 1131, "音乐开机音量", "音乐最大音量");
  for (int r = 0; r < 2; ++r) {
    StartRow& row = rows_[static_cast<std::size_t>(r)];
    grid->addWidget(row.caption, r, 0);
    grid->addWidget(row.start, r, 1);
    grid->addWidget(row.startValue, r, 2);
    grid->addWidget(row.enable, r, 3);
  }
  for (int r = 0; r < 2; ++r) {
    StartRow& row = rows_[static_cast<std::size_t>(r)];
    grid->addWidget(FindByControlId<QLabel>(volumes, r == 0 ? 1006 : 1131), r + 2, 0);
    grid->addWidget(row.max, r + 2, 1);
    grid->addWidget(row.maxValue, r + 2, 2);
  }

  auto* save = MakeDialogGroup(1201, U8("参数保存方式"), this);
  auto* saveRow = new QHBoxLayout(save);
  saveRow->addWidget(MakeDialogLabel(1239, U8("主音量和\n输入源："), save));
  byPower_ = new QRadioButton(U8("更改后自动保存"), save);
  byMode_ = new QRadioButton(U8("随模式保存"), save);
  SetControlId(byPower_, id::byPower);
  SetControlId(byMode_, id::byMode);
  saveRow->addWidget(byPower_);
  saveRow->addWidget(byMode_);
  saveRow->addStretch(1);
  connect(byPower_, &QRadioButton::clicked, this, [this] { t::SetVolumeSaveMode(app_.store(), 0); });
  connect(byMode_, &QRadioButton::clicked, this, [this] { t::SetVolumeSaveMode(app_.store(), 1); });

  auto* powerOn = MakeDialogGroup(1202, U8("其他参数"), this);
  auto* powerRow = new QHBoxLayout(powerOn);
  powerRow->addWidget(MakeDialogLabel(1238, U8("机器开机指定模式"), powerOn));
  powerOn_ = new QComboBox(powerOn);
  SetControlId(powerOn_, id::powerOnList);
  powerOn_->addItems({"Auto", "M1", "M2", "M3", "M4"});
  powerRow->addWidget(powerOn_);
  powerRow->addStretch(1);
  connect(powerOn_, &QComboBox::activated, this,
          [this](int index) { t::SetPowerOnMode(app_.store(), index); });

  auto* plugs = MakeDialogGroup(1185, U8("重置插座数据"), this);
  auto* plugRow = new QHBoxLayout(plugs);
  auto* clear = new CGdipButton(id::clearPlugs, U8("清空插座数据"), plugs);
  auto* plugText = new QLabel(
      U8("当因为意外情况，导致插座数据出错，而无法启动智能插座的控制界面时，您可以点击“清空插座数据”后重试"),
      plugs);
  plugText->setWordWrap(true);
  plugRow->addWidget(clear);
  plugRow->addWidget(plugText, 1);
  connect(clear, &CGdipButton::clicked, this, &CMachineSetDlg::OnClearPlugs);

  auto* factory = MakeDialogGroup(1183, U8("重置机器模式"), this);
  auto* modeRow = new QHBoxLayout(factory);
  for (int k = 0; k < 4; ++k) {
    CGdipButton*& b = modes_[static_cast<std::size_t>(k)];
    b = new CGdipButton(id::firstModeButton + k, QStringLiteral("M%1").arg(k + 1), factory);
    b->setMinimumWidth(56);
    modeRow->addWidget(b);
    connect(b, &CGdipButton::clicked, this, [this, k] { OnModeButton(k); });
  }
  modeRow->addStretch(1);

  auto* applyButton = new CGdipButton(id::apply, U8("应用设置"), this);
  auto* cancelButton = new CGdipButton(id::cancel, U8("取消设置"), this);
  connect(applyButton, &CGdipButton::clicked, this, &CMachineSetDlg::OnApply);
  connect(cancelButton, &CGdipButton::clicked, this, &CMachineSetDlg::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(applyButton);
  buttons->addWidget(cancelButton);

  auto* column = new QVBoxLayout(this);
  for (QWidget* w : std::initializer_list<QWidget*>{volumes, save, powerOn, plugs, factory})
    column->addWidget(w);
  column->addLayout(buttons);

  FillFromSettings();
  ApplyLanguage();
}

void CMachineSetDlg::BuildVolumes(StartRow& row, int captionId, int maxCaptionId, const char* zh,
                                  const char* maxZh) {
  QWidget* group = FindByControlId<QGroupBox>(this, 1197);
  const bool mic = row.which == t::StartVolume::mic;
  row.caption = MakeDialogLabel(captionId, U8(zh), group);
  row.start = MakeDialogSlider(mic ? id::micStartSlider : id::musicStartSlider, 0, t::kSettingsVolumeTop,
                               group, app_.edits());
  row.startValue = MakeDialogLabel(mic ? id::micStartValue : id::musicStartValue, QString(), group);
  row.enable = new QCheckBox(U8("启用"), group);
  SetControlId(row.enable, mic ? id::micStartBox : id::musicStartBox);
  MakeDialogLabel(maxCaptionId, U8(maxZh), group);
  row.max = MakeDialogSlider(mic ? id::micMaxSlider : id::musicMaxSlider, t::kMaxVolumeLowest,
                             t::kSettingsVolumeTop, group, app_.edits());
  row.maxValue = MakeDialogLabel(mic ? id::micMaxValue : id::musicMaxValue, QString(), group);
  for (QLabel* value : {row.startValue, row.maxValue}) value->setMinimumWidth(48);
  const std::size_t k = mic ? 0 : 1;
  connect(row.start, &CXBmpSlider::positionChanged, this,
          [this, k](int, int position) { OnStartMoved(rows_[k], position); });
  connect(row.max, &CXBmpSlider::positionChanged, this,
          [this, k](int, int position) { OnMaxMoved(rows_[k], position); });
  connect(row.enable, &QCheckBox::clicked, this, [this, k](bool on) { OnEnableClicked(rows_[k], on); });
}

// The start row from a settings byte: a disabled start sits at the bottom, greyed, "无效" / "Invalid".
void CMachineSetDlg::ShowStart(StartRow& row, int byte) {
  const bool enabled = byte != t::kStartVolumeOff;
  row.enable->setChecked(enabled);
  row.start->SetPos(enabled ? byte : row.start->minimum());
  for (QWidget* w : std::initializer_list<QWidget*>{row.start, row.caption, row.startValue})
    w->setEnabled(enabled);
  row.startValue->setText(enabled ? QString::number(row.start->GetPos()) : LangText("无效", "Invalid"));
}

void CMachineSetDlg::FillFromSettings() {
  const t::SettingsBytes applied = t::AppliedSettings(app_.store());
  for (StartRow& row : rows_) {
    const bool mic = row.which == t::StartVolume::mic;
    const int max =
        applied[static_cast<std::size_t>(mic ? t::settings_byte::micMax : t::settings_byte::musicMax)];
    row.max->SetPos(max);
    row.start->SetRange(0, max);
    row.maxValue->setText(QString::number(max));
    ShowStart(
        row,
        applied[static_cast<std::size_t>(mic ? t::settings_byte::micStart : t::settings_byte::musicStart)]);
  }
  powerOn_->setCurrentIndex(
      std::clamp(AppliedByte(app_.store(), t::settings_byte::powerOnMode), 0, t::kPowerOnModes - 1));
  (AppliedByte(app_.store(), t::settings_byte::saveMode) != 0 ? byMode_ : byPower_)->setChecked(true);
  UpdateModeButtons();
}

void CMachineSetDlg::ApplyLanguage() {
  ApplyDialogTexts(this, dlg::machineSettings);
  for (StartRow& row : rows_) {
    if (!row.enable->isChecked()) row.startValue->setText(LangText("无效", "Invalid"));
  }
}

void CMachineSetDlg::UpdateModeButtons() {
  const int current = app_.store().currentMode();
  for (std::size_t k = 0; k < modes_.size(); ++k) modes_[k]->SetCheck(static_cast<int>(k) == current);
}

void CMachineSetDlg::OnStartMoved(StartRow& row, int position) {
  const int v = DialogEdits(app_.edits()).MoveStartVolume(row.which, position);
  row.startValue->setText(QString::number(v));
}

void CMachineSetDlg::OnMaxMoved(StartRow& row, int position) {
  const int v = DialogEdits(app_.edits()).MoveMaxVolume(row.which, position);
  row.start->SetRange(0, v);
  row.maxValue->setText(QString::number(v));
  // The operation pulled an enabled start volume down with it.
  if (row.enable->isChecked()) {
    row.start->SetPos(t::WorkingSettings(app_.store())[row.which == t::StartVolume::mic ? 3u : 4u]);
    row.startValue->setText(QString::number(row.start->GetPos()));
  }
}

void CMachineSetDlg::OnEnableClicked(StartRow& row, bool on) {
  vireo::ParameterStore& store = app_.store();
  t::EnableStartVolume(store, row.which, on);
  ShowStart(row, t::WorkingSettings(store)[row.which == t::StartVolume::mic ? 3u : 4u]);
}

void CMachineSetDlg::OnModeButton(int slot) {
  if (app_.connection().connected()) {
    vireo::DebugLog("Start thread:SynchronizeData\n");
    app_.RestoreFactorySlot(slot);
  }
  UpdateModeButtons();
}

void CMachineSetDlg::OnClearPlugs() {
  if (!app_.connection().connected() || !ConfirmSmartHomeWipe(this)) return;
  vireo::DebugLog("Start thread:SynchronizeData\n");
  // The same clearing as the smart-plug window's reset (controller defaults, empty scenes, the plug
  // table read again), for when that window can no longer be opened; the key files go with the plugs,
  // into a backup folder inside the key folder.
  SmartHomeLink& home = app_.smartHome();
  if (home.controller().StartReset() && !home.plugFolder().empty())
    vireo::smarthome::BackUpAndClearPlugFolder(home.plugFolder());
  app_.ShowNotice(LangText("正在清除插座数据，请稍等……", "Resetting, wait a moment"), kPlugNoticeMs);
}

void CMachineSetDlg::OnApply() {
  // Without a machine the applied copy still changes (the next synchronisation replaces it), but the
  // notice must not claim that the machine took the settings.
  const bool connected = app_.connection().connected();
  DialogEdits(app_.edits()).ApplySettings();
  app_.ShowNotice(connected ? LangText("机器设置已生效!", "Setting valid")
                            : LangText("请先连接机器", "Please connect device"),
                  kNoticeShortMs);
}

void CMachineSetDlg::reject() {
  if (!closing_) {
    closing_ = true;
    t::DiscardSettingsEdits(app_.store());
    app_.RefreshVolumeControls();
  }
  QDialog::reject();
  deleteLater();
}
