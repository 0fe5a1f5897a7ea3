#include "model/backups.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "../common/temp_folder.h"
#include "model/mode_file.h"
#include "model/store_layout.h"

namespace vireo {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    ResetStoreDefaults(store_);
  }
  test::TempFolder temp_;
  const std::string folder_ = temp_.path().string();
  ParameterStore store_;
};

constexpr std::time_t kNow = 1765324683;  // 2025-12-09 23:58:03 UTC

TEST_F(BackupsTest, ABackupIsAModeFileNamedByTimeAndSource) {
  store_.SetInt(slot::echoVolume, 37);
  std::string error;
  const std::string path = SaveBackup(store_, folder_ + "/new", "slot 2/../x", kNow, &error);
  EXPECT_EQ(path, folder_ + "/new/20251209-235803-slot2x.noveq") << error;
  ParameterStore back;
  ResetStoreDefaults(back);
  const ModeFileResult read = ReadModeFile(back, path);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.version, kModeFileVersion);
  EXPECT_EQ(back.Int(slot::echoVolume), 37);
  // A second backup within the same second keeps the first.
  EXPECT_EQ(SaveBackup(store_, folder_ + "/new", "slot 2/../x", kNow, &error),
            folder_ + "/new/20251209-235803-slot2x-2.noveq");
}

TEST_F(BackupsTest, TheNewestFiftyAreKeptAndListedNewestFirst) {
  std::string error;
  for (int i = 0; i < kBackupsKept + 2; ++i)
    ASSERT_FALSE(SaveBackup(store_, folder_, i % 2 ? "open-file" : "restore", kNow + 60 * i, &error).empty());
  std::ofstream(folder_ + "/notes.txt") << "not a backup";
  const std::vector<BackupEntry> list = ListBackups(folder_);
  ASSERT_EQ(list.size(), static_cast<std::size_t>(kBackupsKept));
  EXPECT_EQ(list.front().time, "2025-12-10 00:49:03");  // the 52nd: 51 minutes after the first
  EXPECT_EQ(list.front().source, "open-file");
  EXPECT_EQ(list.back().time, "2025-12-10 00:00:03");  // the first two are gone
  EXPECT_EQ(list.back().source, "restore");
  EXPECT_TRUE(fs::exists(folder_ + "/notes.txt"));
}

TEST_F(BackupsTest, AFolderThatCannotBeMadeIsReported) {
  fs::create_directories(folder_);
  std::ofstream(folder_ + "/file") << "x";
  std::string error;
  EXPECT_TRUE(SaveBackup(store_, folder_ + "/file/backups", "restore", kNow, &error).empty());
  EXPECT_NE(error.find("cannot create"), std::string::npos);
  EXPECT_TRUE(ListBackups(folder_ + "/missing").empty());
}

}  // namespace
}  // namespace vireo
