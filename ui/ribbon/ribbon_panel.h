// One ribbon panel: its controls above, its caption in a strip below.
#pragma once

#include <QFrame>

class QBoxLayout;
class QLabel;

class CRibbonPanel : public QFrame {
  Q_OBJECT
 public:
  CRibbonPanel(int number, Qt::Orientation contentDirection, QWidget* parent = nullptr);

  int number() const { return number_; }
  QBoxLayout* content() { return content_; }
  void SetCaption(const QString& caption);
  QString caption() const;
  QLabel* captionLabel() const { return caption_; }

 private:
  int number_;
  QBoxLayout* content_;
  QLabel* caption_;
};
