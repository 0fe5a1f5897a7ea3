// The common look of dialogs and pages: the light blue-white background and the house fonts.
#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

inline const QColor kDialogBackground(240, 250, 255);

void ApplyDialogBackground(QWidget* widget);
// "宋体" first, then the CJK and Latin faces present on Linux; `weight` as the classic 100..900 scale.
QFont SongTiFont(int pixelHeight, int weight);
// "黑体" first, then fallbacks.
QFont HeiTiFont(int pixelHeight, int weight);
// The application's default face: "Tahoma", then fallbacks with Chinese glyphs.
QFont ApplicationFont();
// Shows `text` in `label`, its ellipses ("……") in a Latin face: the Chinese fallback faces draw them as
// dots at mid-height, which reads as a row of bullets. The label's text() is then rich text; keep the
// plain text where it is needed.
void SetTextWithLatinEllipsis(QLabel* label, const QString& text);
