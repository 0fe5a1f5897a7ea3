// Bounded reads that refuse what is no file of ours, and one-step replacement of a file.
#include "files/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../common/temp_folder.h"

namespace vireo::files {
namespace {

namespace fs = std::filesystem;

class FileAccessTest : public ::testing::Test {
 protected:
  test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileAccessTest, ReaderRefusesWhatIsNoSmallRegularFileWithoutReadingIt) {
  constexpr std::size_t kBound = 100;
  Write("exact", std::string(kBound, 'a'));
  Write("over", std::string(kBound + 1, 'a'));
  Write("empty", "");
  std::ofstream(Path("huge")).close();
  fs::resize_file(Path("huge"), 1ull << 30);  // sparse: costs no disk
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);  // nobody writes to it: a blocking open would hang
  fs::create_directory(dir_ / "folder");
  struct Case {
    std::string path;
    FileProblem problem;
    int errorCode;
    std::size_t bytes;
  };
  const Case cases[] = {
      {Path("exact"), FileProblem::none, 0, kBound},
      {Path("empty"), FileProblem::none, 0, 0},
      {Path("over"), FileProblem::tooLarge, 0, 0},
      {Path("huge"), FileProblem::tooLarge, 0, 0},
      {Path("fifo"), FileProblem::notRegularFile, 0, 0},
      {"/dev/null", FileProblem::notRegularFile, 0, 0},
      {"/dev/zero", FileProblem::notRegularFile, 0, 0},
      {Path("folder"), FileProblem::cannotOpen, EISDIR, 0},
      {Path("missing"), FileProblem::cannotOpen, ENOENT, 0},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    const FileRead read = ReadBoundedFile(c.path, kBound, &bytes);
    EXPECT_EQ(read.problem, c.problem) << c.path;
    EXPECT_EQ(read.errorCode, c.errorCode) << c.path;
    EXPECT_EQ(bytes.size(), c.bytes) << c.path;
  }
  std::string bytes;
  EXPECT_EQ(ReadBoundedFile(Path("huge"), kBound, &bytes).size, 1ull << 30);  // for the message
}

TEST_F(FileAccessTest, ProblemsAreNamedForMessages) {
  EXPECT_EQ(DescribeFileProblem({FileProblem::none, 0, 0}), "");
  EXPECT_EQ(DescribeFileProblem({FileProblem::cannotOpen, ENOENT, 0}), "No such file or directory");
  EXPECT_EQ(DescribeFileProblem({FileProblem::notRegularFile, 0, 0}), "not a regular file");
  EXPECT_EQ(DescribeFileProblem({FileProblem::tooLarge, 0, 70000}), "too large (70000 bytes)");
}

TEST_F(FileAccessTest, ReplacementWritesExactlyTheNewBytesAndLeavesNothingBeside) {
  const std::string path = Path("keys.xml");
  ASSERT_EQ(WriteFileAtomically(path, "a longer first version"), 0);
  ASSERT_EQ(WriteFileAtomically(path, "short"), 0);
  EXPECT_EQ(Contents(path), "short");
  EXPECT_EQ(Entries(), std::vector<std::string>{"keys.xml"});
  EXPECT_EQ(WriteFileAtomically(dir_.string(), "x"), EISDIR);
  EXPECT_EQ(WriteFileAtomically(Path("no/such/folder/x"), "x"), ENOENT);
}

TEST_F(FileAccessTest, ASecretIsTheOwnersAloneWhateverItReplacesAndNeverGoesToAPipe) {
  const std::string path = Path("secret");
  Write("secret", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  ASSERT_EQ(WriteOwnerOnlyFile(path, "s3cret\n"), 0);
  EXPECT_EQ(Contents(path), "s3cret\n");
  struct stat file {};
  ASSERT_EQ(::stat(path.c_str(), &file), 0);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
  EXPECT_EQ(Entries(), std::vector<std::string>{"secret"});
  const std::string pipe = Path("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(WriteOwnerOnlyFile(pipe, "s3cret"), EINVAL);
}

}  // namespace
}  // namespace vireo::files
