// Key files changed on one thread while another reads or changes them: the window reads and renames
// while the controller's worker marks learned keys.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../common/temp_folder.h"
#include "smarthome/plug_keys.h"

namespace vireo::smarthome {
namespace {

namespace fs = std::filesystem;

class KeyFileThreads : public ::testing::Test {
 protected:
  test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
};

// Every key named after version `v`, long enough that a file takes several writes of the disk cache.
std::vector<PlugKey> Version(int v) {
  std::vector<PlugKey> keys = DefaultPlugKeys();
  for (PlugKey& k : keys) k.name = "version " + std::to_string(v) + " of a rather long key name";
  return keys;
}

TEST_F(KeyFileThreads, ReaderNeverSeesAPartFileWhileAnotherThreadRewritesIt) {
  constexpr int kRewrites = 400;
  const std::string path = PlugKeyFilePath(dir_.string(), 4);
  ASSERT_TRUE(SavePlugKeys(path, Version(0), nullptr));
  std::atomic<bool> readerStarted{false};
  std::atomic<bool> writerDone{false};
  std::thread writer([&] {
    while (!readerStarted.load()) std::this_thread::yield();
    for (int v = 1; v <= kRewrites; ++v) SavePlugKeys(path, Version(v), nullptr);
    writerDone = true;
  });
  int reads = 0;
  int failures = 0;
  int mixed = 0;
  do {
    std::vector<PlugKey> keys;
    if (!LoadPlugKeys(path, &keys, nullptr) || keys[0].name == "Key1") {
      ++failures;
    } else if (keys[62].name != keys[0].name) {
      ++mixed;  // two versions in one file
    }
    ++reads;
    readerStarted = true;
  } while (!writerDone.load());
  writer.join();
  EXPECT_EQ(failures, 0) << "of " << reads << " reads";
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  std::vector<PlugKey> last;
  ASSERT_TRUE(LoadPlugKeys(path, &last, nullptr));
  EXPECT_EQ(last, Version(kRewrites));
}

TEST_F(KeyFileThreads, RenamesAndLearnedKeysMadeAtTheSameTimeAllStay) {
  const std::string folder = dir_.string();
  std::atomic<int> ready{0};
  const auto together = [&] {
    ++ready;
    while (ready.load() < 2) std::this_thread::yield();
  };
  std::thread window([&] {
    together();
    for (int k = 0; k < kPlugKeyCount; ++k)
      RenamePlugKey(folder, 4, k, "Name " + std::to_string(k), nullptr, nullptr);
  });
  std::thread worker([&] {
    together();
    for (int k = 0; k < kPlugKeyCount; ++k) MarkPlugKeyLearned(folder, 4, k, nullptr);
  });
  window.join();
  worker.join();
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadPlugKeys(PlugKeyFilePath(folder, 4), &keys, nullptr));
  for (int k = 0; k < kPlugKeyCount; ++k)
    EXPECT_EQ(keys[static_cast<std::size_t>(k)], (PlugKey{k, "Name " + std::to_string(k), 1}));
  EXPECT_TRUE(TakeKeyFileNotices(folder).empty());  // the file was never unreadable
}

}  // namespace
}  // namespace vireo::smarthome
