// Pictures of the drawn controls on their own (the EQ graph), for the language in use.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// Renders each control in a few states, at the screen's pixel ratio and at twice it; returns the files.
QStringList RenderControlGallery(const QDir& out, const QString& languageTag);
