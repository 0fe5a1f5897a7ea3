// Remote files (.remo) and plug key files: round trips and bad files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "../common/temp_folder.h"
#include "smarthome/plug_keys.h"
#include "smarthome/remote_keys.h"

namespace vireo::smarthome {
namespace {
namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
  // Things that are no file of ours, each made in the test's folder (but /dev/null): a pipe nobody
  // writes to, a device, a folder, and a file far larger than any key or remote file.
  std::vector<std::string> NoFiles() const {
    EXPECT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder");
    std::ofstream(Path("huge")).close();
    fs::resize_file(Path("huge"), 1ull << 30);  // sparse: costs no disk
    return {Path("fifo"), "/dev/null", Path("folder"), Path("huge")};
  }
  std::vector<std::string> Entries(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(FilesTest, RemoteFileRoundTripsItsEighteenBytes) {
  RemoteKeyTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(0xA0 + i);
  ASSERT_TRUE(WriteRemoteFile(Path("keys.remo"), table, nullptr));
  EXPECT_EQ(fs::file_size(Path("keys.remo")), 18u);
  RemoteKeyTable back{};
  ASSERT_TRUE(ReadRemoteFile(Path("keys.remo"), &back, nullptr));
  EXPECT_EQ(back, table);
}

TEST_F(FilesTest, RemoteFileNameAlwaysEndsInRemo) {
  EXPECT_EQ(RemoteFilePath("/x/living.txt"), "/x/living.remo");
  EXPECT_EQ(RemoteFilePath("/x/living"), "/x/living.remo");
  EXPECT_EQ(RemoteFilePath("/x/a.b.remo"), "/x/a.b.remo");
}

TEST_F(FilesTest, RemoteFilesOfTheWrongSizeOrMissingAreRefused) {
  Write("short.remo", std::string(17, '\x01'));
  Write("long.remo", std::string(19, '\x01'));
  const std::string cases[] = {"short.remo", "long.remo", "missing.remo"};
  for (const std::string& name : cases) {
    RemoteKeyTable table{};
    table[3] = 0x77;
    std::string error;
    EXPECT_FALSE(ReadRemoteFile(Path(name), &table, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_EQ(table[3], 0x77) << name;  // untouched
  }
}

TEST_F(FilesTest, RemoteFileReaderRefusesPipesDevicesFoldersAndLargeFilesWithoutWaiting) {
  for (const std::string& path : NoFiles()) {
    RemoteKeyTable table{};
    table[3] = 0x77;
    std::string error;
    EXPECT_FALSE(ReadRemoteFile(path, &table, &error)) << path;
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_EQ(table[3], 0x77) << path;
  }
}

TEST_F(FilesTest, RemoteFileOpenFailureGivesTheErrorNumberAndAWrongSizeNone) {
  Write("short.remo", std::string(17, '\x01'));
  RemoteKeyTable table{};
  int openError = -1;
  EXPECT_FALSE(ReadRemoteFile(Path("missing.remo"), &table, nullptr, &openError));
  EXPECT_EQ(openError, ENOENT);
  EXPECT_FALSE(ReadRemoteFile(Path("short.remo"), &table, nullptr, &openError));
  EXPECT_EQ(openError, 0);
}

TEST_F(FilesTest, RemoteFileWriteFailureGivesTheErrorNumber) {
  int errorCode = 0;
  EXPECT_FALSE(WriteRemoteFile(Path("no/such/dir/x.remo"), RemoteKeyTable{}, &errorCode));
  EXPECT_EQ(errorCode, ENOENT);
}

TEST_F(FilesTest, LearningTextsOfTheFirstAndLastFunction) {
  EXPECT_EQ(LearningText(1, 1), "Learning key:Power key");
  EXPECT_EQ(LearningText(17, 0), "您正在学习的键：减小音乐音量");
  EXPECT_EQ(LearningText(5, 1), "Learning key:M4/Down ");
  EXPECT_EQ(LearningText(18, 1), "");
  EXPECT_EQ(LearningText(0, 1), "");
}

TEST_F(FilesTest, MissingKeyFileIsCreatedWithSixtyThreeDefaultKeys) {
  const std::string path = PlugKeyFilePath(dir_.string(), 7);
  EXPECT_EQ(fs::path(path).filename(), "7.xml");
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadOrCreatePlugKeys(path, &keys, nullptr));
  EXPECT_TRUE(TakeKeyFileNotices(dir_.string()).empty());  // nothing was unreadable
  EXPECT_EQ(Entries(dir_), std::vector<std::string>{"7.xml"});
  // Read back with the XML library directly, not with the code under test.
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  int count = 0;
  for (const pugi::xml_node key : doc.child("Keys").children("Key")) {
    EXPECT_EQ(key.child("Index").text().as_int(), count);
    EXPECT_EQ(std::string(key.child("Name").text().as_string()), "Key" + std::to_string(count + 1));
    EXPECT_EQ(key.child("Status").text().as_int(), 0);
    ++count;
  }
  EXPECT_EQ(count, 63);
  std::ifstream in(path);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, R"(<?xml version="1.0" encoding="UTF-8"?>)");
}

TEST_F(FilesTest, KeyFileRoundTripsNamesAndStatus) {
  std::vector<PlugKey> keys = DefaultPlugKeys();
  keys[0].name = "电视开关";
  keys[62].name = "Vol+ & <mute>";
  keys[62].status = 1;
  ASSERT_TRUE(SavePlugKeys(Path("4.xml"), keys, nullptr));
  std::vector<PlugKey> back;
  ASSERT_TRUE(LoadPlugKeys(Path("4.xml"), &back, nullptr));
  EXPECT_EQ(back, keys);
}

TEST_F(FilesTest, BadKeyFilesGiveAnErrorAndTheDefaults) {
  Write("truncated.xml", "<?xml version=\"1.0\"?><Keys><Key><Index>3</Index><Na");
  Write("notxml.xml", "\x01\x02 garbage");
  Write("otherroot.xml", "<?xml version=\"1.0\"?><Plugs/>");
  std::vector<std::string> cases = NoFiles();
  for (const char* name : {"truncated.xml", "notxml.xml", "otherroot.xml", "missing.xml"})
    cases.push_back(Path(name));
  for (const std::string& path : cases) {
    std::vector<PlugKey> keys;
    std::string error;
    EXPECT_FALSE(LoadPlugKeys(path, &keys, &error)) << path;
    EXPECT_FALSE(error.empty()) << path;
    EXPECT_EQ(keys, DefaultPlugKeys()) << path;
  }
}

// The unreadable file a load, a learned key or a rename finds: garbage, another root, a file cut short.
TEST_F(FilesTest, UnreadableKeyFileIsKeptBesideANewOneAndSaidOnce) {
  const std::string bad[] = {"\x01\x02 garbage", "<?xml version=\"1.0\"?><Plugs/>",
                             "<Keys><Key><Index>3</Index><Name>My TV</Na"};
  struct Operation {
    const char* what;
    std::function<bool(const std::string& folder)> run;
    PlugKey key5;  // key 5 of the new file
  };
  const Operation operations[] = {
      {"load",
       [](const std::string& folder) {
         std::vector<PlugKey> keys;
         return LoadOrCreatePlugKeys(PlugKeyFilePath(folder, 4), &keys, nullptr);
       },
       {5, "Key6", 0}},
      {"learn",
       [](const std::string& folder) { return MarkPlugKeyLearned(folder, 4, 5, nullptr); },
       {5, "Key6", 1}},
      {"rename",
       [](const std::string& folder) { return RenamePlugKey(folder, 4, 5, "Power", nullptr, nullptr); },
       {5, "Power", 0}},
  };
  int n = 0;
  for (const std::string& contents : bad) {
    for (const Operation& op : operations) {
      const fs::path folder = dir_ / std::to_string(n++);
      fs::create_directory(folder);
      std::ofstream(folder / "4.xml", std::ios::binary) << contents;
      ASSERT_TRUE(op.run(folder.string())) << op.what << " " << contents;

      const std::vector<std::string> entries = Entries(folder);
      ASSERT_EQ(entries.size(), 2u) << op.what << " " << contents;
      EXPECT_EQ(entries[0], "4.xml");
      EXPECT_TRUE(entries[1].starts_with("4.xml.unreadable-")) << entries[1];
      EXPECT_EQ(entries[1].size(), std::string("4.xml.unreadable-YYYYMMDD-HHMMSS").size()) << entries[1];
      EXPECT_EQ(Contents(folder / entries[1]), contents) << op.what;
      std::vector<PlugKey> keys;
      ASSERT_TRUE(LoadPlugKeys((folder / "4.xml").string(), &keys, nullptr)) << op.what;
      EXPECT_EQ(keys[5], op.key5) << op.what;
      EXPECT_EQ(keys[3], (PlugKey{3, "Key4", 0})) << op.what;

      EXPECT_EQ(TakeKeyFileNotices(folder.string()),
                (std::vector<KeyFileNotice>{{4, (folder / entries[1]).string()}}))
          << op.what;
      // Said once, and the new file is readable: a second run keeps nothing more.
      EXPECT_TRUE(TakeKeyFileNotices(folder.string()).empty());
      ASSERT_TRUE(op.run(folder.string())) << op.what;
      EXPECT_EQ(Entries(folder).size(), 2u) << op.what;
      EXPECT_TRUE(TakeKeyFileNotices(folder.string() + "/").empty()) << op.what;
    }
  }
}

TEST_F(FilesTest, KeyFileNoticeSaysWhereTheUnreadableFileWasKept) {
  const KeyFileNotice notice{4, "/home/u/Plug/4.xml.unreadable-20260110-115959"};
  EXPECT_EQ(
      KeyFileNoticeText(notice, 1),
      "Key file of plug 4 could not be read; kept as /home/u/Plug/4.xml.unreadable-20260110-115959, a new "
      "one was made");
  EXPECT_EQ(KeyFileNoticeText(notice, 0),
            "插座4的Key文件无法读取，已保存为/home/u/Plug/4.xml.unreadable-20260110-115959，已新建文件");
}

TEST_F(FilesTest, PartialKeyFileKeepsDefaultsAndIgnoresIndicesOutOfRange) {
  Write("p.xml",
        "<Keys><Key><Index>2</Index><Name>TV</Name><Status>1</Status></Key>"
        "<Key><Index>63</Index><Name>Beyond</Name><Status>1</Status></Key>"
        "<Key><Index>-1</Index><Name>Before</Name></Key></Keys>");
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadPlugKeys(Path("p.xml"), &keys, nullptr));
  ASSERT_EQ(keys.size(), 63u);
  EXPECT_EQ(keys[2], (PlugKey{2, "TV", 1}));
  EXPECT_EQ(keys[1], (PlugKey{1, "Key2", 0}));
}

TEST_F(FilesTest, ClearingTheKeyFolderMovesEverythingIntoANewBackupFolder) {
  Write("2.xml", "<Keys><Key><Index>0</Index><Name>Projector</Name></Key></Keys>");
  Write("4.xml.unreadable-20260101-000000", "kept before");
  fs::create_directories(dir_ / "sub" / "deeper");
  fs::create_directories(dir_ / "backup-20250101-000000");
  Write("backup-20250101-000000/3.xml", "an earlier backup");

  const PlugFolderBackup first = BackUpAndClearPlugFolder(dir_.string());
  EXPECT_EQ(first.moved, 3);
  EXPECT_EQ(first.left, 0);
  const fs::path backup = first.folder;
  EXPECT_EQ(backup.parent_path(), dir_);
  EXPECT_TRUE(backup.filename().string().starts_with("backup-")) << backup;
  EXPECT_EQ(Entries(dir_), (std::vector<std::string>{"backup-20250101-000000", backup.filename().string()}));
  EXPECT_EQ(Entries(backup), (std::vector<std::string>{"2.xml", "4.xml.unreadable-20260101-000000", "sub"}));
  EXPECT_EQ(Contents(backup / "2.xml"), "<Keys><Key><Index>0</Index><Name>Projector</Name></Key></Keys>");
  EXPECT_TRUE(fs::is_directory(backup / "sub" / "deeper"));
  EXPECT_EQ(Contents(dir_ / "backup-20250101-000000" / "3.xml"), "an earlier backup");

  // Nothing left to keep: no empty backup folder.
  const PlugFolderBackup nothing = BackUpAndClearPlugFolder(dir_.string());
  EXPECT_EQ(nothing.folder, "");
  EXPECT_EQ(nothing.moved, 0);
  EXPECT_EQ(Entries(dir_).size(), 2u);

  // A second clearing (within the same second, most likely) never shares the first one's folder.
  Write("2.xml", "again");
  const PlugFolderBackup second = BackUpAndClearPlugFolder(dir_.string());
  EXPECT_NE(second.folder, first.folder);
  EXPECT_EQ(Contents(fs::path(second.folder) / "2.xml"), "again");
  EXPECT_EQ(Contents(backup / "2.xml"), "<Keys><Key><Index>0</Index><Name>Projector</Name></Key></Keys>");
}

TEST_F(FilesTest, PlugFolderFollowsTheDesktopsDocumentsFolder) {
  const char* saved[] = {std::getenv("HOME"), std::getenv("XDG_CONFIG_HOME"),
                         std::getenv("XDG_DOCUMENTS_DIR")};
  const std::string keep[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
  setenv("HOME", dir_.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(DefaultPlugFolder(), (dir_ / "Documents" / "Plug").string());  // no user-dirs.dirs
  fs::create_directories(dir_ / ".config");
  std::ofstream(dir_ / ".config" / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                        "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n"
                                                        "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n";
  EXPECT_EQ(DefaultPlugFolder(), (dir_ / "文档" / "Plug").string());
  setenv("XDG_DOCUMENTS_DIR", "/srv/docs", 1);
  EXPECT_EQ(DefaultPlugFolder(), "/srv/docs/Plug");
  const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"};
  for (int i = 0; i < 3; ++i) {
    if (saved[i]) {
      setenv(names[i], keep[i].c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}

}  // namespace
}  // namespace vireo::smarthome
