// The headless service's token file: read when it exists, else created with a new token, readable by
// its owner only.
#pragma once

#include <string>

namespace vireo::daemon {

// The token in `path` (32 hex digits, surrounding white space ignored); when the file does not exist, a
// new token is written to it (mode 0600, its folder created 0700). Empty with one line on failure: an
// unreadable or malformed file is never replaced, since a script may hold its token.
std::string LoadOrCreateToken(const std::string& path, bool* created, std::string* problem);

}  // namespace vireo::daemon
