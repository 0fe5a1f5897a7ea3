// The output pages' navigation bar.
#include "pages/output_nav.h"

#include <QResizeEvent>
#include <algorithm>

#include "controls/gdip_button.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "model/store_layout.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"
#include "services/app_services.h"

namespace {
constexpr int kButtonCount = 11;
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kButtonHeight = 30;
constexpr int kMaxButtonWidth = 104;

// Channels first, then the three page buttons, as the user reads them from left to right.
int IdAt(int i) {
  if (i < 8) return output_nav_id::channelButtons[static_cast<std::size_t>(i)];
  constexpr std::array<int, 3> pages{output_nav_id::location, output_nav_id::delay, output_nav_id::comp};
  return pages[static_cast<std::size_t>(i - 8)];
}

PageKind TargetOf(int id) {
  if (id == output_nav_id::location) return PageKind::ssvc;
  if (id == output_nav_id::delay) return PageKind::delay;
  if (id == output_nav_id::comp) return PageKind::comp;
  return PageKind::output;
}

int ChannelOf(int id) {
  for (std::size_t c = 0; c < output_nav_id::channelButtons.size(); ++c)
    if (output_nav_id::channelButtons[c] == id) return static_cast<int>(c);
  return -1;
}

}  // namespace

COutputNavBar::COutputNavBar(CPage* page) : QWidget(page), page_(page) {
  for (int i = 0; i < kButtonCount; ++i) {
    const int id = IdAt(i);
    auto* b = new CGdipButton(id, QString(), this);
    b->SetToggle(true);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &CGdipButton::clicked, this, [this, id] { OnClicked(id); });
    buttons_[static_cast<std::size_t>(i)] = b;
  }
  ApplyLanguage();
  Refresh();
}

CGdipButton* COutputNavBar::button(int controlId) const {
  for (CGdipButton* b : buttons_)
    if (ControlIdOf(b) == controlId) return b;
  return nullptr;
}

void COutputNavBar::Refresh() {
  const PageKind shown = page_->kind();
  for (int i = 0; i < kButtonCount; ++i) {
    const int id = IdAt(i);
    const bool pressed = TargetOf(id) == shown &&
                         (shown != PageKind::output || ChannelOf(id) == page_->app().currentOutputChannel());
    buttons_[static_cast<std::size_t>(i)]->SetCheck(pressed);
  }
}

void COutputNavBar::ApplyLanguage() {
  // Every output page shows the same bar, so it reads one table: the compressor page's own table names
  // channel 1 "Main" and lacks channels 6..8 in English.
  for (int i = 0; i < kButtonCount; ++i) {
    const int id = IdAt(i);
    QString zh, en;
    if (i < 8) {
      zh = QString::fromUtf8("通道%1").arg(i + 1);
      en = QStringLiteral("CH %1").arg(i + 1);
    } else if (id == output_nav_id::location) {
      zh = QString::fromUtf8("声场定位"), en = QStringLiteral("Location");
    } else if (id == output_nav_id::delay) {
      zh = QString::fromUtf8("延时调整"), en = QStringLiteral("Delay");
    } else {
      zh = QString::fromUtf8("输出压限"), en = QStringLiteral("Comp");
    }
    buttons_[static_cast<std::size_t>(i)]->setText(
        DialogText(dlg::delay, id, zh.toUtf8().constData(), en.toUtf8().constData()));
  }
}

void COutputNavBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int room = width() - 2 * kMargin - (kButtonCount - 1) * kGap;
  const int w = std::clamp(room / kButtonCount, 40, kMaxButtonWidth);
  const int y = (height() - kButtonHeight) / 2;
  for (int i = 0; i < kButtonCount; ++i) {
    // A small gap more between the channels and the page buttons groups them.
    const int x = kMargin + i * (w + kGap) + (i >= 8 ? 2 * kGap : 0);
    buttons_[static_cast<std::size_t>(i)]->setGeometry(x, y, w, kButtonHeight);
  }
}

void COutputNavBar::OnClicked(int controlId) {
  const PageKind target = TargetOf(controlId);
  const int channel = ChannelOf(controlId);
  if (channel >= 0) page_->app().setCurrentOutputChannel(channel);
  if (target == page_->kind()) {
    // Only the output channels page has something to switch; the others stay as they are.
    if (target == PageKind::output) page_->ShowChannel(channel);
    Refresh();
    return;
  }
  // The switch destroys this bar's page: it happens after the click is handled.
  Refresh();
  ShowPageLater(page_->app(), target);
}
