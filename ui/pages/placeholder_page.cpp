// The placeholder page.
#include "pages/placeholder_page.h"

#include <QPainter>

#include "i18n/language_table.h"
#include "look/dialog_look.h"

QString PageTitle(PageKind kind, int languageIndex) {
  const bool en = languageIndex == 1;
  switch (kind) {
    case PageKind::music:
      return en ? QStringLiteral("Microphone and music EQ") : QString::fromUtf8("话筒与音乐均衡");
    case PageKind::output:
      return en ? QStringLiteral("Output channels") : QString::fromUtf8("输出通道");
    case PageKind::efx:
      return en ? QStringLiteral("Effects") : QString::fromUtf8("效果");
    case PageKind::delay:
      return en ? QStringLiteral("Delay") : QString::fromUtf8("延时");
    case PageKind::ssvc:
      return en ? QStringLiteral("Sound-field location") : QString::fromUtf8("声场定位");
    case PageKind::comp:
      return en ? QStringLiteral("Compressor") : QString::fromUtf8("压限");
  }
  return {};
}

CPlaceholderPage::CPlaceholderPage(PageKind kind, AppServices& app, QWidget* parent)
    : CPage(kind, app, parent) {
  setObjectName(QStringLiteral("placeholderPage"));
}

void CPlaceholderPage::ApplyLanguage() {
  CPage::ApplyLanguage();
  update();
}

void CPlaceholderPage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF frame = QRectF(rect()).adjusted(12.5, 12.5, -12.5, -12.5);
  p.setPen(QPen(QColor(167, 193, 226), 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame, 6, 6);
  p.setPen(QColor(21, 66, 139));
  p.setFont(HeiTiFont(22, 500));
  p.drawText(frame, Qt::AlignCenter, PageTitle(kind(), LanguageIndex()));
}
