// Pictures of the smart-plug window's scene page and remote key page, each alone in a window the size of
// the window's page area and at the smallest size they are made for.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class CKestrelv13App;

QStringList RenderScenesGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);
