// The application's icon, for its windows and its notification-area entry.
#pragma once

#include <QIcon>
#include <initializer_list>

// The sizes rendered from the icon's SVG, as the desktop's hicolor theme has them.
inline constexpr std::initializer_list<int> kApplicationIconSizes = {16, 24, 32, 48, 64, 128, 256};

// Built from the rendered PNGs rather than the SVG, so it needs no SVG support in Qt.
QIcon ApplicationIcon();
