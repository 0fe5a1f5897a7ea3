// A sheet of the drawn controls (sliders, meters, picture buttons, report list, small EQ previews) in their
// states, rendered at device pixel ratios 1 and 2, to judge their look beside the ribbon.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// Writes controls_<tag>.png and controls_<tag>@2x.png into `out`; returns the files written.
QStringList RenderControlsSheet(const QDir& out, const QString& languageTag);
