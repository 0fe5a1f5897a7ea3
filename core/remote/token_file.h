// The remote's secrets on disk: the token file (32 hex digits, created when missing) and the MQTT
// password file; each readable by its owner only. The window and vireod share them.
#pragma once

#include <string>
#include <string_view>

namespace vireo::remote {

// The token in `path` (32 hex digits, surrounding white space ignored); when the file does not exist, a
// new token is written to it (mode 0600, its folder created 0700). Empty with one line on failure: an
// unreadable or malformed file is never replaced, since a script may hold its token.
std::string LoadOrCreateToken(const std::string& path, bool* created, std::string* problem);

// Replaces the file with `text` and a line end, mode 0600 (its folder made 0700), so a reader sees the
// old text or the new, never a part. `what` names the file in the problem ("token file").
bool WriteSecretFile(const std::string& path, std::string_view text, std::string_view what,
                     std::string* problem);

// The file's text without one trailing line end; empty when there is no file. False with one line when
// the file exists but cannot be read (a folder, a pipe, over 4 KiB).
bool ReadSecretFile(const std::string& path, std::string* text, std::string* problem);

}  // namespace vireo::remote
