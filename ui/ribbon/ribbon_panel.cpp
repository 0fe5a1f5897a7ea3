// The ribbon panel.
#include "ribbon/ribbon_panel.h"

#include <QBoxLayout>
#include <QLabel>

CRibbonPanel::CRibbonPanel(int number, Qt::Orientation contentDirection, QWidget* parent)
    : QFrame(parent), number_(number) {
  setObjectName(QStringLiteral("ribbonPanel%1").arg(number));
  setProperty("ribbonPanel", true);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 3, 4, 1);
  outer->setSpacing(1);
  content_ = contentDirection == Qt::Horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                : static_cast<QBoxLayout*>(new QVBoxLayout);
  content_->setSpacing(contentDirection == Qt::Horizontal ? 6 : 2);
  outer->addLayout(content_, 1);
  caption_ = new QLabel(this);
  caption_->setObjectName(QStringLiteral("ribbonPanelCaption"));
  caption_->setAlignment(Qt::AlignCenter);
  outer->addWidget(caption_);
}

void CRibbonPanel::SetCaption(const QString& caption) {
  caption_->setText(caption);
  updateGeometry();
}

QString CRibbonPanel::caption() const {
  return caption_->text();
}
