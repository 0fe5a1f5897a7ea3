// Every vireo-cli command that takes a file refuses a path that is no file of its kind with one line and
// status 1, before it talks to a machine: no exception, no endless read, no hang on a pipe.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli::test {
namespace {

namespace fs = std::filesystem;

class FileArguments : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "folder");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::ofstream(Path("huge")).close();
    fs::resize_file(Path("huge"), 1ull << 30);  // sparse: costs no disk
    std::ofstream(Path("locked")).put('\x08');
    fs::permissions(Path("locked"), fs::perms::none);
    std::ofstream short8(Path("short"), std::ios::binary);
    short8.write("\x08\0\0\0", 4);  // version 8 and nothing more
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Status 1 and exactly one line on stderr that names `path` or its problem.
  static void ExpectOneLineFailure(const CliRun& run, const std::string& what) {
    EXPECT_EQ(run.status, 1) << what << "\n" << run.err;
    EXPECT_EQ(Lines(run.err).size(), 1u) << what << "\n" << run.err;
  }

  vireo::test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
};

TEST_F(FileArguments, InputsThatAreNoModeFile) {
  std::vector<std::string> bad{Path("folder"),  Path("fifo"), "/dev/zero",
                               Path("missing"), Path("huge"), Path("short")};
  // root reads a file without permissions, so "unreadable" only exists for other users
  if (::geteuid() != 0) bad.push_back(Path("locked"));
  for (const std::string& path : bad) {
    const std::vector<std::vector<std::string>> commands{
        {"--emulator", "restore", path},    {"mode", "show", path},
        {"mode", "diff", path, path},       {"mode", "convert", path, Path("out.noveq")},
        {"--emulator-state", path, "info"},
    };
    for (const auto& args : commands)
      ExpectOneLineFailure(RunArgs(args), args[0] + " " + args[1] + " " + path);
  }
}

TEST_F(FileArguments, RemoteAndFilterInputsThatAreNoFileOfTheirKind) {
  const std::string bad[] = {Path("folder"), Path("fifo"),    "/dev/zero",
                             "/dev/null",    Path("missing"), Path("huge")};
  for (const std::string& path : bad) {
    const std::vector<std::vector<std::string>> commands{
        {"--emulator", "remote", "load", path},
        {"--emulator", "eq", "import", "0", path},
    };
    for (const auto& args : commands) {
      const CliRun run = RunArgs(args);
      ExpectOneLineFailure(run, args[1] + " " + path);
      EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    }
  }
}

TEST_F(FileArguments, OutputsThatCanTakeNoFile) {
  const std::vector<std::vector<std::string>> commands{
      {"--emulator", "backup", Path("folder")},
      {"--trace", Path("folder"), "--emulator", "info"},
      {"--trace", Path("fifo"), "--emulator", "info"},  // nobody reads the pipe
  };
  for (const auto& args : commands) ExpectOneLineFailure(RunArgs(args), args[1] + " " + args[2]);
}

TEST_F(FileArguments, TruncatedFileSaysItIsShorterThanItsVersion) {
  const CliRun run = RunArgs({"mode", "show", Path("short")});
  EXPECT_NE(run.err.find("shorter than a version-8 mode file"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vireo::cli::test
