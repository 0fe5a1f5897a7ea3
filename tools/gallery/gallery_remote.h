// Pictures of the remote-learning window and its learning dialog, before and after a code arrived.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class CKestrelv13App;

QStringList RenderRemoteGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);
