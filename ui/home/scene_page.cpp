// The scene page.
#include "home/scene_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStackedWidget>
#include <algorithm>
#include <map>

#include "controls/gdip_button.h"
#include "controls/report_ctrl.h"
#include "controls/xbmp_slider.h"
#include "dialogs/tuning_dialog_kit.h"
#include "home/smart_home_pages.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace sh = vireo::smarthome;
namespace id = scene_page_id;
using sh::SceneEdit;
using sh::SceneStep;

constexpr int kDelayMin = 1;
constexpr int kDelayMax = 60;
constexpr int kDelayDefault = 5;
constexpr int kKnobDefault = 50;
constexpr SliderMargins kSliderMargins{3, 3, 3, 2};
const QColor kPageBackground(240, 240, 240);

struct Caption {
  int id;
  const char* zh;
  const char* en;
};

// Every captioned control of the page, so a language switch re-captions them all.
constexpr Caption kCaptions[] = {
    {id::sceneGroup, "情景", "Scene"},
    {id::stepGroup, "情景指令", "Commands"},
    {id::plugGroup, "设备", "Plug"},
    {id::keyGroup, "遥控键", "Remote key"},
    {id::delayGroup, "延时", "Delay"},
    {id::switchBox, "开", "ON"},
    {id::add, "添加", "Add"},
    {id::addKey, "添加按键", "Add key"},
    {id::addDelay, "添加延时", "Add delay"},
    {id::deleteStep, "删除", "Delete"},
    {id::up, "上移", "Up"},
    {id::down, "下移", "Down"},
    {id::clear, "清空", "Clear"},
    {id::modify, "修改", "Modify"},
    {id::save, "保存", "Save"},
    {id::test, "测试", "Test"},
    {id::resetValue, "重设值", "Reset value"},
    {id::resetKey, "重设按键", "Reset key"},
    {id::resetDelay, "重设延时", "Reset delay"},
};

QString Utf16(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

QString U8(const std::string& text) {
  return QString::fromStdString(text);
}

CXBmpSlider* MakeSlider(int controlId, int minimum, int maximum, QWidget* parent) {
  auto* slider = new CXBmpSlider(controlId, parent);
  slider->SetMargins(kSliderMargins);
  slider->SetBackgroundColor(kPageBackground);
  slider->SetRange(minimum, maximum);
  slider->setMinimumWidth(90);
  return slider;
}

QListWidget* MakeList(int controlId, QWidget* parent) {
  auto* list = new QListWidget(parent);
  SetControlId(list, controlId);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setMinimumHeight(52);  // three rows: the page must fit the smallest page area
  return list;
}

bool IsPlugNode(int node) {
  return node >= sh::kFirstPlugNode && node <= sh::kLastPlugNode;
}

}  // namespace

CDialogZwaveRemoter::CDialogZwaveRemoter(SmartHomeLink& link, QWidget* parent)
    : QWidget(parent), link_(link) {
  SetControlId(this, id::dialog);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kPageBackground);
  setPalette(palette);
  setAutoFillBackground(true);

  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->setSpacing(6);
  columns->addWidget(BuildScenes());
  columns->addWidget(BuildSteps(), 3);
  auto* right = new QVBoxLayout;
  right->setSpacing(4);
  BuildEditors(right);
  columns->addLayout(right, 2);
  SetTabOrder();
  Recaption();
  scenes_->setCurrentRow(0);
  RefreshLists();
}

QWidget* CDialogZwaveRemoter::BuildScenes() {
  auto* group = MakeDialogGroup(id::sceneGroup, QString(), this);
  auto* box = new QVBoxLayout(group);
  scenes_ = MakeList(id::sceneList, group);
  for (int s = 0; s < sh::kSceneCount; ++s) scenes_->addItem(QString());
  scenes_->setMinimumWidth(84);
  scenes_->setMaximumWidth(110);
  box->addWidget(scenes_, 1);
  box->addWidget(MakeButton(id::test, &CDialogZwaveRemoter::OnTest));
  box->addWidget(MakeButton(id::save, &CDialogZwaveRemoter::OnSave));
  connect(scenes_, &QListWidget::currentRowChanged, this, [this] { OnSceneChosen(); });
  return group;
}

QWidget* CDialogZwaveRemoter::BuildSteps() {
  auto* group = MakeDialogGroup(id::stepGroup, QString(), this);
  auto* box = new QVBoxLayout(group);
  stepList_ = new CReportCtrl(id::stepList, group);
  stepList_->setMinimumWidth(200);
  stepList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stepList_->installEventFilter(this);
  box->addWidget(stepList_, 1);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(MakeButton(id::up, &CDialogZwaveRemoter::OnUp));
  row1->addWidget(MakeButton(id::down, &CDialogZwaveRemoter::OnDown));
  row1->addWidget(MakeButton(id::deleteStep, &CDialogZwaveRemoter::OnDelete));
  auto* row2 = new QHBoxLayout;
  row2->addWidget(MakeButton(id::modify, &CDialogZwaveRemoter::OnModify));
  row2->addWidget(MakeButton(id::clear, &CDialogZwaveRemoter::OnClear));
  box->addLayout(row1);
  box->addLayout(row2);
  connect(stepList_, &QTableWidget::itemSelectionChanged, this, [this] { ShowEditorsFor(SelectedStep()); });
  // The list never scrolls by itself on the wheel (its rows are edited by sliders elsewhere); here it should.
  connect(stepList_, &CReportCtrl::wheelTurned, this, [this](int, int direction) {
    QScrollBar* bar = stepList_->verticalScrollBar();
    bar->setValue(bar->value() - direction);
  });
  return group;
}

void CDialogZwaveRemoter::BuildEditors(QVBoxLayout* column) {
  column->addWidget(BuildPlugEditor(), 3);
  column->addWidget(BuildKeyEditor(), 3);
  column->addWidget(BuildDelayEditor());
}

QWidget* CDialogZwaveRemoter::BuildPlugEditor() {
  auto* plugGroup = MakeDialogGroup(id::plugGroup, QString(), this);
  auto* plugBox = new QVBoxLayout(plugGroup);
  plugBox->setSpacing(4);
  plugs_ = MakeList(id::plugList, plugGroup);
  plugBox->addWidget(plugs_, 1);
  valueEditor_ = new QStackedWidget(plugGroup);
  switchBox_ = new QCheckBox(valueEditor_);
  SetControlId(switchBox_, id::switchBox);
  auto* levelRow = new QWidget(valueEditor_);
  auto* levelBox = new QHBoxLayout(levelRow);
  levelBox->setContentsMargins(0, 0, 0, 0);
  level_ = MakeSlider(id::levelSlider, 0, sh::kValueOn, levelRow);
  level_->SetPos(kKnobDefault);
  levelText_ = new QLabel(levelRow);
  SetControlId(levelText_, id::levelText);
  levelText_->setMinimumWidth(36);
  levelBox->addWidget(level_, 1);
  levelBox->addWidget(levelText_);
  valueEditor_->addWidget(new QWidget(valueEditor_));  // plugs of no known type take 0
  valueEditor_->addWidget(switchBox_);
  valueEditor_->addWidget(levelRow);
  valueEditor_->setFixedHeight(24);
  plugBox->addWidget(valueEditor_);
  auto* plugButtons = new QHBoxLayout;
  plugButtons->addWidget(MakeButton(id::add, &CDialogZwaveRemoter::OnAdd));
  plugButtons->addWidget(MakeButton(id::resetValue, &CDialogZwaveRemoter::OnResetValue));
  plugBox->addLayout(plugButtons);
  // The selection, not the current row: a mouse press makes the row current before it selects it, and
  // everything below asks for the selected plug.
  connect(plugs_, &QListWidget::itemSelectionChanged, this, [this] {
    ShowValueEditor();
    FillKeys();
  });
  connect(level_, &CXBmpSlider::positionChanged, this, [this] { UpdateValueTexts(); });
  // Enter or a double click on a plug adds it.
  connect(plugs_, &QListWidget::itemActivated, this, [this] { OnAdd(); });
  return plugGroup;
}

QWidget* CDialogZwaveRemoter::BuildKeyEditor() {
  auto* keyGroup = MakeDialogGroup(id::keyGroup, QString(), this);
  auto* keyBox = new QVBoxLayout(keyGroup);
  keyBox->setSpacing(4);
  keyList_ = MakeList(id::keyList, keyGroup);
  keyBox->addWidget(keyList_, 1);
  auto* keyButtons = new QHBoxLayout;
  keyButtons->addWidget(MakeButton(id::addKey, &CDialogZwaveRemoter::OnAddKey));
  keyButtons->addWidget(MakeButton(id::resetKey, &CDialogZwaveRemoter::OnResetKey));
  keyBox->addLayout(keyButtons);
  connect(keyList_, &QListWidget::itemActivated, this, [this] { OnAddKey(); });
  return keyGroup;
}

QWidget* CDialogZwaveRemoter::BuildDelayEditor() {
  auto* delayGroup = MakeDialogGroup(id::delayGroup, QString(), this);
  auto* delayBox = new QGridLayout(delayGroup);
  delayBox->setVerticalSpacing(4);
  delay_ = MakeSlider(id::delaySlider, kDelayMin, kDelayMax, delayGroup);
  delay_->SetPos(kDelayDefault);
  delayText_ = new QLabel(delayGroup);
  SetControlId(delayText_, id::delayText);
  delayText_->setMinimumWidth(36);
  delayBox->addWidget(delay_, 0, 0, 1, 2);
  delayBox->addWidget(delayText_, 0, 2);
  delayBox->addWidget(MakeButton(id::addDelay, &CDialogZwaveRemoter::OnAddDelay), 1, 0);
  delayBox->addWidget(MakeButton(id::resetDelay, &CDialogZwaveRemoter::OnResetDelay), 1, 1, 1, 2);
  connect(delay_, &CXBmpSlider::positionChanged, this, [this] { UpdateValueTexts(); });
  return delayGroup;
}

CGdipButton* CDialogZwaveRemoter::MakeButton(int controlId, void (CDialogZwaveRemoter::*slot)()) {
  auto* button = new CGdipButton(controlId);
  button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  connect(button, &CGdipButton::clicked, this, slot);
  return button;
}

void CDialogZwaveRemoter::SetTabOrder() {
  // Left to right, then top to bottom within each column: choose, edit, then save.
  const int order[] = {id::sceneList,   id::stepList,   id::up,         id::down,      id::deleteStep,
                       id::modify,      id::clear,      id::plugList,   id::switchBox, id::levelSlider,
                       id::add,         id::resetValue, id::keyList,    id::addKey,    id::resetKey,
                       id::delaySlider, id::addDelay,   id::resetDelay, id::test,      id::save};
  QWidget* previous = nullptr;
  for (int controlId : order) {
    QWidget* next = FindByControlId(this, controlId);
    if (previous != nullptr && next != nullptr) setTabOrder(previous, next);
    if (next != nullptr) previous = next;
  }
}

void CDialogZwaveRemoter::Recaption() {
  for (const Caption& c : kCaptions) {
    QWidget* control = FindByControlId(this, c.id);
    if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(LangText(c.zh, c.en));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(LangText(c.zh, c.en));
  }
  ApplyDialogTexts(this, id::dialog);
  for (int s = 0; s < sh::kSceneCount; ++s)
    scenes_->item(s)->setText(Utf16(sh::SceneName(s, LanguageIndex())));
  FillSteps(SelectedStep());
  UpdateValueTexts();
}

// --- lists ---

void CDialogZwaveRemoter::RefreshLists() {
  FillPlugs();
  // The window refreshes after every scene run, Test included: edits survive unless the PC copy of the
  // scene has changed under them (a read or a reset).
  std::vector<SceneStep> copy = link_.controller().memory().scene(currentScene());
  if (copy != loaded_) {
    loaded_ = copy;
    steps_ = std::move(copy);
    FillSteps(-1);
  } else {
    FillSteps(SelectedStep());
  }
}

void CDialogZwaveRemoter::FillPlugs() {
  const int chosen = SelectedPlug();
  const QSignalBlocker quiet(plugs_);
  plugs_->clear();
  for (int node : link_.controller().presentPlugs()) {
    auto* item = new QListWidgetItem(Utf16(link_.controller().memory().plug(node).name), plugs_);
    item->setData(Qt::UserRole, node);
    if (node == chosen) plugs_->setCurrentItem(item);
  }
  ShowValueEditor();
  FillKeys();
}

void CDialogZwaveRemoter::FillKeys() {
  const int node = SelectedPlug();
  const int chosen = SelectedKey();
  keys_.clear();
  keyList_->clear();
  if (node < 0) return;
  keys_ = KeysOf(node);
  for (const sh::PlugKey& key : keys_) keyList_->addItem(U8(key.name));
  if (chosen >= 0 && chosen < keyList_->count()) keyList_->setCurrentRow(chosen);
}

std::vector<sh::PlugKey> CDialogZwaveRemoter::KeysOf(int node) const {
  std::vector<sh::PlugKey> keys;
  std::string error;
  const std::string folder = link_.plugFolder();
  // A plug whose file does not exist yet has the default names; this page never creates files.
  if (folder.empty() || !sh::LoadPlugKeys(sh::PlugKeyFilePath(folder, node), &keys, &error)) {
    keys = sh::DefaultPlugKeys();
  }
  return keys;
}

void CDialogZwaveRemoter::FillSteps(int selectRow) {
  const QSignalBlocker quiet(stepList_);
  stepList_->DeleteAll();
  stepList_->InsertColumn(0, LangText("序号", "Index"), Qt::AlignCenter, 42);
  stepList_->InsertColumn(1, LangText("设备名称", "Name"), Qt::AlignLeft, 84);
  const QString parameter = LangText("参数", "Parameter");
  stepList_->InsertColumn(2, parameter, Qt::AlignLeft, 80);
  // The name gives way when a scroll bar appears: the parameter keeps at least its caption's width.
  QHeaderView* header = stepList_->horizontalHeader();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  stepList_->setColumnWidth(2, std::max(80, header->fontMetrics().horizontalAdvance(parameter) + 16));
  const int language = LanguageIndex();
  std::map<int, std::vector<sh::PlugKey>> keyFiles;  // each plug's file read once per fill
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    const SceneStep step = steps_[i];
    std::string keyName;
    const int key = step.value - sh::kEmitKeyBase;
    if (IsPlugNode(step.node) && key >= 0 && key < sh::kPlugKeyCount) {
      auto file = keyFiles.find(step.node);
      if (file == keyFiles.end()) file = keyFiles.emplace(step.node, KeysOf(step.node)).first;
      keyName = file->second[static_cast<std::size_t>(key)].name;
    }
    QString name;
    if (step.node == sh::kWaitNode) {
      name = LangText("延时", "Delay");
    } else if (step.node == sh::kHdmiNode) {
      name = LangText("HDMI输入", "HDMI input");
    } else {
      name = Utf16(link_.controller().memory().plug(step.node).name);
      if (name.isEmpty()) name = QStringLiteral("ID %1").arg(step.node);
    }
    const int row = stepList_->InsertRow(-1, QString::number(i + 1));
    stepList_->SetItemText(row, 1, name);
    stepList_->SetItemText(row, 2, U8(sh::StepValueText(step, language, keyName)));
  }
  if (selectRow >= 0 && selectRow < stepList_->rowCount()) {
    stepList_->selectRow(selectRow);
    stepList_->scrollToItem(stepList_->item(selectRow, 0));
  }
}

// --- editors ---

int CDialogZwaveRemoter::currentScene() const {
  return std::max(0, scenes_->currentRow());
}

int CDialogZwaveRemoter::SelectedPlug() const {
  const QListWidgetItem* item = plugs_->currentItem();
  return item != nullptr && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

int CDialogZwaveRemoter::SelectedStep() const {
  return stepList_->GetSelectedRow();
}

int CDialogZwaveRemoter::SelectedKey() const {
  const QListWidgetItem* item = keyList_->currentItem();
  return item != nullptr && item->isSelected() ? keyList_->row(item) : -1;
}

std::uint8_t CDialogZwaveRemoter::PlugValue(int node) const {
  return sh::StepValueForPlug(link_.controller().memory().plug(node).type, switchBox_->isChecked(),
                              level_->GetPos());
}

void CDialogZwaveRemoter::ShowValueEditor() {
  const int node = SelectedPlug();
  const int type = node < 0 ? 0 : link_.controller().memory().plug(node).type;
  if (type == static_cast<int>(sh::PlugType::switchPlug)) {
    valueEditor_->setCurrentIndex(1);
  } else if (type == static_cast<int>(sh::PlugType::knobPlug)) {
    valueEditor_->setCurrentIndex(2);
  } else {
    valueEditor_->setCurrentIndex(0);
  }
}

// A chosen step shows its plug, value, key or delay in the editors, so Modify and the Reset buttons start
// from what the step holds.
void CDialogZwaveRemoter::ShowEditorsFor(int row) {
  if (row < 0 || row >= static_cast<int>(steps_.size())) return;
  const SceneStep step = steps_[static_cast<std::size_t>(row)];
  if (step.node == sh::kWaitNode) {
    delay_->SetPos(step.value);
  } else if (IsPlugNode(step.node)) {
    for (int i = 0; i < plugs_->count(); ++i) {
      if (plugs_->item(i)->data(Qt::UserRole).toInt() == step.node) plugs_->setCurrentRow(i);
    }
    if (step.value >= sh::kEmitKeyBase && step.value < sh::kEmitKeyBase + sh::kPlugKeyCount) {
      keyList_->setCurrentRow(step.value - sh::kEmitKeyBase);
    } else if (step.value <= sh::kValueOn) {
      switchBox_->setChecked(step.value != sh::kValueOff);
      level_->SetPos(step.value);
    }
  }
  UpdateValueTexts();
}

void CDialogZwaveRemoter::UpdateValueTexts() {
  const int language = LanguageIndex();
  levelText_->setText(U8(sh::LevelSliderText(level_->GetPos(), language)));
  const SceneStep wait{sh::kWaitNode, static_cast<std::uint8_t>(delay_->GetPos())};
  delayText_->setText(U8(sh::StepValueText(wait, language, {})));
}

// --- edits ---

void CDialogZwaveRemoter::Notice(const char* zh, const char* en) {
  link_.ShowNotice(LangText(zh, en), kNoticeShortMs);
}

bool CDialogZwaveRemoter::Report(SceneEdit result, const char* selectionZh) {
  switch (result) {
    case SceneEdit::ok:
      return true;
    case SceneEdit::overRange:
      Notice("情景指令已达最大数量", "command over range");
      break;
    case SceneEdit::noSelection:
      Notice(selectionZh, "Please select a item");
      break;
    case SceneEdit::alreadyFirst:
      Notice("已移至首项", "Already be first");
      break;
    case SceneEdit::alreadyLast:
      Notice("已移至尾项", "Already be last");
      break;
    case SceneEdit::wrongKind:
      Notice("所选指令不能设置此项", "Not applicable to the selected command");
      break;
  }
  return false;
}

void CDialogZwaveRemoter::OnSceneChosen() {
  loaded_ = steps_ = link_.controller().memory().scene(currentScene());
  FillSteps(-1);
}

void CDialogZwaveRemoter::OnAdd() {
  const int node = SelectedPlug();
  if (node < 0) return Notice("请选择一个插座", "Please select a plug");
  const SceneStep step{static_cast<std::uint8_t>(node), PlugValue(node)};
  if (Report(sh::AppendStep(steps_, step), "请先选择列表项")) FillSteps(static_cast<int>(steps_.size()) - 1);
}

void CDialogZwaveRemoter::OnAddKey() {
  const int node = SelectedPlug();
  if (node < 0) return Notice("请选择一个插座", "Please select a plug");
  const int key = SelectedKey();
  if (key < 0) return Notice("请选择一个遥控键名", "Please select a remote key");
  const SceneStep step{static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(sh::kEmitKeyBase + key)};
  if (Report(sh::AppendStep(steps_, step), "请先选择列表项")) FillSteps(static_cast<int>(steps_.size()) - 1);
}

void CDialogZwaveRemoter::OnAddDelay() {
  const SceneStep step{sh::kWaitNode, static_cast<std::uint8_t>(delay_->GetPos())};
  if (Report(sh::AppendStep(steps_, step), "请先选择列表项")) FillSteps(static_cast<int>(steps_.size()) - 1);
}

void CDialogZwaveRemoter::OnDelete() {
  const int row = SelectedStep();
  if (Report(sh::DeleteStep(steps_, row), "请先选择列表项")) {
    FillSteps(std::min(row, static_cast<int>(steps_.size()) - 1));
  }
}

void CDialogZwaveRemoter::OnUp() {
  const int row = SelectedStep();
  if (Report(sh::MoveStepUp(steps_, row), "请先选择列表项")) FillSteps(row - 1);
}

void CDialogZwaveRemoter::OnDown() {
  const int row = SelectedStep();
  if (Report(sh::MoveStepDown(steps_, row), "请先选择列表项")) FillSteps(row + 1);
}

void CDialogZwaveRemoter::OnClear() {
  steps_.clear();
  FillSteps(-1);
}

// Modify puts the chosen plug with the value its editor shows in place of the selected step.
void CDialogZwaveRemoter::OnModify() {
  const int row = SelectedStep();
  if (row < 0) return Notice("请选择列表项", "Please select a item");
  const int node = SelectedPlug();
  if (node < 0) return Notice("请选择一个插座", "Please select a plug");
  const SceneStep step{static_cast<std::uint8_t>(node), PlugValue(node)};
  if (Report(sh::ReplaceStep(steps_, row, step), "请选择列表项")) FillSteps(row);
}

void CDialogZwaveRemoter::OnSave() {
  // Without a connection nothing reaches the machine, so "saved" would be untrue.
  if (!link_.connected() || !link_.controller().SaveScene(currentScene(), steps_)) {
    return Notice("请先连接设备!", "Please connect device!");
  }
  loaded_ = steps_;
  Notice("保存完成", "Save finished");
}

void CDialogZwaveRemoter::OnTest() {
  StartSceneRun(link_, currentScene(), true);
}

void CDialogZwaveRemoter::Reset(sh::StepPart part, std::uint8_t value) {
  const int row = SelectedStep();
  if (Report(sh::ResetStepPart(steps_, row, part, value), "请选择列表项")) FillSteps(row);
}

void CDialogZwaveRemoter::OnResetValue() {
  const int row = SelectedStep();
  const int node = row < 0 ? 0 : steps_[static_cast<std::size_t>(row)].node;
  Reset(sh::StepPart::value, PlugValue(node));
}

void CDialogZwaveRemoter::OnResetKey() {
  if (SelectedStep() < 0) return Notice("请选择列表项", "Please select a item");
  const int key = SelectedKey();
  if (key < 0) return Notice("请选择一个遥控键名", "Please select a remote key");
  Reset(sh::StepPart::key, static_cast<std::uint8_t>(sh::kEmitKeyBase + key));
}

void CDialogZwaveRemoter::OnResetDelay() {
  Reset(sh::StepPart::delay, static_cast<std::uint8_t>(delay_->GetPos()));
}

bool CDialogZwaveRemoter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == stepList_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool control = (key->modifiers() & Qt::ControlModifier) != 0;
    if (key->key() == Qt::Key_Delete) {
      OnDelete();
      return true;
    }
    if (control && key->key() == Qt::Key_Up) {
      OnUp();
      return true;
    }
    if (control && key->key() == Qt::Key_Down) {
      OnDown();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
