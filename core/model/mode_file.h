// Mode files (*.noveq): the persisted regions of the parameter store, versions 1..8, read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/field_ranges.h"
#include "model/parameter_store.h"

namespace vireo {

// The version every mode file is written as.
inline constexpr int kModeFileVersion = 8;
inline constexpr std::size_t kModeFileBytes = 2175;  // a version-8 file

// Byte offsets of the regions in a version-8 file.
inline constexpr std::size_t kModeFileMainParamsOffset = 4;
inline constexpr std::size_t kModeFileDspBlockOffset = 868;
inline constexpr std::size_t kModeFileChLocationGainOffset = 2121;
inline constexpr std::size_t kModeFileLocationSettingsOffset = 2153;
inline constexpr std::size_t kModeFileMicBoostLevelOffset = 2173;

// Texts the interface shows for mode-file failures. The format strings take the system error code (%d)
// and the path (%s); the open-failure text keeps the wording users already know from saving.
inline constexpr std::string_view kModeFileWriteErrorFormat =
    "Errcode=%d,Can't write to file:\n%s\nProbaby it is write protected.";
inline constexpr std::string_view kModeFileOpenErrorFormat =
    "Can't write to file:\n%s\nProbaby it is write protected.";
inline constexpr std::string_view kModeFileErrorCaption = "Can't write to file";
inline constexpr std::string_view kModeFileVersionNotSupported = "Mode file version not support!";

// What one version of the file carries, in file order after the 4-byte version.
struct ModeFileLayout {
  int version;
  std::size_t mainParamsBytes;
  std::size_t dspBlockBytes;
  bool hasChLocationGain;
  bool hasLocationSettings;
  bool hasMicBoostLevel;

  // The smallest file of this version that holds every region it carries.
  std::size_t FileBytes() const;
};

// The layout of `version`, or nullptr when the version is not 1..8.
const ModeFileLayout* ModeFileLayoutOf(int version);

// Files larger than this are not mode files; refusing them early keeps a mistaken path (a disk image,
// /dev/zero) from being read at all.
inline constexpr std::size_t kModeFileMaxBytes = 64 * 1024;

// Why a mode file could not be used, so each front end can say it in its own words and language.
enum class ModeFileProblem : std::uint8_t {
  none,
  cannotOpen,          // missing, unreadable or a directory (errorCode says which)
  notRegularFile,      // a pipe, socket or device
  tooLarge,            // more than kModeFileMaxBytes
  unsupportedVersion,  // no version, or one outside 1..8
  truncated,           // shorter than its version's layout
  cannotWrite,
  machineUnavailable,  // loading for the machine, which is not connected or is busy
};

struct ModeFileResult {
  bool ok = false;
  std::string reason;  // empty on success; otherwise the text to show
  int version = 0;     // the file's version, when it could be read
  int errorCode = 0;   // the system's error number when a file operation failed, else 0
  ModeFileProblem problem = ModeFileProblem::none;
  std::vector<ClampedValue> clamped;  // what the file held out of range, loaded at the nearest limit
};

// The English line for a file shorter than its version's layout ("%d" is the version).
inline constexpr std::string_view kModeFileTruncatedFormat =
    "The file is shorter than a version-%d mode file.";

// Loads a mode file's regions into `store`. On any failure (unreadable, not a regular file, too large,
// unknown version, shorter than its version's layout) the store is left exactly as it was. Regions the
// version does not carry keep their values; bytes past the layout are ignored. `musicSource` values other
// than 0, 2, 3, 4 become 0, and every value outside its control's range is loaded clamped (listed in
// `clamped`), so nothing a file holds can reach the machine out of range.
ModeFileResult ParseModeFile(std::span<const std::uint8_t> bytes, ParameterStore& store);
ModeFileResult ReadModeFile(ParameterStore& store, const std::string& path);
// The first kModeFileBytes bytes of the file at `path`, with the same refusals as ReadModeFile (not a
// regular file, too large, unreadable); for callers that check a file before they load it.
ModeFileResult ReadModeFileBytes(const std::string& path, std::vector<std::uint8_t>* bytes);

// The version-8 image of the store's persisted regions (kModeFileBytes long).
std::vector<std::uint8_t> SerializeModeFile(const ParameterStore& store);

// Writes a version-8 file. The bytes go to a temporary file beside the target that replaces it only once
// complete, so a failed save leaves any previous file as it was. A target that exists but is not
// writable is refused, as it would be when written in place; a pipe or device is written directly.
ModeFileResult WriteModeFile(const ParameterStore& store, const std::string& path);

// Mode slot 0..3 a file belongs to: its name without directory and extension, in lower case, begins
// with "m1".."m4". -1 for any other name.
int ModeSlotOfFileName(std::string_view path);

}  // namespace vireo
