// The navigation bar across the top of the output pages: a button per output channel, then the location,
// delay and compressor pages. The button of what is shown is drawn pressed.
#pragma once

#include <QWidget>
#include <array>

#include "pages/page.h"

class CGdipButton;

inline constexpr int kOutputNavHeight = 44;

namespace output_nav_id {
// Channels 1..8 in order; the first four ids are not in channel order.
inline constexpr std::array<int, 8> channelButtons{1069, 1072, 1070, 1071, 1076, 1077, 1078, 1079};
inline constexpr int location = 1073;
inline constexpr int delay = 1074;
inline constexpr int comp = 1075;
}  // namespace output_nav_id

class COutputNavBar : public QWidget {
  Q_OBJECT
 public:
  // A child of `page`, whose kind decides the pressed button.
  explicit COutputNavBar(CPage* page);

  CGdipButton* button(int controlId) const;
  // The pressed button again: the output channels page's channel may have changed.
  void Refresh();
  void ApplyLanguage();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnClicked(int controlId);

  CPage* page_;
  std::array<CGdipButton*, 11> buttons_{};
};
