// Mode-file reader and writer: version table, all-or-nothing loading and replace-on-success saving.
#include "model/mode_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "model/field_ranges.h"

namespace vireo {
namespace {

constexpr std::size_t kVersionBytes = 4;
constexpr int kPipeReaderWaitMs = 2000;
constexpr int kPipeReaderPollMs = 10;

constexpr std::array<ModeFileLayout, 8> kLayouts{{
    {1, 784, kDspBandRecordsBytes, false, false, false},
    {2, 784, kDspBandRecordsBytes, true, false, false},
    {3, 796, kDspBandRecordsBytes, true, false, false},
    {4, 796, kDspBandRecordsBytes, true, true, false},
    {5, 828, kDspBandRecordsBytes, true, true, false},
    {6, 844, kDspBlockBytes, true, true, false},
    {7, kMainParamsBytes, kDspBlockBytes, true, true, false},
    {8, kMainParamsBytes, kDspBlockBytes, true, true, true},
}};

// Everything a file can carry, decoded before any of it reaches the store.
struct ModeImage {
  std::array<std::uint8_t, kMainParamsBytes> mainParams{};
  std::array<std::uint8_t, kDspBlockBytes> dspBlock{};
  std::array<std::uint8_t, kChLocationGainBytes> chLocationGain{};
  std::array<std::uint8_t, kLocationSettingsBytes> locationSettings{};
  std::array<std::uint8_t, kMicBoostLevelBytes> micBoostLevel{};
};

std::int32_t LittleEndian32(const std::uint8_t* at) {
  const std::uint32_t v = static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
                          (static_cast<std::uint32_t>(at[2]) << 16) |
                          (static_cast<std::uint32_t>(at[3]) << 24);
  return static_cast<std::int32_t>(v);
}

void PutLittleEndian32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Sources the machine plays: SPDIF, HDMI, Bluetooth, AUX. Anything else would select nothing.
void FixMusicSource(std::span<std::uint8_t, kMainParamsBytes> mainParams) {
  std::uint8_t* at = mainParams.data() + SlotOffset(slot::musicSource);
  const std::int32_t source = LittleEndian32(at);
  if (source != 0 && source != 2 && source != 3 && source != 4) PutLittleEndian32(at, 0);
}

// Copies `n` bytes from the cursor into `into` and advances.
void Take(const std::uint8_t*& cursor, std::uint8_t* into, std::size_t n) {
  std::memcpy(into, cursor, n);
  cursor += n;
}

void Commit(const ModeImage& image, const ModeFileLayout& layout, ParameterStore& store) {
  store.WriteBytes(Region::mainParams, 0, std::span(image.mainParams.data(), layout.mainParamsBytes));
  store.WriteBytes(Region::dspBlock, 0, std::span(image.dspBlock.data(), layout.dspBlockBytes));
  if (layout.hasChLocationGain) store.WriteBytes(Region::chLocationGain, 0, image.chLocationGain);
  if (layout.hasLocationSettings) store.SetLocationRecord(image.locationSettings);
  if (layout.hasMicBoostLevel) store.WriteBytes(Region::micBoostLevel, 0, image.micBoostLevel);
}

// Fills a "%d ... %s" message without handing a non-literal format to printf.
std::string FormatFileError(std::string_view format, int code, const std::string& path) {
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 'd' || format[i + 1] == 's')) {
      text += format[i + 1] == 'd' ? std::to_string(code) : path;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

ModeFileResult Failure(ModeFileProblem problem, std::string reason, int version = 0, int errorCode = 0) {
  return {false, std::move(reason), version, errorCode, problem, {}};
}

ModeFileResult OpenFailure(const std::string& path, int error) {
  return Failure(ModeFileProblem::cannotOpen, FormatFileError(kModeFileOpenErrorFormat, error, path), 0,
                 error);
}

ModeFileResult WriteFailure(const std::string& path, int error) {
  return Failure(ModeFileProblem::cannotWrite, FormatFileError(kModeFileWriteErrorFormat, error, path), 0,
                 error);
}

ModeFileResult Saved() {
  return {true, {}, kModeFileVersion, 0, ModeFileProblem::none, {}};
}

// The regions the layout carries are clamped where they sit in the image, before the store sees them.
std::vector<ClampedValue> ClampCarried(ModeImage& image, const ModeFileLayout& layout) {
  auto clamped =
      ClampImage(std::span(image.mainParams.data(), layout.mainParamsBytes),
                 std::span(image.dspBlock.data(), layout.dspBlockBytes),
                 layout.hasChLocationGain ? std::span(image.chLocationGain) : std::span<std::uint8_t>());
  if (layout.hasMicBoostLevel && ClampMicBoostBytes(image.micBoostLevel))
    clamped.push_back({ClampedValue::Kind::micBoost, 0});
  return clamped;
}

// --- saving ---

// Where the bytes really go: a symbolic link is followed so that the link itself survives the save.
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

// A name beside the target that no other save can be using; created exclusively.
int CreateTemporary(const std::string& target, std::string* tempPath) {
  static std::atomic<std::uint64_t> counter{0};
  const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t seed = now ^ (static_cast<std::uint64_t>(::getpid()) << 32);
  for (int attempt = 0; attempt < 100; ++attempt) {
    seed = seed * 6364136223846793005ull + counter.fetch_add(1) + 1442695040888963407ull;
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(seed));
    *tempPath = target + ".tmp" + suffix;
    const int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
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
int FillTemporary(int fd, std::span<const std::uint8_t> bytes, const struct stat* previous) {
  int error = 0;
  // A replaced file keeps its permissions; a new one gets the usual ones (0666 less the umask).
  if (previous != nullptr) (void)::fchmod(fd, previous->st_mode & 07777);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

int WriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes) {
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

void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

std::size_t ModeFileLayout::FileBytes() const {
  return kVersionBytes + mainParamsBytes + dspBlockBytes + (hasChLocationGain ? kChLocationGainBytes : 0) +
         (hasLocationSettings ? kLocationSettingsBytes : 0) + (hasMicBoostLevel ? kMicBoostLevelBytes : 0);
}

const ModeFileLayout* ModeFileLayoutOf(int version) {
  if (version < 1 || version > static_cast<int>(kLayouts.size())) return nullptr;
  return &kLayouts[static_cast<std::size_t>(version - 1)];
}

ModeFileResult ParseModeFile(std::span<const std::uint8_t> bytes, ParameterStore& store) {
  if (bytes.size() < kVersionBytes) {
    return Failure(ModeFileProblem::unsupportedVersion,
                   "Mode file is too short: " + std::to_string(bytes.size()) + " bytes, no version.");
  }
  const int version = LittleEndian32(bytes.data());
  const ModeFileLayout* layout = ModeFileLayoutOf(version);
  if (layout == nullptr) {
    return Failure(ModeFileProblem::unsupportedVersion, std::string(kModeFileVersionNotSupported), version);
  }
  if (bytes.size() < layout->FileBytes()) {
    return Failure(ModeFileProblem::truncated,
                   FormatFileError(kModeFileTruncatedFormat, version, {}) + " It has " +
                       std::to_string(bytes.size()) + " bytes of " + std::to_string(layout->FileBytes()) +
                       ".",
                   version);
  }

  ModeImage image;
  const std::uint8_t* cursor = bytes.data() + kVersionBytes;
  Take(cursor, image.mainParams.data(), layout->mainParamsBytes);
  Take(cursor, image.dspBlock.data(), layout->dspBlockBytes);
  if (layout->hasChLocationGain) Take(cursor, image.chLocationGain.data(), kChLocationGainBytes);
  if (layout->hasLocationSettings) Take(cursor, image.locationSettings.data(), kLocationSettingsBytes);
  if (layout->hasMicBoostLevel) Take(cursor, image.micBoostLevel.data(), kMicBoostLevelBytes);
  FixMusicSource(image.mainParams);
  auto clamped = ClampCarried(image, *layout);

  Commit(image, *layout, store);
  return {true, {}, version, 0, ModeFileProblem::none, std::move(clamped)};
}

ModeFileResult ReadModeFileBytes(const std::string& path, std::vector<std::uint8_t>* bytes) {
  // Not blocking: opening a pipe with no writer would otherwise wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return OpenFailure(path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool directory = S_ISDIR(st.st_mode);
    ::close(fd);
    if (directory) return OpenFailure(path, EISDIR);
    return Failure(ModeFileProblem::notRegularFile, "Not a mode file (not a regular file): " + path);
  }
  if (static_cast<std::uint64_t>(st.st_size) > kModeFileMaxBytes) {
    ::close(fd);
    return Failure(ModeFileProblem::tooLarge, "Not a mode file (" + std::to_string(st.st_size) +
                                                  " bytes; a mode file has " +
                                                  std::to_string(kModeFileBytes) + "): " + path);
  }
  // Bytes past a version-8 layout are never used.
  bytes->assign(kModeFileBytes, 0);
  std::size_t size = 0;
  int error = 0;
  while (size < bytes->size()) {
    const ssize_t n = ::read(fd, bytes->data() + size, bytes->size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    size += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes->resize(size);
  if (error != 0) return OpenFailure(path, error);
  return {true, {}, 0, 0, ModeFileProblem::none, {}};
}

ModeFileResult ReadModeFile(ParameterStore& store, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (ModeFileResult read = ReadModeFileBytes(path, &bytes); !read.ok) return read;
  return ParseModeFile(bytes, store);
}

std::vector<std::uint8_t> SerializeModeFile(const ParameterStore& store) {
  std::vector<std::uint8_t> bytes(kModeFileBytes);
  PutLittleEndian32(bytes.data(), static_cast<std::uint32_t>(kModeFileVersion));
  const auto region = [&](Region r, std::size_t offset) {
    store.ReadBytes(r, 0, std::span(bytes.data() + offset, RegionSize(r)));
  };
  region(Region::mainParams, kModeFileMainParamsOffset);
  region(Region::dspBlock, kModeFileDspBlockOffset);
  region(Region::chLocationGain, kModeFileChLocationGainOffset);
  region(Region::locationSettings, kModeFileLocationSettingsOffset);
  region(Region::micBoostLevel, kModeFileMicBoostLevelOffset);
  return bytes;
}

ModeFileResult WriteModeFile(const ParameterStore& store, const std::string& path) {
  const std::string target = ResolveTarget(path);
  struct stat previous {};
  const bool exists = ::stat(target.c_str(), &previous) == 0;
  if (exists && S_ISDIR(previous.st_mode)) return WriteFailure(path, EISDIR);
  if (exists && ::access(target.c_str(), W_OK) != 0) return WriteFailure(path, errno);
  const auto bytes = SerializeModeFile(store);
  // A pipe or device (say /dev/stdout) is written as it is; replacing it would destroy it.
  if (exists && !S_ISREG(previous.st_mode)) {
    const int error = WriteInPlace(target, bytes);
    return error == 0 ? Saved() : WriteFailure(path, error);
  }

  std::string tempPath;
  const int fd = CreateTemporary(target, &tempPath);
  if (fd < 0) return WriteFailure(path, errno);
  int error = FillTemporary(fd, bytes, exists ? &previous : nullptr);
  if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    return WriteFailure(path, error);
  }
  SyncDirectory(DirectoryOf(target));
  return Saved();
}

int ModeSlotOfFileName(std::string_view path) {
  const auto slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  if (name.size() < 2 || (name[0] != 'm' && name[0] != 'M')) return -1;
  if (name[1] < '1' || name[1] > '4') return -1;
  return name[1] - '1';
}

}  // namespace vireo
