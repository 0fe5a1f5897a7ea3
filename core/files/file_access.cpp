// Bounded, non-blocking reads and replace-on-success writes of the program's files.
#include "files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vireo::files {
namespace {

constexpr int kPipeReaderWaitMs = 2000;
constexpr int kPipeReaderPollMs = 10;

// --- writing ---

// Where the bytes really go: a symbolic link is followed so that the link itself survives the write.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A name beside the target that no other write can be using; created exclusively. Beside the target, so
// the rename stays within one file system and is atomic.
int CreateTemporary(const std::string& target, std::string* tempPath, mode_t mode = 0666) {
  static std::atomic<std::uint64_t> counter{0};
  const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t seed = now ^ (static_cast<std::uint64_t>(::getpid()) << 32);
  for (int attempt = 0; attempt < 100; ++attempt) {
    seed = seed * 6364136223846793005ull + counter.fetch_add(1) + 1442695040888963407ull;
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(seed));
    *tempPath = target + ".tmp" + suffix;
    const int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes the temporary file completely and durably; returns 0 or the error number.
int FillTemporary(int fd, std::string_view bytes, const struct stat* previous) {
  int error = 0;
  // A replaced file keeps its permissions; a new one gets the usual ones (0666 less the umask).
  if (previous != nullptr) (void)::fchmod(fd, previous->st_mode & 07777);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

int WriteInPlace(const std::string& target, std::string_view bytes) {
  // A pipe nobody reads would block the open for ever. Without blocking it fails with ENXIO instead;
  // a reader that is just starting gets two seconds to appear.
  int fd = -1;
  for (int wait = 0; wait <= kPipeReaderWaitMs; wait += kPipeReaderPollMs) {
    fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 || errno != ENXIO) break;
    ::usleep(kPipeReaderPollMs * 1000);
  }
  if (fd < 0) return errno;
  (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  int error = WriteAll(fd, bytes) ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

// The rename itself is only durable once the folder's entry is on the disk.
void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

FileRead ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string* bytes) {
  bytes->clear();
  // Not blocking: opening a pipe with no writer would otherwise wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {FileProblem::cannotOpen, errno, 0};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool directory = S_ISDIR(st.st_mode);
    ::close(fd);
    if (directory) return {FileProblem::cannotOpen, EISDIR, 0};
    return {FileProblem::notRegularFile, 0, 0};
  }
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return {FileProblem::tooLarge, 0, static_cast<std::uint64_t>(st.st_size)};
  }
  bytes->reserve(static_cast<std::size_t>(st.st_size));
  char chunk[16384];
  int error = 0;
  while (bytes->size() <= maxBytes) {  // a file that grew past the bound after the check stops here
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    bytes->append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  const std::uint64_t size = bytes->size();
  if (error != 0 || size > maxBytes) {
    bytes->clear();
    return {error != 0 ? FileProblem::cannotOpen : FileProblem::tooLarge, error, size};
  }
  return {FileProblem::none, 0, size};
}

std::string DescribeFileProblem(const FileRead& read) {
  switch (read.problem) {
    case FileProblem::none:
      return {};
    case FileProblem::cannotOpen:
      return read.errorCode != 0 ? std::strerror(read.errorCode) : "cannot open";
    case FileProblem::notRegularFile:
      return "not a regular file";
    case FileProblem::tooLarge:
      return "too large (" + std::to_string(read.size) + " bytes)";
  }
  return {};
}

namespace {

int ReplaceFile(const std::string& path, std::string_view bytes, bool ownerOnly) {
  const std::string target = ResolveTarget(path);
  struct stat previous {};
  const bool exists = ::stat(target.c_str(), &previous) == 0;
  if (exists && S_ISDIR(previous.st_mode)) return EISDIR;
  if (exists && ::access(target.c_str(), W_OK) != 0) return errno;
  // A pipe or device (say /dev/stdout) is written as it is; replacing it would destroy it. A secret is
  // never handed to one.
  if (exists && !S_ISREG(previous.st_mode)) return ownerOnly ? EINVAL : WriteInPlace(target, bytes);

  std::string tempPath;
  const int fd = CreateTemporary(target, &tempPath, ownerOnly ? 0600 : 0666);
  if (fd < 0) return errno;
  int error = FillTemporary(fd, bytes, exists && !ownerOnly ? &previous : nullptr);
  if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    return error;
  }
  SyncDirectory(DirectoryOf(target));
  return 0;
}

}  // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, bytes, false);
}

int WriteOwnerOnlyFile(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, bytes, true);
}

}  // namespace vireo::files
