// Mode files on disk: write/read round trip, failed saves that must keep the previous file, open failures.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "../common/temp_folder.h"
#include "model/field_ranges.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

namespace fs = std::filesystem;

class ModeFileSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetStoreDefaults(store_);
    store_.SetInt(slot::micVolume, 77);
    store_.SetFloat(slot::chDelay[3], 12.5f);
    store_.Fill(Region::chLocationGain, 0x3F);
    store_.SetByte(Region::dspBlock, 1250, 0x42);
    store_.SetByte(Region::micBoostLevel, 0, 0xC1);
    // In range, as every loaded store is, so that a saved file reads back byte for byte.
    ClampStoreToRanges(store_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<std::uint8_t> Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  static void WriteRaw(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
  ParameterStore store_;
};

// Starts `body` in a child process (as an unprivileged user when asked and the tests run as root, since
// root may write anywhere); process limits and identities set there do not leak into the tests.
pid_t StartChild(bool unprivileged, const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(90);
    ::_exit(body());
  }
  return pid;
}

int WaitChild(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

int InChild(bool unprivileged, const std::function<int()>& body) {
  return WaitChild(StartChild(unprivileged, body));
}

TEST_F(ModeFileSaveTest, WriteThenReadReproducesTheStore) {
  const std::string path = PathOf("m2 karaoke.noveq");
  const ModeFileResult written = WriteModeFile(store_, path);
  ASSERT_TRUE(written.ok) << written.reason;
  EXPECT_EQ(written.version, 8);
  EXPECT_EQ(Contents(path), SerializeModeFile(store_));
  EXPECT_EQ(Entries(), std::vector<std::string>{"m2 karaoke.noveq"});  // no temporary left behind

  ParameterStore back;
  ResetStoreDefaults(back);
  const ModeFileResult read = ReadModeFile(back, path);
  ASSERT_TRUE(read.ok) << read.reason;
  EXPECT_EQ(read.version, 8);
  EXPECT_EQ(SerializeModeFile(back), SerializeModeFile(store_));
  EXPECT_EQ(back.Int(slot::micVolume), 77);
  EXPECT_EQ(back.Float(slot::chDelay[3]), 12.5f);
}

TEST_F(ModeFileSaveTest, OverwriteKeepsPermissionsAndFollowsLinks) {
  const std::string real = PathOf("real.noveq");
  WriteRaw(real, {1, 2, 3});
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real.noveq", PathOf("link.noveq"));

  ASSERT_TRUE(WriteModeFile(store_, PathOf("link.noveq")).ok);
  EXPECT_TRUE(fs::is_symlink(PathOf("link.noveq")));
  EXPECT_EQ(Contents(real), SerializeModeFile(store_));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.noveq", "real.noveq"}));
}

TEST_F(ModeFileSaveTest, SaveIntoReadOnlyFolderFailsAndKeepsTheOldFile) {
  const std::string path = PathOf("preset.noveq");
  const std::vector<std::uint8_t> old{8, 0, 0, 0, 0xAA, 0xBB};
  WriteRaw(path, old);
  // The file itself stays writable: only the folder refuses new entries.
  fs::permissions(path, fs::perms::all);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

  const int code = InChild(true, [&] {
    const ModeFileResult r = WriteModeFile(store_, path);
    const std::string expected =
        "Errcode=13,Can't write to file:\n" + path + "\nProbaby it is write protected.";
    if (r.ok) return 1;
    if (r.errorCode != EACCES) return 2;
    return r.reason == expected ? 0 : 3;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Contents(path), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"preset.noveq"});
}

TEST_F(ModeFileSaveTest, WriteProtectedFileIsNotReplaced) {
  const std::string path = PathOf("locked.noveq");
  const std::vector<std::uint8_t> old{1, 0, 0, 0};
  WriteRaw(path, old);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir_, fs::perms::all);  // the folder would allow a rename over it

  const int code = InChild(true, [&] {
    const ModeFileResult r = WriteModeFile(store_, path);
    return !r.ok && r.errorCode == EACCES && r.reason.rfind("Errcode=13,", 0) == 0 ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Contents(path), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"locked.noveq"});
}

TEST_F(ModeFileSaveTest, SaveInterruptedMidWayKeepsTheOldFile) {
  const std::string path = PathOf("m1.noveq");
  const std::vector<std::uint8_t> old(2175, 0x5A);
  WriteRaw(path, old);

  // A file-size limit below the image makes the write stop part-way, as a full disk would.
  const int code = InChild(false, [&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 4;
    const ModeFileResult r = WriteModeFile(store_, path);
    return !r.ok && r.errorCode == EFBIG && r.reason.find(path) != std::string::npos ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Contents(path), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"m1.noveq"});
}

TEST_F(ModeFileSaveTest, PipeTargetIsWrittenNotReplaced) {
  const std::string path = PathOf("pipe");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const auto expected = SerializeModeFile(store_);
  const pid_t reader = StartChild(false, [&] { return Contents(path) == expected ? 0 : 1; });
  const ModeFileResult r = WriteModeFile(store_, path);
  EXPECT_TRUE(r.ok) << r.reason;
  EXPECT_EQ(WaitChild(reader), 0);  // the reader got exactly the image
  EXPECT_TRUE(fs::is_fifo(path));
  EXPECT_EQ(Entries(), std::vector<std::string>{"pipe"});
}

TEST_F(ModeFileSaveTest, SaveIntoMissingFolderFails) {
  const std::string path = PathOf("no-such-dir/x.noveq");
  const ModeFileResult r = WriteModeFile(store_, path);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, ENOENT);
  EXPECT_EQ(r.reason, "Errcode=2,Can't write to file:\n" + path + "\nProbaby it is write protected.");
}

TEST_F(ModeFileSaveTest, UnreadableFilesFailWithTheirPathAndLeaveTheStore) {
  const auto before = SerializeModeFile(store_);
  const std::string missing = PathOf("missing.noveq");
  ModeFileResult r = ReadModeFile(store_, missing);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, ENOENT);
  EXPECT_EQ(r.reason, "Can't write to file:\n" + missing + "\nProbaby it is write protected.");

  r = ReadModeFile(store_, dir_.string());  // a folder opens but cannot be read
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, EISDIR);

  const std::string shortFile = PathOf("short.noveq");
  std::vector<std::uint8_t> v8(2174, 0);
  v8[0] = 8;
  WriteRaw(shortFile, v8);
  r = ReadModeFile(store_, shortFile);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.version, 8);
  EXPECT_EQ(r.errorCode, 0);
  EXPECT_EQ(SerializeModeFile(store_), before);
}

}  // namespace
}  // namespace vireo
