// The smart-plug help page: installed under the user's data folder on start, never overwritten.
#pragma once

#include <QString>

// "<data folder>/NOVEQ/Plug.html".
QString DefaultHelpPagePath();
// Writes the built-in page to `path` unless a file is there already; failures are ignored (the help
// command then has no page). Returns whether a page is at `path` afterwards.
bool InstallHelpPage(const QString& path);
