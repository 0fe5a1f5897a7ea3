// Quick delay and compressor controls.
#include "pages/output_quick.h"

#include "pages/page.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "controls/xbmp_slider.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "pages/output_edits.h"
#include "pages/page_edits.h"
#include "pages/page_texts.h"
#include "tuning/delay_ops.h"

namespace t = vireo::tuning;
namespace id = output_quick_id;

namespace {
constexpr int kSplitMax = 25;

struct Caption {
  const char* zh;
  const char* en;
};
constexpr std::array<Caption, t::kCompSliderCount> kCompCaptions{{{"阀(阈)", "Threshold"},
                                                                  {"Decay ratio", "Decay ratio"},
                                                                  {"启动时间", "Attack time"},
                                                                  {"释放时间", "Release time"}}};

template <typename W>
W* WithId(W* widget, int controlId) {
  SetControlId(widget, controlId);
  return widget;
}

CXBmpSlider* QuickSlider(CPage* page, int controlId, int lo, int hi) {
  auto* slider = new CXBmpSlider(controlId, page);
  slider->SetMargins(kCompressorSliderMargins);
  slider->SetBackgroundColor(kDialogBackground);
  slider->SetRange(lo, hi);
  TrackEditGestures(slider, page->app().edits());
  return slider;
}

QLabel* ValueText(QWidget* page, int controlId) {
  auto* label = WithId(new QLabel(page), controlId);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

t::CompSlider SliderAt(std::size_t i) {
  return static_cast<t::CompSlider>(i);
}
}  // namespace

OutputEdits COutputQuickControls::OutputEditsOf() const {
  return OutputEdits(app_.edits());
}

COutputQuickControls::COutputQuickControls(CPage* page, std::function<std::vector<int>()> linkSet)
    : QObject(page),
      app_(page->app()),
      linkSet_(std::move(linkSet)),
      delaySwitch_(WithId(new QCheckBox(page), id::delaySwitch)),
      highFreq_(WithId(new QRadioButton(page), id::highFreqRadio)),
      channelMode_(WithId(new QRadioButton(page), id::channelRadio)),
      split_(QuickSlider(page, id::splitSlider, 0, kSplitMax)),
      splitText_(ValueText(page, id::splitText)),
      time_(QuickSlider(page, id::timeSlider, t::kDelayUpDownMin, t::kDelayUpDownMax)),
      timeText_(ValueText(page, id::timeText)),
      compSwitch_(WithId(new QCheckBox(page), id::compSwitch)) {
  // The pair of radios is exclusive on its own: the editor's type buttons are another group.
  highFreq_->setAutoExclusive(false);
  channelMode_->setAutoExclusive(false);
  connect(delaySwitch_, &QCheckBox::clicked, this, [this](bool on) {
    OutputEditsOf().SetDelayOn(linkSet_(), on);
    ApplyDelayEnabling();
  });
  for (auto [radio, mode] :
       {std::pair{highFreq_, t::DelayMode::highFreq}, std::pair{channelMode_, t::DelayMode::channel}}) {
    connect(radio, &QRadioButton::clicked, this, [this, mode = mode] {
      OutputEditsOf().SetDelayMode(linkSet_(), mode);
      highFreq_->setChecked(mode == t::DelayMode::highFreq);
      channelMode_->setChecked(mode == t::DelayMode::channel);
      ApplyDelayEnabling();
    });
  }
  connect(split_, &CXBmpSlider::positionChanged, this, [this](int, int position) {
    OutputEditsOf().MoveSplit(linkSet_(), position);
    splitText_->setText(QString::fromStdString(t::SplitText(position)));
  });
  connect(time_, &CXBmpSlider::positionChanged, this, [this](int, int position) { OnTimeMoved(position); });
  connect(compSwitch_, &QCheckBox::clicked, this,
          [this](bool on) { OutputEditsOf().SetCompressorOn(linkSet_(), on); });
  for (std::size_t i = 0; i < compSliders_.size(); ++i) {
    const int k = static_cast<int>(i);
    const t::CompSliderRange range = t::CompSliderRangeOf(SliderAt(i));
    compCaptions_[i] = new QLabel(page);
    compSliders_[i] = QuickSlider(page, id::firstCompSlider + k, range.lo, range.hi);
    compTexts_[i] = ValueText(page, id::firstCompText + k);
    connect(compSliders_[i], &CXBmpSlider::positionChanged, this,
            [this, i](int, int position) { OnCompMoved(SliderAt(i), position); });
  }
}

void COutputQuickControls::Refresh(int channel) {
  channel_ = channel;
  const vireo::ParameterStore& store = app_.store();
  compSwitch_->setChecked(t::CompressorOn(store, channel));
  for (std::size_t i = 0; i < compSliders_.size(); ++i) {
    const int position = t::CompSliderPosition(store, channel, SliderAt(i));
    compSliders_[i]->SetPos(position);
    compTexts_[i]->setText(QString::fromStdString(t::CompStoredText(store, channel, SliderAt(i))));
  }
  const int split = t::ChannelSplitIndex(store, channel);
  split_->SetPos(split);
  splitText_->setText(QString::fromStdString(t::SplitText(split)));
  const float ms = t::ChannelDelay(store, channel);
  time_->SetPos(t::DelayUpDownPosition(ms));
  timeText_->setText(QString::fromStdString(t::DelayText(ms)));
  delaySwitch_->setChecked(t::DelayOn(store, channel));
  const bool highFreq = t::ChannelDelayMode(store, channel) == t::DelayMode::highFreq;
  highFreq_->setChecked(highFreq);
  channelMode_->setChecked(!highFreq);
  ApplyDelayEnabling();
}

void COutputQuickControls::ApplyDelayEnabling() {
  const bool on = delaySwitch_->isChecked();
  highFreq_->setEnabled(on);
  channelMode_->setEnabled(on);
  timeText_->setEnabled(on);
  const bool split = on && highFreq_->isChecked();
  split_->setEnabled(split);
  splitText_->setEnabled(split);
}

void COutputQuickControls::OnTimeMoved(int position) {
  const float ms = static_cast<float>(position / 10.0);
  OutputEditsOf().SetDelay(linkSet_(), ms);
  timeText_->setText(QString::fromStdString(t::DelayText(t::ChannelDelay(app_.store(), channel_))));
}

void COutputQuickControls::OnCompMoved(t::CompSlider slider, int position) {
  OutputEditsOf().MoveCompSlider(linkSet_(), channel_, slider, position);
  compTexts_[static_cast<std::size_t>(slider)]->setText(
      QString::fromStdString(t::CompSliderText(slider, position)));
}

void COutputQuickControls::ApplyLanguage(int dialogId) {
  delaySwitch_->setText(DialogText(dialogId, id::delaySwitch, "Delay Switch", "Delay Switch"));
  highFreq_->setText(DialogText(dialogId, id::highFreqRadio, "H.Freq Delay", "H.Freq Delay"));
  channelMode_->setText(DialogText(dialogId, id::channelRadio, "Channel delay", "Channel delay"));
  compSwitch_->setText(DialogText(dialogId, id::compSwitch, "Compressor Switch", "Compressor Switch"));
  for (std::size_t i = 0; i < compCaptions_.size(); ++i) {
    compCaptions_[i]->setText(DialogText(dialogId, id::firstCompSlider + static_cast<int>(i),
                                         kCompCaptions[i].zh, kCompCaptions[i].en));
  }
}

void COutputQuickControls::SetGeometry(const OutputPageLayout& l) {
  delaySwitch_->setGeometry(l.delaySwitch);
  highFreq_->setGeometry(l.highFreqRadio);
  channelMode_->setGeometry(l.channelRadio);
  split_->setGeometry(l.split.slider);
  splitText_->setGeometry(l.split.value);
  time_->setGeometry(l.delayTime.slider);
  timeText_->setGeometry(l.delayTime.value);
  compSwitch_->setGeometry(l.compSwitch);
  for (std::size_t i = 0; i < compSliders_.size(); ++i) {
    compCaptions_[i]->setGeometry(l.comp[i].caption);
    compSliders_[i]->setGeometry(l.comp[i].slider);
    compTexts_[i]->setGeometry(l.comp[i].value);
  }
}
