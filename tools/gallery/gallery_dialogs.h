// Pictures of the tuning dialogs: machine settings, features and music source.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class CKestrelv13App;

QStringList RenderTuningDialogGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);
