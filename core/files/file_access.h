// Reading and writing the program's own files: the checks made before a file is read, and the one way a
// file is written, so that no reader ever sees half of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vireo::files {

// Why a file could not be read.
enum class FileProblem : std::uint8_t {
  none,
  cannotOpen,      // missing, unreadable or a directory (`errorCode` says which)
  notRegularFile,  // a pipe, socket or device
  tooLarge,        // larger than the reader's bound
};

struct FileRead {
  FileProblem problem = FileProblem::none;
  int errorCode = 0;       // the system's error number for cannotOpen, else 0
  std::uint64_t size = 0;  // the file's size, also when it was too large
  bool ok() const { return problem == FileProblem::none; }
};

// Reads the whole regular file at `path` into *bytes when it holds at most `maxBytes` bytes. The file is
// opened without blocking, so a pipe nobody writes to cannot hold the caller; a directory is refused as
// cannotOpen with EISDIR, a pipe, socket or device as notRegularFile, a longer file as tooLarge before
// any of it is read. *bytes is empty on failure.
FileRead ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string* bytes);

// The problem in a few English words ("not a regular file", the system's text for an error number), for
// messages and logs that put the path before it.
std::string DescribeFileProblem(const FileRead& read);

// Replaces the file at `path` with `bytes` so that any reader sees either the old contents or the new,
// never a part, also when the write fails half-way or the program stops: the bytes go to a temporary file
// beside the target, are flushed to the disk, and the temporary file is renamed over the target. A
// symbolic link is followed (the link stays); a replaced file keeps its permissions; an existing file
// that is not writable is refused as it would be if written in place, and a directory with EISDIR. A pipe
// or device (/dev/stdout) is written in place: replacing it would destroy it. 0, or the system's error
// number; after a failure the previous file is untouched and no temporary file is left.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same for a secret (a token, a password): the file is the owner's alone (0600) from its first byte,
// whatever the file it replaces allowed. A pipe or device is refused (EINVAL) rather than written.
int WriteOwnerOnlyFile(const std::string& path, std::string_view bytes);

}  // namespace vireo::files
