// The window's remote-control token file (32 hex digits, made when missing) and the MQTT password file:
// both readable by the user alone.
#pragma once

#include <QString>

// The token in `path` (surrounding white space ignored); when there is no file, a new token written to
// it. Empty with one line in *problem on failure: a file that holds no well-formed token is left as it
// is, since a script may read it ("New token" replaces it).
QString LoadOrCreateRemoteToken(const QString& path, QString* problem);
// Replaces the file with `token`, mode 0600 (its folder made 0700), so a reader sees the old token or
// the new one, never a part; false with one line in *problem.
bool WriteRemoteToken(const QString& path, const QString& token, QString* problem);
// The text of a secret file (UTF-8, one trailing line end dropped); empty when there is no file. Empty with
// one line in *problem when the file exists but cannot be read.
QString ReadSecretText(const QString& path, QString* problem);
// Replaces the file with `text` as WriteRemoteToken does; an empty text removes the file.
bool WriteSecretText(const QString& path, const QString& text, QString* problem);
