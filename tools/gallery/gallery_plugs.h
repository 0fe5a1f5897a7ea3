// Pictures of the smart-plug window's plug list and of its plug, switch, knob and wait dialogs.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class CKestrelv13App;

QStringList RenderPlugsGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);
