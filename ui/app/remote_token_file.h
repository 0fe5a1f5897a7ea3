// The window's remote-control token file: 32 hex digits, readable by the user alone, made when missing.
#pragma once

#include <QString>

// The token in `path` (surrounding white space ignored); when there is no file, a new token written to
// it. Empty with one line in *problem on failure: a file that holds no well-formed token is left as it
// is, since a script may read it ("New token" replaces it).
QString LoadOrCreateRemoteToken(const QString& path, QString* problem);
// Replaces the file with `token`, mode 0600 (its folder made 0700), so a reader sees the old token or
// the new one, never a part; false with one line in *problem.
bool WriteRemoteToken(const QString& path, const QString& token, QString* problem);
