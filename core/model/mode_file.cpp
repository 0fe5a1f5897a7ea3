// Mode-file reader and writer: version table, all-or-nothing loading and replace-on-success saving.
#include "model/mode_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "files/file_access.h"
#include "model/field_ranges.h"

namespace vireo {
namespace {

constexpr std::size_t kVersionBytes = 4;

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
  std::string text;
  const files::FileRead read = files::ReadBoundedFile(path, kModeFileMaxBytes, &text);
  switch (read.problem) {
    case files::FileProblem::none:
      break;
    case files::FileProblem::cannotOpen:
      return OpenFailure(path, read.errorCode);
    case files::FileProblem::notRegularFile:
      return Failure(ModeFileProblem::notRegularFile, "Not a mode file (not a regular file): " + path);
    case files::FileProblem::tooLarge:
      return Failure(ModeFileProblem::tooLarge, "Not a mode file (" + std::to_string(read.size) +
                                                    " bytes; a mode file has " +
                                                    std::to_string(kModeFileBytes) + "): " + path);
  }
  // Bytes past a version-8 layout are never used.
  bytes->assign(text.begin(),
                text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), kModeFileBytes)));
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
  const auto bytes = SerializeModeFile(store);
  const int error = files::WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return error == 0 ? Saved() : WriteFailure(path, error);
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
