// The output channels page.
#include "pages/output_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QResizeEvent>
#include <QWheelEvent>

#include "controls/eq_panel.h"
#include "controls/xbmp_slider.h"
#include "dsp/crossover.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "pages/band_editor.h"
#include "pages/band_list.h"
#include "pages/channel_picture.h"
#include "pages/eq_editing.h"
#include "pages/output_edits.h"
#include "pages/output_layout.h"
#include "pages/output_nav.h"
#include "pages/output_quick.h"
#include "pages/page_edits.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"
#include "services/app_services.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/headroom.h"

namespace t = vireo::tuning;
namespace id = output_page_id;

namespace {

struct TextPair {
  const char* zh;
  const char* en;
};
constexpr std::array<TextPair, 4> kMixCaptions{
    {{"Direct", "Direct"}, {"Reverb", "Reverb"}, {"Echo", "Echo"}, {"音乐", "Music"}}};
constexpr std::array<TextPair, 8> kRoles{{{"前置左", "CH-L"},
                                          {"前置右", "CH-R"},
                                          {"后环绕左", "CH-SBL"},
                                          {"后环绕右", "CH-SBR"},
                                          {"超低", "CH-SUB"},
                                          {"中置", "CH-CEN"},
                                          {"侧环绕左", "CH-SL"},
                                          {"侧环绕右", "CH-SR"}}};
constexpr std::array<const char*, 3> kLinkTexts = {"CH1+CH2 Linked", "CH3+CH4 Linked", "CH7+CH8 Linked"};

template <typename W>
W* WithId(W* widget, int controlId) {
  SetControlId(widget, controlId);
  return widget;
}

bool ValidChannel(int channel) {
  return channel >= 0 && channel < 8;
}

// The wheel goes to the graph, the mix, delay and compressor sliders and every control from 1046 on.
bool TakesPageWheel(const QWidget* focus) {
  const int controlId = ControlIdOf(focus);
  return controlId == 1040 || (controlId >= 1041 && controlId <= 1044) ||
         (controlId >= 1014 && controlId <= 1019) || controlId >= 1046;
}

QString ChannelName(int channel) {
  return LanguageIndex() == 1 ? QStringLiteral("CH%1").arg(channel + 1)
                              : QString::fromUtf8("通道%1").arg(channel + 1);
}

}  // namespace

CDialogOutput::CDialogOutput(AppServices& services, QWidget* parent, int channel)
    : CPage(PageKind::output, services, parent),
      channel_(ValidChannel(channel) ? channel : 0),
      nav_(new COutputNavBar(this)),
      picture_(WithId(new CChannelPicture(this), id::picture)),
      eq_(new CEqEditing(this, templateId(), EqEditingRules{false, false, false, true})),
      quick_(new COutputQuickControls(this, [this] { return LinkSet(); })) {
  // The application keeps the channel, so that the next output page opens on it.
  app().setCurrentOutputChannel(channel_);
  eq_->editor()->SetCaptionIds(id::editorCaptions);
  eq_->SetBandWriter([this](int band) { WriteBandForLinks(band); });
  connect(eq_, &CEqEditing::bandShown, this, &CDialogOutput::FollowBand);
  connect(eq_, &CEqEditing::selectionCleared, this, [this] { ShowCrossover(false); });
  connect(eq_->list(), &QTableWidget::cellClicked, this, [this](int row, int) {
    ShowCrossover(false);
    FollowBand(row);
  });
  TrackEditGestures(eq_->graph(), app().edits());
  BuildMix();
  BuildChannelRows();
  BuildLinks();
  BuildCrossover();
  headroom_ = new QLabel(this);
  headroom_->setObjectName(QStringLiteral("headroomWarning"));
  headroom_->setWordWrap(true);
  headroom_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  headroom_->setStyleSheet(QStringLiteral("color: #c0392b; font-weight: 600;"));
  headroom_->hide();
  ApplyTexts();
  RefreshFromStore();
}

void CDialogOutput::BuildMix() {
  for (std::size_t i = 0; i < mixSliders_.size(); ++i) {
    const int k = static_cast<int>(i);
    mixCaptions_[i] = new QLabel(this);
    mixCaptions_[i]->setAlignment(Qt::AlignCenter);
    auto* slider = new CXBmpSlider(id::firstMixSlider + k, this);
    slider->SetOrientation(SliderOrientation::vertical);
    slider->SetMargins(kEffectEqSliderMargins);
    slider->SetBackgroundColor(kDialogBackground);
    slider->SetRange(0, 100);
    TrackEditGestures(slider, app().edits());
    connect(slider, &CXBmpSlider::positionChanged, this,
            [this, k](int, int position) { OnMixMoved(k, position); });
    mixSliders_[i] = slider;
    mixTexts_[i] = WithId(new QLabel(this), id::firstMixText + k);
    mixTexts_[i]->setAlignment(Qt::AlignCenter);
  }
}

void CDialogOutput::BuildChannelRows() {
  for (int c = 0; c < 8; ++c) {
    ChannelRow& row = rows_[static_cast<std::size_t>(c)];
    row.name = new QLabel(this);
    row.name->setStyleSheet(QStringLiteral("color: rgb(0,0,238);"));
    row.mute = WithId(new QCheckBox(this), id::mute[static_cast<std::size_t>(c)]);
    row.phase = WithId(new QCheckBox(this), id::firstPhase + c);
    row.role = WithId(new QComboBox(this), id::firstRole + c);
    connect(row.mute, &QCheckBox::clicked, this,
            [this, c](bool checked) { outputEdits().SetMute(c, checked); });
    connect(row.phase, &QCheckBox::clicked, this,
            [this, c](bool checked) { outputEdits().SetPhase(c, checked); });
    connect(row.role, &QComboBox::activated, this, [this, c](int index) { outputEdits().SetRole(c, index); });
  }
}

void CDialogOutput::BuildLinks() {
  for (int pair = 0; pair < t::kLinkPairCount; ++pair) {
    auto* box = WithId(new QCheckBox(this), id::links[static_cast<std::size_t>(pair)]);
    connect(box, &QCheckBox::clicked, this, [this, pair](bool checked) { OnLinkClicked(pair, checked); });
    links_[static_cast<std::size_t>(pair)] = box;
  }
  WithId(new QCheckBox(this), id::unusedLink)->hide();
}

void CDialogOutput::BuildCrossover() {
  crossoverCaption_ = WithId(new QLabel(this), id::crossoverCaption);
  crossover_ = WithId(new QComboBox(this), id::crossoverCombo);
  for (std::string_view name : vireo::dsp::kCrossoverFamilyNames)
    crossover_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  connect(crossover_, &QComboBox::activated, this, &CDialogOutput::OnFamilyChosen);
  ShowCrossover(false);
}

void CDialogOutput::ApplyTexts() {
  CPage::ApplyLanguage();
  for (std::size_t i = 0; i < mixCaptions_.size(); ++i) {
    mixCaptions_[i]->setText(DialogText(templateId(), id::firstMixSlider + static_cast<int>(i),
                                        kMixCaptions[i].zh, kMixCaptions[i].en));
  }
  for (int c = 0; c < 8; ++c) {
    ChannelRow& row = rows_[static_cast<std::size_t>(c)];
    row.name->setText(ChannelName(c));
    row.mute->setText(DialogText(templateId(), id::mute[static_cast<std::size_t>(c)], "静音", "Mute"));
    row.phase->setText(DialogText(templateId(), id::firstPhase + c, "反相180°", "Phase 180°"));
  }
  for (std::size_t i = 0; i < links_.size(); ++i)
    links_[i]->setText(DialogText(templateId(), id::links[i], kLinkTexts[i], kLinkTexts[i]));
  crossoverCaption_->setText(DialogText(templateId(), id::crossoverCaption, "类型", "Type"));
  quick_->ApplyLanguage(templateId());
  nav_->ApplyLanguage();
  FillRoles();
  picture_->update();
}

void CDialogOutput::FillRoles() {
  for (ChannelRow& row : rows_) {
    const int selected = row.role->currentIndex();
    row.role->clear();
    for (const TextPair& role : kRoles) row.role->addItem(LangText(role.zh, role.en));
    row.role->setCurrentIndex(selected < 0 ? 0 : selected);
  }
}

std::vector<int> CDialogOutput::LinkSet() const {
  t::LinkStates links{};
  for (std::size_t i = 0; i < links.size(); ++i) links[i] = links_[i]->isChecked();
  return t::LinkSet(channel_, links);
}

void CDialogOutput::ShowChannel(int channel) {
  if (!ValidChannel(channel)) return;
  channel_ = channel;
  app().setCurrentOutputChannel(channel);
  RefreshFromStore();
}

void CDialogOutput::RefreshFromStore() {
  nav_->Refresh();
  picture_->SetChannel(channel_);
  RefreshMix();
  eq_->SetIdentity(t::ChannelEqIdentity(channel_));
  eq_->RefreshFromStore();
  RefreshChannelRows();
  quick_->Refresh(channel_);
  RefreshHeadroom();
}

void CDialogOutput::RefreshHeadroom() {
  const t::Headroom h = t::ChannelHeadroom(app().store(), channel_);
  headroom_->setVisible(h.atRisk());
  if (!h.atRisk()) return;
  headroom_->setText(QString::fromUtf8("\u26A0 ") +
                     QString::fromStdString(t::HeadroomText(h, LanguageIndex())));
  headroom_->setToolTip(LangText("音乐均衡与本通道均衡叠加后的最大提升",
                                 "The largest lift of the music EQ and this channel's EQ together"));
}

void CDialogOutput::RefreshMix() {
  const vireo::ParameterStore& store = app().store();
  for (std::size_t i = 0; i < mixSliders_.size(); ++i) {
    mixSliders_[i]->SetPos(t::ChannelMixLevel(store, channel_, static_cast<t::MixLevel>(i)));
    mixTexts_[i]->setText(QStringLiteral("%1%").arg(mixSliders_[i]->GetPos()));
  }
}

void CDialogOutput::RefreshChannelRows() {
  const vireo::ParameterStore& store = app().store();
  for (int c = 0; c < 8; ++c) {
    ChannelRow& row = rows_[static_cast<std::size_t>(c)];
    row.mute->setChecked(t::ChannelMuted(store, c));
    row.phase->setChecked(t::ChannelPhaseInverted(store, c));
    row.role->setCurrentIndex(t::ChannelRole(store, c));
  }
}

void CDialogOutput::OnMixMoved(int index, int position) {
  outputEdits().SetMixLevel(LinkSet(), static_cast<t::MixLevel>(index), position);
  mixTexts_[static_cast<std::size_t>(index)]->setText(QStringLiteral("%1%").arg(position));
  if (t::ChannelMuted(app().store(), channel_)) app().ShowNotice(MutedVolumeNotice(), kNoticeShortMs);
}

void CDialogOutput::OnLinkClicked(int pair, bool checked) {
  if (!checked) return;
  const int low = t::LinkPairLowChannel(pair);
  if (!t::ChannelsDiffer(app().store(), low, low + 1)) return;
  const auto answer = [](int channel) {
    return LanguageIndex() == 1 ? QStringLiteral("Both set CH%1").arg(channel + 1)
                                : QString::fromUtf8("以通道%1为标准同步").arg(channel + 1);
  };
  const int choice = app().ShowChoiceBox(
      LangText("通道参数不一致，是否需要同步？", "Parameter is different, Is need set same?"), answer(low),
      answer(low + 1));
  if (choice != 1 && choice != 2) {
    links_[static_cast<std::size_t>(pair)]->setChecked(false);
    return;
  }
  const int source = choice == 1 ? low : low + 1;
  outputEdits().CopyChannel(source, source == low ? low + 1 : low);
  RefreshFromStore();
}

void CDialogOutput::WriteBandForLinks(int band) {
  const CEqPanel& graph = *eq_->graph();
  const auto shape = [&graph](int slot) {
    const vireo::dsp::EqBand& b = graph.band(slot);
    return vireo::dsp::BandShape{b.type, b.gain, b.frequency, b.q};
  };
  if (band == t::kCrossoverBand) {
    outputEdits().WriteCrossover(LinkSet(), {shape(9), shape(10), shape(11), shape(12)});
  } else {
    outputEdits().WriteBand(LinkSet(), band, shape(band));
  }
  RefreshHeadroom();
}

// The crossover drop-down follows the band shown: only the crossover band as a low- or high-pass.
void CDialogOutput::FollowBand(int band) {
  if (band != t::kCrossoverBand) {
    ShowCrossover(false);
    return;
  }
  const CEqPanel& graph = *eq_->graph();
  vireo::dsp::CrossoverSections sections{};
  for (int s = 0; s < 4; ++s) sections[static_cast<std::size_t>(s)] = graph.band(band + s).type;
  const vireo::dsp::CrossoverKind kind = vireo::dsp::CrossoverKindOf(sections);
  const int shownType = eq_->ShownShape(band).type;
  crossover_->setCurrentIndex(kind.family);
  ShowCrossover(shownType == 2 || shownType == 3);
}

void CDialogOutput::ShowCrossover(bool shown) {
  crossoverCaption_->setVisible(shown);
  crossover_->setVisible(shown);
}

bool CDialogOutput::crossoverShown() const {
  return crossover_->isVisibleTo(this);
}

void CDialogOutput::OnFamilyChosen(int family) {
  const bool crossoverRow =
      eq_->selectedBand() == t::kCrossoverBand || eq_->list()->currentRow() == t::kCrossoverBand;
  if (!crossoverRow) return;
  eq_->graph()->ApplyCrossoverFamily(t::kCrossoverBand, family);
  WriteBandForLinks(t::kCrossoverBand);
  eq_->list()->ShowBand(t::kCrossoverBand, eq_->ShownShape(t::kCrossoverBand));
  if (eq_->selectedBand() == t::kCrossoverBand) eq_->PickBand(t::kCrossoverBand);
}

bool CDialogOutput::ShownEqBypass() const {
  return eq_->Bypass();
}

void CDialogOutput::ToggleShownEqBypass() {
  const int pair = t::LinkPairOf(channel_);
  const bool linked = pair >= 0 && links_[static_cast<std::size_t>(pair)]->isChecked();
  eq_->graph()->SetBypass(outputEdits().ToggleBypass(channel_, linked));
  RefreshHeadroom();
}

void CDialogOutput::ResetShownEq() {
  outputEdits().ResetEq(LinkSet());
  eq_->RefreshFromStore();
  RefreshHeadroom();
}

void CDialogOutput::SelectSection(int section) {
  eq_->PickBand(section);
}

void CDialogOutput::ApplyLanguage() {
  ApplyTexts();
  eq_->ApplyLanguage();
  RefreshFromStore();
}

void CDialogOutput::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  nav_->setGeometry(0, 0, width(), kOutputNavHeight);
  const OutputPageLayout l = LayoutOutputPage(size());
  picture_->setGeometry(l.picture);
  for (std::size_t i = 0; i < links_.size(); ++i) links_[i]->setGeometry(l.links[i]);
  for (std::size_t i = 0; i < mixSliders_.size(); ++i) {
    mixCaptions_[i]->setGeometry(l.mix[i].caption);
    mixSliders_[i]->setGeometry(l.mix[i].slider);
    mixTexts_[i]->setGeometry(l.mix[i].value);
  }
  for (std::size_t c = 0; c < rows_.size(); ++c) {
    rows_[c].name->setGeometry(l.channels[c].name);
    rows_[c].mute->setGeometry(l.channels[c].mute);
    rows_[c].phase->setGeometry(l.channels[c].phase);
    rows_[c].role->setGeometry(l.channels[c].role);
  }
  eq_->SetListArea(l.bandArea);
  crossoverCaption_->setGeometry(l.crossoverCaption);
  crossover_->setGeometry(l.crossoverCombo);
  quick_->SetGeometry(l);
  eq_->graph()->setGeometry(l.graph);
  headroom_->setGeometry(l.headroom);
}

void CDialogOutput::wheelEvent(QWheelEvent* event) {
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && TakesPageWheel(focus) && ForwardWheelToFocus(this, event)) return;
  CPage::wheelEvent(event);
}
