// The pictures of the gallery: each renders one window in the current language into a PNG file.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>

class CKestrelv13App;

// Renders every window of the shell for the language in use; returns the files written.
QStringList RenderShellGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag);

// The main window after the first A/B switch, with the live tuning in the status bar; render it last, as
// the comparison stays started.
QStringList RenderAbShot(CKestrelv13App& app, const QDir& out, const QString& languageTag);

// The remote-control window, off, then on for phones with one connected.
QStringList RenderRemoteControlShots(CKestrelv13App& app, const QDir& out, const QString& languageTag);

// Runs the event loop until `done` holds or `timeoutMs` passed; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
