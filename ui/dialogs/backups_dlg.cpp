#include "dialogs/backups_dlg.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <variant>

#include "controls/eq_panel_painter.h"
#include "device/connection.h"
#include "dialogs/field_names.h"
#include "i18n/language_table.h"
#include "look/dialog_look.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "services/app_services.h"
#include "services/user_prompts.h"
#include "tuning/ab_compare.h"
#include "tuning/band_text.h"

namespace t = vireo::tuning;

QString BackupSourceText(const QString& source) {
  if (source == QLatin1String("open-file")) return LangText("打开模式文件", "Mode file opened");
  if (source == QLatin1String("restore")) return LangText("恢复备份", "Backup restored");
  if (source.startsWith(QLatin1String("factory-slot-")))
    return LangText("恢复出厂模式 ", "Factory mode ") + source.mid(13);
  if (source.startsWith(QLatin1String("remote-slot-")))
    return LangText("远程载入模式 %1", "Mode slot %1 (remote)").arg(source.mid(12));
  if (source.startsWith(QLatin1String("slot-"))) return LangText("载入模式 ", "Mode slot ") + source.mid(5);
  return source;
}

namespace {

QString ShapeText(const vireo::dsp::BandShape& b) {
  const std::string_view type = t::BandTypeName(b.type, LanguageIndex());
  return QStringLiteral("%1 %2 %3 Q %4")
      .arg(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())),
           QString::fromStdString(t::BandGainText(b.gainDb)),
           QString::fromStdString(t::BandFrequencyText(b.frequency)),
           QString::fromStdString(t::BandQText(b.q)));
}

// "what: now -> backup" for one value the backup holds differently.
QString DifferenceLine(const t::EditValue& now, const t::EditValue& kept) {
  if (const auto* f = std::get_if<t::FieldValue>(&now)) {
    const auto& k = std::get<t::FieldValue>(kept);
    return QStringLiteral("%1: %2 → %3")
        .arg(FieldDisplayName(f->name, f->element, LanguageIndex()))
        .arg(f->value)
        .arg(k.value);
  }
  if (const auto* b = std::get_if<t::BandValue>(&now)) {
    const auto& k = std::get<t::BandValue>(kept);
    return QStringLiteral("%1 %2 %3: %4 → %5")
        .arg(EqIdentityTitle(b->identity, LanguageIndex()), LangText("频段", "band"))
        .arg(b->band + 1)
        .arg(ShapeText(b->shape), ShapeText(k.shape));
  }
  if (const auto* g = std::get_if<t::LocationGainValue>(&now)) {
    const auto& k = std::get<t::LocationGainValue>(kept);
    return LangText("通道%1 声场修正: %2 dB → %3 dB", "CH%1 location correction: %2 dB → %3 dB")
        .arg(g->channel + 1)
        .arg(static_cast<double>(g->db), 0, 'f', 2)
        .arg(static_cast<double>(k.db), 0, 'f', 2);
  }
  if (std::holds_alternative<t::LocationValue>(now))
    return LangText("声场定位的房间与位置", "Sound-field room and positions");
  return {};
}

// The values in which the backup at `path` differs from the store; empty when the file cannot be read.
std::vector<t::EditValue> Differences(const vireo::ParameterStore& store, const std::string& path,
                                      bool* readable) {
  vireo::ParameterStore kept;
  vireo::ResetStoreDefaults(kept);
  *readable = vireo::ReadModeFile(kept, path).ok;
  if (!*readable) return {};
  return t::DifferingValues(store, kept);
}

}  // namespace

CBackupsDlg::CBackupsDlg(AppServices& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      list_(new QTreeWidget(this)),
      details_(new QPlainTextEdit(this)),
      restore_(new QPushButton(LangText("恢复到机器", "Restore to the machine"), this)) {
  setWindowTitle(LangText("自动备份", "Backups"));
  ApplyDialogBackground(this);
  resize(820, 460);
  auto* hint = new QLabel(LangText("每次覆盖机器的调音之前，都会先把它备份在这里（保留最近 50 个）。",
                                   "Before anything overwrites the machine's tuning, it is kept here (the "
                                   "newest 50)."),
                          this);
  hint->setWordWrap(true);
  list_->setHeaderLabels(
      {LangText("时间", "Time"), LangText("来源", "Source"), LangText("不同项", "Differences")});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  details_->setReadOnly(true);
  details_->setPlaceholderText(LangText("选择一个备份以查看它与当前调音的不同之处。",
                                        "Choose a backup to see how it differs from the tuning now."));
  auto* close = new QPushButton(LangText("关闭", "Close"), this);
  auto* panes = new QHBoxLayout;
  panes->addWidget(list_, 1);
  panes->addWidget(details_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(restore_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addLayout(panes, 1);
  layout->addLayout(buttons);
  restore_->setEnabled(false);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowDetails(); });
  connect(list_, &QTreeWidget::itemActivated, this, [this] { RestoreChosen(); });
  connect(restore_, &QPushButton::clicked, this, &CBackupsDlg::RestoreChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  Fill();
}

void CBackupsDlg::Fill() {
  entries_ = vireo::ListBackups(app_.backupFolder().toStdString());
  list_->clear();
  for (const vireo::BackupEntry& entry : entries_) {
    bool readable = false;
    const std::size_t count = Differences(app_.store(), entry.path, &readable).size();
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::fromStdString(entry.time));
    item->setText(1, BackupSourceText(QString::fromStdString(entry.source)));
    item->setText(2, readable ? QString::number(count) : LangText("无法读取", "unreadable"));
  }
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
}

void CBackupsDlg::ShowDetails() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  restore_->setEnabled(row >= 0);
  if (row < 0) {
    details_->clear();
    return;
  }
  bool readable = false;
  const std::vector<t::EditValue> kept =
      Differences(app_.store(), entries_[static_cast<std::size_t>(row)].path, &readable);
  if (!readable) {
    details_->setPlainText(LangText("这个备份无法读取。", "This backup cannot be read."));
    restore_->setEnabled(false);
    return;
  }
  if (kept.empty()) {
    details_->setPlainText(LangText("与当前调音相同。", "The same as the tuning now."));
    return;
  }
  QStringList lines;
  for (const t::EditValue& value : kept) lines << DifferenceLine(t::ReadValue(app_.store(), value), value);
  details_->setPlainText(lines.join(QLatin1Char('\n')));
}

void CBackupsDlg::RestoreChosen() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0 || !restore_->isEnabled()) return;
  if (!app_.connection().connected()) {
    app_.ShowNotice(LangText("请先连接机器", "Please connect device"), kNoticeShortMs);
    return;
  }
  if (!AskYesNo(this,
                LangText("用这个备份覆盖机器当前的调音吗？（当前的调音会先被备份）",
                         "Overwrite the machine's tuning with this backup? (The tuning now is backed "
                         "up first.)"),
                LangText("自动备份", "Backups")))
    return;
  const QString path = QString::fromStdString(entries_[static_cast<std::size_t>(row)].path);
  accept();
  app_.OpenModeFileByPath(path, QStringLiteral("restore"));
}
