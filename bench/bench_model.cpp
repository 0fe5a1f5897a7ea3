// Mode-file read and write: the in-memory codec and the whole file round trip through a temporary folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace {

namespace fs = std::filesystem;

void FillSample(vireo::ParameterStore& store) {
  vireo::ResetStoreDefaults(store);
  for (int s = 0; s < vireo::kMainSlotCount; ++s) store.SetInt(s, s * 3);
  store.SetInt(vireo::slot::musicSource, 2);
  store.Fill(vireo::Region::chLocationGain, 0x3F);
  store.SetByte(vireo::Region::micBoostLevel, 0, 0xC0);
}

// A private folder for the file benchmarks, removed when the benchmark ends.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vireo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  std::string File(const char* name) const { return (path_ / name).string(); }
  bool ok() const { return !path_.empty(); }

 private:
  fs::path path_;
};

void BM_ModeFileRead(benchmark::State& state) {
  vireo::ParameterStore source;
  FillSample(source);
  const auto bytes = vireo::SerializeModeFile(source);
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  for (auto _ : state) {
    const auto result = vireo::ParseModeFile(bytes, store);
    benchmark::DoNotOptimize(result.ok);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ModeFileRead);

void BM_ModeFileWrite(benchmark::State& state) {
  vireo::ParameterStore store;
  FillSample(store);
  for (auto _ : state) {
    auto bytes = vireo::SerializeModeFile(store);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * vireo::kModeFileBytes));
}
BENCHMARK(BM_ModeFileWrite);

void BM_ModeFileReadFromDisk(benchmark::State& state) {
  TempFolder folder;
  vireo::ParameterStore store;
  FillSample(store);
  const std::string path = folder.File("bench.noveq");
  if (!folder.ok() || !vireo::WriteModeFile(store, path).ok) {
    state.SkipWithError("cannot prepare the mode file");
    return;
  }
  for (auto _ : state) {
    const auto result = vireo::ReadModeFile(store, path);
    benchmark::DoNotOptimize(result.ok);
  }
}
BENCHMARK(BM_ModeFileReadFromDisk);

// Includes the flush to disk and the rename that make a save safe.
void BM_ModeFileWriteToDisk(benchmark::State& state) {
  TempFolder folder;
  vireo::ParameterStore store;
  FillSample(store);
  const std::string path = folder.File("bench.noveq");
  for (auto _ : state) {
    const auto result = vireo::WriteModeFile(store, path);
    if (!result.ok) {
      state.SkipWithError(result.reason.c_str());
      break;
    }
  }
}
BENCHMARK(BM_ModeFileWriteToDisk)->Unit(benchmark::kMicrosecond);

}  // namespace
