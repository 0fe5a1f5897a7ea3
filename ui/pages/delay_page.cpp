// The delay page.
#include "pages/delay_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QWheelEvent>

#include "controls/delay_panel.h"
#include "controls/up_down_ctrl.h"
#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"
#include "pages/delay_layout.h"
#include "pages/output_nav.h"
#include "pages/page_edits.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"

namespace t = vireo::tuning;
namespace id = delay_page_id;

namespace {
constexpr int kHighFreqButton = static_cast<int>(t::DelayMode::highFreq);
constexpr int kChannelButton = static_cast<int>(t::DelayMode::channel);

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

CDelayDlg::CDelayDlg(AppServices& services, QWidget* parent)
    : CPage(PageKind::delay, services, parent), graph_(new CDelayPanel(this)), nav_(new COutputNavBar(this)) {
  SetControlId(graph_, id::graph);
  graph_->SetChannelCount(vireo::kOutputChannels);
  TrackEditGestures(graph_, app().edits());
  connect(graph_, &CDelayPanel::DelayChanged, this,
          [this](int channel, float ms) { OnGraphDrag(channel, ms); });
  for (int c = 0; c < vireo::kOutputChannels; ++c) BuildRow(c);
  ApplyTexts();
  RefreshFromStore();
}

void CDelayDlg::BuildRow(int c) {
  Row& row = rows_[static_cast<std::size_t>(c)];
  const std::size_t i = static_cast<std::size_t>(c);
  row.onBox = new QCheckBox(this);
  SetControlId(row.onBox, id::firstSwitch + c);
  connect(row.onBox, &QCheckBox::clicked, this, [this, c](bool checked) { OnSwitch(c, checked); });

  row.highFreq = new QRadioButton(this);
  row.channel = new QRadioButton(this);
  SetControlId(row.highFreq, id::firstRadio + 2 * c);
  SetControlId(row.channel, id::firstRadio + 2 * c + 1);
  // Each row's pair is a choice of its own.
  row.mode = new QButtonGroup(this);
  row.mode->addButton(row.highFreq, kHighFreqButton);
  row.mode->addButton(row.channel, kChannelButton);
  connect(row.mode, &QButtonGroup::idClicked, this,
          [this, c](int button) { OnMode(c, static_cast<t::DelayMode>(button)); });

  row.name = new QLabel(this);
  SetControlId(row.name, id::names[i]);

  row.slider = new CXBmpSlider(id::sliders[i], this);
  row.slider->SetMargins(kDelaySliderMargins);
  row.slider->SetBackgroundColor(kDialogBackground);
  row.slider->SetRange(0, vireo::kSplitEntries - 1);
  TrackEditGestures(row.slider, app().edits());
  connect(row.slider, &CXBmpSlider::positionChanged, this, [this, c](int, int index) { OnSplit(c, index); });
  row.splitText = new QLabel(this);
  SetControlId(row.splitText, id::splitTexts[i]);
  row.splitText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  row.delayEdit = new QLineEdit(this);
  SetControlId(row.delayEdit, id::firstDelayEdit + c);
  row.delayEdit->setAlignment(Qt::AlignCenter);
  connect(row.delayEdit, &QLineEdit::returnPressed, this, [this, c] { OnEnter(c); });
  row.upDown = new CUpDownCtrl(id::firstUpDown + c, this);
  row.upDown->SetRange(t::kDelayUpDownMin, t::kDelayUpDownMax);
  connect(row.upDown, &CUpDownCtrl::clicked, this,
          [this, c](int, int position, bool up) { OnUpDown(c, position, up); });
}

void CDelayDlg::ApplyTexts() {
  CPage::ApplyLanguage();
  const int dialog = templateId();
  for (int c = 0; c < vireo::kOutputChannels; ++c) {
    Row& row = rows_[static_cast<std::size_t>(c)];
    row.onBox->setText(DialogText(dialog, id::firstSwitch + c, "开关", "ON").trimmed());
    row.highFreq->setText(DialogText(dialog, id::firstRadio + 2 * c, "高频延时", "High Freq").trimmed());
    row.channel->setText(DialogText(dialog, id::firstRadio + 2 * c + 1, "通道延时", "Channel").trimmed());
    const QString name =
        LanguageIndex() == 1 ? QStringLiteral("CH %1").arg(c + 1) : QString::fromUtf8("通道%1").arg(c + 1);
    row.name->setText(DialogText(dialog, id::names[static_cast<std::size_t>(c)], name).trimmed());
  }
}

void CDelayDlg::ApplyLanguage() {
  ApplyTexts();
  nav_->ApplyLanguage();
}

void CDelayDlg::RefreshFromStore() {
  const vireo::ParameterStore& store = app().store();
  for (int c = 0; c < vireo::kOutputChannels; ++c) {
    Row& row = rows_[static_cast<std::size_t>(c)];
    const float ms = t::ChannelDelay(store, c);
    row.upDown->SetPos(t::DelayUpDownPosition(ms));
    row.delayEdit->setText(Text(t::DelayText(ms)));
    graph_->SetValue(c, ms);
    const int split = t::ChannelSplitIndex(store, c);
    row.slider->SetPos(split);
    row.splitText->setText(Text(t::SplitText(split)));
    row.onBox->setChecked(t::DelayOn(store, c));
    const bool channelMode = t::ChannelDelayMode(store, c) == t::DelayMode::channel;
    (channelMode ? row.channel : row.highFreq)->setChecked(true);
    EnableRow(c);
  }
}

void CDelayDlg::EnableRow(int c) {
  Row& row = rows_[static_cast<std::size_t>(c)];
  const bool on = row.onBox->isChecked();
  const std::initializer_list<QWidget*> switched{row.highFreq, row.channel, row.name, row.delayEdit,
                                                 row.upDown};
  for (QWidget* w : switched) w->setEnabled(on);
  const bool split = on && row.highFreq->isChecked();
  row.slider->setEnabled(split);
  row.splitText->setEnabled(split);
}

void CDelayDlg::SetDelay(int c, float ms) {
  graph_->SetValue(c, ms);
  rows_[static_cast<std::size_t>(c)].delayEdit->setText(Text(t::DelayText(ms)));
  pageEdits().SetChannelDelay(c, ms);
}

void CDelayDlg::OnEnter(int c) {
  Row& row = rows_[static_cast<std::size_t>(c)];
  const float ms = t::ParseDelayText(row.delayEdit->text().toStdString());
  SetDelay(c, ms);
  row.upDown->SetPos(t::DelayUpDownPosition(ms));
}

void CDelayDlg::OnUpDown(int c, int position, bool up) {
  SetDelay(c, t::DelayUpDownClick(position, up));
}

void CDelayDlg::OnGraphDrag(int c, float ms) {
  Row& row = rows_[static_cast<std::size_t>(c)];
  row.delayEdit->setFocus(Qt::MouseFocusReason);
  SetDelay(c, ms);
  row.upDown->SetPos(t::DelayUpDownPosition(ms));
}

void CDelayDlg::OnSwitch(int c, bool checked) {
  pageEdits().SetDelayOn(c, checked);
  EnableRow(c);
}

void CDelayDlg::OnMode(int c, t::DelayMode mode) {
  EnableRow(c);
  // A click on the choice already made changes nothing.
  if (t::ChannelDelayMode(app().store(), c) == mode) return;
  pageEdits().SetDelayMode(c, mode);
}

void CDelayDlg::OnSplit(int c, int index) {
  pageEdits().MoveSplit(c, index);
  rows_[static_cast<std::size_t>(c)].splitText->setText(Text(t::SplitText(index)));
}

int CDelayDlg::FocusedDelayEdit() const {
  const QWidget* focus = QApplication::focusWidget();
  for (int c = 0; c < vireo::kOutputChannels; ++c) {
    if (rows_[static_cast<std::size_t>(c)].delayEdit == focus) return c;
  }
  return -1;
}

void CDelayDlg::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  nav_->setGeometry(0, 0, width(), kOutputNavHeight);
  const DelayPageLayout l = LayoutDelayPage(size(), kOutputNavHeight);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const DelayRowLayout& r = l.rows[i];
    rows_[i].onBox->setGeometry(r.onBox);
    rows_[i].highFreq->setGeometry(r.highFreq);
    rows_[i].channel->setGeometry(r.channel);
    rows_[i].name->setGeometry(r.name);
    rows_[i].slider->setGeometry(r.slider);
    rows_[i].splitText->setGeometry(r.splitText);
    rows_[i].delayEdit->setGeometry(r.delayEdit);
    rows_[i].upDown->setGeometry(r.upDown);
  }
  graph_->setGeometry(l.graph);
}

// The wheel goes to a focused split slider, or steps a focused delay edit as its up-down control would.
void CDelayDlg::wheelEvent(QWheelEvent* event) {
  const int c = FocusedDelayEdit();
  const int delta = event->angleDelta().y();
  if (c >= 0 && delta != 0) {
    Row& row = rows_[static_cast<std::size_t>(c)];
    if (row.upDown->isEnabled()) row.upDown->Click(delta > 0);
    event->accept();
    return;
  }
  if (!ForwardWheelToFocus(this, event)) CPage::wheelEvent(event);
}
