// vireo-cli plug, scene and remote against the emulator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../common/temp_folder.h"
#include "run_cli.h"

namespace vireo::cli {
namespace {
namespace fs = std::filesystem;
using test::Lines;
using test::RunArgs;

class SmartHomeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DOCUMENTS_DIR", dir_.c_str(), 1);  // the plug key files stay in the test's folder
  }
  void TearDown() override { unsetenv("XDG_DOCUMENTS_DIR"); }
  static test::CliRun Emulated(std::vector<std::string> args) {
    args.insert(args.begin(), "--emulator");
    return RunArgs(std::move(args));
  }
  vireo::test::TempFolder temp_;
  const fs::path dir_ = temp_.path();
};

TEST_F(SmartHomeCli, PlugListShowsTheNetworkAndSetSwitchesAndLearns) {
  auto run = Emulated({"plug", "list"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{"2 switch Lamp 0", "3 knob Dimmer 40", "4 switch IR Plug 0"}));

  run = Emulated({"plug", "set", "3", "70"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "3 70\n");

  run = Emulated({"plug", "set", "4", "197"});  // learn key 5
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Key learned\n");  // the English of the window's texts, as every message of the tool
  std::ifstream keyFile(dir_ / "Plug" / "4.xml");
  EXPECT_TRUE(keyFile.good());

  run = Emulated({"plug", "set", "9", "99"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "vireo-cli: node 9 is not in the network\n");
}

TEST_F(SmartHomeCli, LearnOverAnUnreadableKeyFileSaysWhereTheFileWasKept) {
  fs::create_directories(dir_ / "Plug");
  std::ofstream(dir_ / "Plug" / "4.xml") << "not a key file";
  const auto run = Emulated({"plug", "set", "4", "197"});  // learn key 5
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string kept = (dir_ / "Plug" / "4.xml.unreadable-").string();
  ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
  EXPECT_TRUE(run.err.starts_with("Key file of plug 4 could not be read; kept as " + kept)) << run.err;
  EXPECT_TRUE(run.err.ends_with(", a new one was made\n")) << run.err;
}

TEST_F(SmartHomeCli, ResetSaysWhereTheKeyFilesWereKept) {
  fs::create_directories(dir_ / "Plug");
  std::ofstream(dir_ / "Plug" / "4.xml") << "<Keys/>";
  const auto run = Emulated({"plug", "reset"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "reset\n");
  EXPECT_TRUE(run.err.starts_with("key files kept in " + (dir_ / "Plug" / "backup-").string())) << run.err;
  EXPECT_FALSE(fs::exists(dir_ / "Plug" / "4.xml"));
}

TEST_F(SmartHomeCli, PlugAddRenameAndRemove) {
  auto run = Emulated({"plug", "add", "knob", "Fan"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "added node 5\n");

  run = Emulated({"plug", "rename", "2", "knob", "ABCDEFGHIJKLMN"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2 knob ABCDEFGHIJKL\n");

  run = Emulated({"plug", "remove"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "removed node 4\n");

  EXPECT_EQ(Emulated({"plug", "add", "lamp", "X"}).status, 2);
}

TEST_F(SmartHomeCli, PlugNamesAreCutAtAWholeCharacterAndMalformedTextIsRefused) {
  // U+1F600 (F0 9F 98 80) would be units 12 and 13: it goes as a whole, never half of it.
  auto run = Emulated({"plug", "rename", "2", "knob", "abcdefghijk\xF0\x9F\x98\x80"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2 knob abcdefghijk\n");
  EXPECT_EQ(run.err, "vireo-cli: Name too long, only 12 characters kept\n");

  const std::string trace = (dir_ / "trace.txt").string();
  for (const char* name : {"Lamp\xE9", "\xC3(", "\xED\xA0\x80"}) {  // Latin-1, a broken pair, a surrogate
    const std::vector<std::string> commands[] = {{"plug", "rename", "2", "knob", name},
                                                 {"plug", "add", "knob", name}};
    for (std::vector<std::string> args : commands) {
      args.insert(args.begin(), {"--emulator", "--trace", trace});
      run = RunArgs(args);
      EXPECT_EQ(run.status, 1) << args[4];
      EXPECT_EQ(run.err, "vireo-cli: Name is not UTF-8 text\n") << args[4];
      EXPECT_EQ(run.out, "");
      EXPECT_FALSE(fs::exists(trace)) << "the machine was reached";
    }
  }
}

TEST_F(SmartHomeCli, PlugSetTakesOnlyPlugsAndTheTwoSceneNodes) {
  struct Case {
    const char* node;
    int status;
  };
  const Case cases[] = {{"0", 2},   {"1", 2},   {"2", 0},   {"232", 1}, {"233", 2}, {"239", 2}, {"240", 0},
                        {"241", 2}, {"253", 2}, {"254", 0}, {"255", 2}, {"2.5", 2}, {"-2", 2}};
  for (const Case& c : cases) {
    const auto run = Emulated({"plug", "set", c.node, "1"});
    EXPECT_EQ(run.status, c.status) << c.node << ": " << run.err;
    if (c.status == 2) {
      EXPECT_EQ(Lines(run.err).at(0),
                "vireo-cli: plug set NODE VALUE (NODE 2..232, 240 or 254; VALUE 0..255)")
          << c.node;
    }
  }
  EXPECT_EQ(Emulated({"plug", "set", "232", "1"}).err, "vireo-cli: node 232 is not in the network\n");
}

TEST_F(SmartHomeCli, PlugListJson) {
  const auto run = Emulated({"plug", "list", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"({"node":3,"type":"knob","name":"Dimmer","value":40})"), std::string::npos);
}

TEST_F(SmartHomeCli, SceneSaveShowAndRun) {
  auto run = Emulated({"scene", "show", "4"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"2 99", "3 60", "240 1", "4 128", "254 1"}));

  run = Emulated({"scene", "save", "1", "2:99", "240:0", "3:10"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Emulated({"scene", "run", "0"}).status, 0);

  std::vector<std::string> tooMany = {"scene", "save", "1"};
  for (int i = 0; i < 29; ++i) tooMany.push_back("2:1");
  run = Emulated(tooMany);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "vireo-cli: command over range\n");
  EXPECT_EQ(Emulated({"scene", "show", "6"}).status, 2);
}

TEST_F(SmartHomeCli, RemoteSaveLoadShowAndLearn) {
  auto run = Emulated({"remote", "save", (dir_ / "living.txt").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(fs::file_size(dir_ / "living.remo"), 18u);
  EXPECT_EQ(Emulated({"remote", "load", (dir_ / "living.remo").string()}).status, 0);

  run = Emulated({"remote", "show"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[5], "5 45");  // the emulator's factory code for function 5 is 0x40 + 5

  run = Emulated({"remote", "learn", "5"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "85\n");

  std::ofstream(dir_ / "short.remo") << "abc";
  run = Emulated({"remote", "load", (dir_ / "short.remo").string()});
  EXPECT_EQ(run.status, 1);
}

TEST_F(SmartHomeCli, WithoutAMachineEveryGroupFailsWithOneLine) {
  const std::vector<std::string> commands[] = {{"plug", "list"}, {"scene", "run", "0"}, {"remote", "show"}};
  for (const auto& args : commands) {
    const auto run = RunArgs(args);
    EXPECT_EQ(run.status, 1) << args[0];
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
}

}  // namespace
}  // namespace vireo::cli
