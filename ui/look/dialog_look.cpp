// Dialog look and fonts.
#include "look/dialog_look.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace {
const QStringList kCjkFallbacks{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Droid Sans Fallback"), QStringLiteral("DejaVu Sans")};

QFont Face(const QStringList& first, int pixelHeight, int weight) {
  QFont font;
  font.setFamilies(first + kCjkFallbacks);
  font.setPixelSize(pixelHeight);
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}
}  // namespace

void ApplyDialogBackground(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, kDialogBackground);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QFont SongTiFont(int pixelHeight, int weight) {
  return Face({QString::fromUtf8("宋体"), QStringLiteral("SimSun")}, pixelHeight, weight);
}

QFont HeiTiFont(int pixelHeight, int weight) {
  return Face({QString::fromUtf8("黑体"), QStringLiteral("SimHei")}, pixelHeight, weight);
}

QFont ApplicationFont() {
  QFont font = QApplication::font();
  font.setFamilies(QStringList{QStringLiteral("Tahoma")} + kCjkFallbacks);
  return font;
}

void SetTextWithLatinEllipsis(QLabel* label, const QString& text) {
  constexpr QChar kEllipsis(0x2026);
  if (!text.contains(kEllipsis)) {
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return;
  }
  QString html;
  bool inRun = false;
  for (const QChar c : text) {
    if ((c == kEllipsis) != inRun) {
      html += inRun
                  ? QStringLiteral("</span>")
                  : QStringLiteral("<span style=\"font-family:'DejaVu Sans','Liberation Sans',sans-serif\">");
      inRun = !inRun;
    }
    html += c == QLatin1Char('\n') ? QStringLiteral("<br>") : QString(c).toHtmlEscaped();
  }
  if (inRun) html += QStringLiteral("</span>");
  label->setTextFormat(Qt::RichText);
  label->setText(html);
}
