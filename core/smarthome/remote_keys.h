// The machine's own remote: the 18-byte key table, its ".remo" files and the texts shown while learning.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vireo::smarthome {

inline constexpr int kRemoteFileBytes = 18;
inline constexpr int kRemoteFunctions = 17;  // table indices 1..17
using RemoteKeyTable = std::array<std::uint8_t, kRemoteFileBytes>;

// The chosen name with its extension replaced by "remo" (added when it has none).
std::string RemoteFilePath(const std::string& chosen);
// Exactly the 18 bytes, replacing any previous file in one step. False with the system's error number in
// *errorCode (0 when unknown).
bool WriteRemoteFile(const std::string& path, const RemoteKeyTable& table, int* errorCode);
// Exactly 18 bytes, nothing else: a shorter or longer file, a folder, a pipe or a device is refused
// without being read (so a pipe cannot hold the caller) and *table is left as it was. *openError (when given)
// is the system's error number when the file could not be opened, else 0, so a front end can tell an
// unreadable file from one that is not a remote file.
bool ReadRemoteFile(const std::string& path, RemoteKeyTable* table, std::string* error,
                    int* openError = nullptr);

// "Learning key:..." text of function `index` (1..17) in the language (0 Chinese, 1 English), UTF-8;
// empty for an index without a function.
std::string LearningText(int index, int languageIndex);

}  // namespace vireo::smarthome
