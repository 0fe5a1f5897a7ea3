// Every endpoint of the API against a real server: status, answer and what reached the machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "cli/run_cli.h"
#include "common/temp_folder.h"
#include "model/slot_fields.h"
#include "common/remote_rig.h"

namespace vireo::remote::test {
namespace {

using http::verb;

struct EndpointCase {
  verb method;
  std::string target;
  std::string body;
  int status;
  std::string expect;  // a text the answer must hold
};

class ServerEndpoints : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { rig_ = new RemoteRig(); }
  void SetUp() override { ASSERT_EQ(rig_->problem(), ""); }
  static void TearDownTestSuite() {
    delete rig_;
    rig_ = nullptr;
  }
  static RemoteRig* rig_;
};
RemoteRig* ServerEndpoints::rig_ = nullptr;

TEST_F(ServerEndpoints, AnswerEachRequestWithItsStatusAndOneClearError) {
  const EndpointCase cases[] = {
      {verb::get, "/api/v1/state", "", 200, "\"modeNames\""},
      {verb::get, "/api/v1/fields", "", 200, "\"musicVolume\""},
      {verb::get, "/api/v1/fields/musicVolume", "", 200, "\"max\":99"},
      {verb::get, "/api/v1/fields/chDelay%5B3%5D", "", 200, "\"name\":\"chDelay[3]\""},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 99})", 200, "\"value\":99"},  // exactly the maximum
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 0})", 200, "\"value\":0"},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 100})", 400, "between 0 and 99"},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": -1})", 400, "between 0 and 99"},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 41.5})", 400, "whole numbers"},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": "42"})", 400, "must be a number"},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 1e999})", 400, ""},
      {verb::put, "/api/v1/fields/musicVolume", R"({"value": 4)", 400, "not valid JSON"},
      {verb::put, "/api/v1/fields/musicVolume", R"([42])", 400, "a JSON object with"},
      {verb::put, "/api/v1/fields/chDelay%5B7%5D", R"({"value": 2.25})", 200, "\"value\":2.25"},
      {verb::put, "/api/v1/fields/chDelay", R"({"value": 2})", 400, "needs an index"},
      {verb::get, "/api/v1/fields/chDelay%5B8%5D", "", 404, "no field"},
      {verb::get, "/api/v1/fields/chDelay%5B-1%5D", "", 404, "no field"},
      {verb::get, "/api/v1/fields/nothing", "", 404, "no field"},
      {verb::get, "/api/v1/fields/%FF%FE", "", 404, "no field named '\xEF\xBF\xBD\xEF\xBF\xBD'"},  // shown as U+FFFD
      {verb::put, "/api/v1/fields/micBoostLevel", R"({"value": -40})", 200, "\"value\":-40"},
      {verb::put, "/api/v1/fields/micBoostLevel", R"({"value": 0.5})", 400, "between -40 and 0"},
      {verb::put, "/api/v1/input", R"({"input": "aux"})", 200, "\"input\":\"aux\""},
      {verb::put, "/api/v1/input", R"({"input": "vga"})", 400, "input must be one of"},
      {verb::post, "/api/v1/ab", "", 200, "\"ab\":\"B\""},
      {verb::post, "/api/v1/ab", "", 200, "\"ab\":\"A\""},
      {verb::post, "/api/v1/scene/1/run", "", 202, "\"scene\":1"},
      {verb::post, "/api/v1/scene/7/run", "", 404, "no scene"},
      {verb::put, "/api/v1/plug/2", R"({"value": 99})", 202, "\"node\":2"},
      {verb::put, "/api/v1/plug/2", R"({"value": 255})", 202, "\"value\":255"},
      {verb::put, "/api/v1/plug/2", R"({"value": 100})", 400, "0 to 99, or 255"},
      {verb::put, "/api/v1/plug/1", R"({"value": 0})", 404, "no plug"},
      {verb::put, "/api/v1/plug/200", R"({"value": 0})", 404, "no plug with node 200"},
      {verb::get, "/api/v1/eq/14", "", 200, "\"curve\""},
      {verb::get, "/api/v1/eq/15", "", 404, "no equaliser"},
      {verb::post, "/api/v1/mode/5", "", 404, "1 to 4"},
      {verb::post, "/api/v1/mode/0", "", 404, "1 to 4"},
      {verb::get, "/api/v1/mode/2", "", 405, "takes POST"},
      {verb::delete_, "/api/v1/state", "", 405, "takes GET"},
      {verb::get, "/api/v2/state", "", 404, "no such endpoint"},
      // Nothing in an address reaches the file system.
      {verb::get, "/api/v1/fields/..%2F..%2Fetc%2Fpasswd", "", 400, "malformed escape"},
      {verb::get, "/../../etc/passwd", "", 404, "no such page"},
      {verb::get, "/app.js/../../../etc/passwd", "", 404, "no such page"},
      {verb::get, "/%2e%2e/etc/passwd", "", 404, "no such page"},
      {verb::get, "/", "", 200, "<!DOCTYPE html"},
  };
  for (const EndpointCase& c : cases) {
    SCOPED_TRACE(std::string(http::to_string(c.method)) + " " + c.target + " " + c.body);
    const HttpAnswer a = Request(rig_->port(), c.method, c.target, c.body);
    EXPECT_EQ(a.status, c.status);
    EXPECT_NE(a.body.find(c.expect), std::string::npos) << a.body;
    if (c.status >= 400) {
      EXPECT_TRUE(a.json().contains("error")) << a.body;
    }
  }
}

TEST_F(ServerEndpoints, StateHoldsWhatAPhoneShows) {
  const Json state = Request(rig_->port(), verb::get, "/api/v1/state").json();
  EXPECT_EQ(state["connected"], true);
  EXPECT_EQ(state["modeNames"].size(), 4u);
  EXPECT_EQ(state["master"].size(), 5u);
  EXPECT_EQ(state["master"][4]["mute"], "musicMute");
  EXPECT_EQ(state["scenes"].size(), 6u);
  EXPECT_FALSE(state["plugs"].empty());
  EXPECT_EQ(state["fields"]["chDelay[0]"], rig_->store().Float(FindSlotField("chDelay")->SlotOf(0)));
  const Json eq = Request(rig_->port(), verb::get, "/api/v1/eq/7").json();
  EXPECT_EQ(eq["curve"]["frequency"].size(), 512u);
  EXPECT_EQ(eq["curve"]["db"].size(), 512u);
}

TEST_F(ServerEndpoints, APutSendsTheBytesOfVireoCliSet) {
  // musicVolume goes to module 4, parameter 12 by the volume rule: v / 100 + 0.0005 as a big-endian
  // float32; 42 -> 0.4205f -> 3E D7 4B C6.
  const Wire expected = [] {
    Wire w{};
    const std::uint8_t head[] = {0x02, 0x09, 0x00, 0x04, 0x0C, 0x01, 0x3E, 0xD7, 0x4B, 0xC6};
    std::copy(std::begin(head), std::end(head), w.begin());
    return w;
  }();
  rig_->ClearSent();
  ASSERT_EQ(Request(rig_->port(), verb::put, "/api/v1/fields/musicVolume", R"({"value": 42})").status, 200);
  const std::vector<Wire> sent = rig_->Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], expected);

  vireo::test::TempFolder folder;
  const std::string trace = (std::filesystem::path(folder.path()) / "trace").string();
  ASSERT_EQ(cli::test::RunArgs({"--emulator", "--trace", trace, "set", "musicVolume", "42"}).status, 0);
  std::string line;
  std::string cliLine;
  std::ifstream in(trace);
  while (std::getline(in, line))
    if (line.rfind("> 02 09 00 04 0C", 0) == 0) cliLine = line;
  std::string serverLine = ">";
  for (std::uint8_t b : sent[0]) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", b);
    serverLine += hex;
  }
  EXPECT_EQ(serverLine, cliLine);
}

TEST_F(ServerEndpoints, EachRemoteEditIsOneUndoStep) {
  const std::size_t before = [] {
    std::size_t steps = 0;
    rig_->host().Post([&] { steps = rig_->edits().undoSteps(); });
    rig_->host().Drain();
    return steps;
  }();
  ASSERT_EQ(Request(rig_->port(), verb::put, "/api/v1/fields/echoVolume", R"({"value": 17})").status, 200);
  std::size_t after = 0;
  rig_->host().Post([&] { after = rig_->edits().undoSteps(); });
  rig_->host().Drain();
  EXPECT_EQ(after, before + 1);
}

}  // namespace
}  // namespace vireo::remote::test
