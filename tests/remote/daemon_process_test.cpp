// vireod as a process: it creates its token file, serves on the address it was given and ends cleanly
// on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <regex>
#include <thread>

#include "common/spawned_process.h"
#include "common/temp_folder.h"
#include "common/remote_rig.h"

namespace vireo::remote::test {
namespace {

// The log line that names the bound address, once it has been written.
std::string WaitForListenLine(const std::string& logPath, pid_t pid) {
  const std::regex line("listening on http://127\\.0\\.0\\.1:([0-9]+)");
  for (;;) {
    std::ifstream in(logPath);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::smatch m;
    if (std::regex_search(text, m, line)) return m[1];
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return {};  // it ended without listening
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST(Vireod, ServesWithItsNewTokenAndStopsOnSigterm) {
  vireo::test::TempFolder folder;
  const std::string tokenPath = (folder.path() / "token").string();
  const std::string logPath = (folder.path() / "log").string();
  std::vector<std::string> args = {VIREOD_PATH, "--emulator", "--listen", "127.0.0.1:0", "--token-file", tokenPath};
  const pid_t pid = vireo::test::SpawnWithStderrTo(args, logPath);
  ASSERT_NE(pid, 0);

  const std::string port = WaitForListenLine(logPath, pid);
  ASSERT_FALSE(port.empty());
  std::string token;
  std::ifstream(tokenPath) >> token;
  const HttpAnswer answer = Request(static_cast<unsigned short>(std::stoi(port)), http::verb::get, "/api/v1/fields/musicVolume",
                                    "", {{"Authorization", "Bearer " + token}}, false);
  EXPECT_EQ(answer.status, 200);

  ASSERT_EQ(::kill(pid, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vireo::remote::test
