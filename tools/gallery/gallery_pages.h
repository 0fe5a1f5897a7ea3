// Pictures of the tuning pages in the main window, at full HD and at the smallest window size.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class CKestrelv13App;

QStringList RenderPageGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);
