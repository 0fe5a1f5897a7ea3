// Dialog look and fonts.
#include "dialogs/dialog_look.h"

#include <QApplication>
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
