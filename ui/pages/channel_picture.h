// The output channels page's channel picture: a listener among the eight loudspeakers, seen from above,
// the current channel's loudspeaker lit and named underneath.
#pragma once

#include <QWidget>

class CChannelPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CChannelPicture(QWidget* parent = nullptr);

  void SetChannel(int channel);
  int channel() const { return channel_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int channel_ = 0;
};
