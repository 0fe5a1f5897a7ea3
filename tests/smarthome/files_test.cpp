// Remote files (.remo) and plug key files: round trips and bad files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>

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
  const std::string cases[] = {"truncated.xml", "notxml.xml", "otherroot.xml", "missing.xml"};
  for (const std::string& name : cases) {
    std::vector<PlugKey> keys;
    std::string error;
    EXPECT_FALSE(LoadPlugKeys(Path(name), &keys, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_EQ(keys, DefaultPlugKeys()) << name;
  }
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

TEST_F(FilesTest, EmptyFolderRemovesFilesAndSubfoldersButKeepsItself) {
  Write("1.xml", "x");
  fs::create_directories(dir_ / "sub" / "deeper");
  Write("sub/2.xml", "y");
  EXPECT_EQ(EmptyFolder(dir_.string()), 4);
  EXPECT_TRUE(fs::is_directory(dir_));
  EXPECT_TRUE(fs::is_empty(dir_));
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
