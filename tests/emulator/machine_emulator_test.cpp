// The emulated machine answers each request as the machine does, keeps what it is sent, and misbehaves
// on request.
#include "emulator/machine_emulator.h"

#include <gtest/gtest.h>

#include "device/virtual_clock.h"
#include "model/band.h"
#include "model/wire_rules.h"

namespace vireo::emulator {
namespace {

class MachineEmulatorTest : public ::testing::Test {
 protected:
  MachineEmulatorTest() : clock_(VirtualClock::Options{false, 15}), machine_(clock_) {}

  // Sends one request and returns every reply that is due now.
  std::vector<Report> Exchange(const Report& request) {
    machine_.Receive(request);
    return Due();
  }
  std::vector<Report> Due() {
    std::vector<Report> replies;
    while (auto r = machine_.TakeDueReply()) replies.push_back(*r);
    return replies;
  }
  static std::uint32_t Value(const Report& r, int i) {
    return GetBigEndian32(&r[static_cast<std::size_t>(6 + 4 * i)]);
  }

  VirtualClock clock_;
  MachineEmulator machine_;
};

TEST_F(MachineEmulatorTest, FactoryParametersAreAMachineInUseEncoded) {
  auto replies = Exchange(MakeReadParam(1, 14));
  ASSERT_EQ(replies.size(), 1u);
  const Report& r = replies[0];
  EXPECT_EQ(r[0], kInputReportId);
  EXPECT_EQ(r[1], 10);
  EXPECT_EQ(r[2], 0);  // status
  EXPECT_EQ(r[3], 1);
  EXPECT_EQ(r[4], 14);
  EXPECT_EQ(r[5], 1);
  EXPECT_EQ(Value(r, 0), EncodeVol(60));  // micVolume 60 -> 0.6005

  // echoTimeA 217 ms travels as 10416 samples; echoStartVolA 60 % as 0.6.
  EXPECT_EQ(Value(Exchange(MakeReadParam(2, 10))[0], 0), 10416u);
  EXPECT_EQ(Value(Exchange(MakeReadParam(2, 11))[0], 0), FloatBits(0.6f));
  // Reverb volume answers two equal values; delay mode the pair for channel delay.
  const Report reverb = Exchange(MakeReadParam(3, 24, 2))[0];
  EXPECT_EQ(reverb[5], 2);
  EXPECT_EQ(Value(reverb, 0), FloatBits(0.5f));
  EXPECT_EQ(Value(reverb, 0), Value(reverb, 1));
  const Report mode = Exchange(MakeReadParam(5, 17, 2))[0];
  EXPECT_EQ(Value(mode, 0), FloatBits(1.0f));
  EXPECT_EQ(Value(mode, 1), FloatBits(0.0f));
}

TEST_F(MachineEmulatorTest, ParameterWritesReadBackRawAndAreAcknowledged) {
  const std::array<std::uint32_t, 7> record{1, 2, 3, 4, 5, 6, 7};
  auto ack = Exchange(MakeWriteParam(7, 27, record));
  ASSERT_EQ(ack.size(), 1u);
  EXPECT_EQ(ack[0][1], 9);
  const Report back = Exchange(MakeReadParam(7, 27, 7))[0];
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Value(back, i), record[static_cast<std::size_t>(i)]);
  ASSERT_TRUE(machine_.Param(7, 27).has_value());
  EXPECT_EQ(machine_.Param(7, 27)->size(), 7u);

  // Asking for more values than were written gives zeros for the rest; unknown modules fail.
  Exchange(MakeWriteParamRepeated(4, 12, 0x3F000000u, 1));
  const Report wide = Exchange(MakeReadParam(4, 12, 3))[0];
  EXPECT_EQ(Value(wide, 0), 0x3F000000u);
  EXPECT_EQ(Value(wide, 1), 0u);
  EXPECT_NE(Exchange(MakeReadParam(13, 1))[0][2], 0);
}

TEST_F(MachineEmulatorTest, BlockMemoryHoldsDefaultsAndWritesClipAtTheEnd) {
  ParameterStore defaults;
  ResetStoreDefaults(defaults);
  const Report first = Exchange(MakeReadBlock(0, 56))[0];
  EXPECT_EQ(first[1], 134);
  EXPECT_EQ(first[4], 56);
  std::array<std::uint8_t, 56> expected{};
  defaults.ReadBytes(Region::dspBlock, 0, expected);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first.begin() + 5));

  const Report location = Exchange(MakeReadBlock(kLocationSettingsAddress, 20))[0];
  EXPECT_EQ(location[2], 0x05);
  EXPECT_EQ(location[3], 0x05);
  EXPECT_TRUE(std::equal(kDefaultLocationRecord.begin(), kDefaultLocationRecord.end(), location.begin() + 5));

  const std::array<std::uint8_t, 4> data{9, 8, 7, 6};
  EXPECT_EQ(Exchange(MakeWriteBlock(100, data))[0][1], 133);  // acknowledged
  EXPECT_EQ(machine_.Block(100, 4), std::vector<std::uint8_t>(data.begin(), data.end()));
  Exchange(MakeWriteBlock(0xFFE, data));
  EXPECT_EQ(machine_.Block(0xFFE, 4), (std::vector<std::uint8_t>{9, 8}));
}

TEST_F(MachineEmulatorTest, ModeSlotsStoreRecallAndRestore) {
  Exchange(MakeWriteParamRepeated(1, 14, FloatBits(0.5005f)));
  Exchange(MakeCommand(code::storeMode, {2}));  // slot 2 gets the working set
  EXPECT_EQ(machine_.currentMode(), 2);
  Exchange(MakeWriteParamRepeated(1, 14, FloatBits(0.9005f)));
  Exchange(MakeCommand(code::recallMode, {2}));
  EXPECT_EQ(machine_.Param(1, 14)->at(0), FloatBits(0.5005f));
  EXPECT_EQ(Exchange(MakeCommand(code::queryMode))[0][2], 2);

  Exchange(MakeCommand(code::restoreMode, {9}));  // clamped to slot 3
  EXPECT_EQ(machine_.currentMode(), 3);
  EXPECT_EQ(machine_.workingSet(), FactoryWorkingSet());
  EXPECT_EQ(machine_.slotContents(2).params.at({1, 14})[0], FloatBits(0.5005f));
  Exchange(MakeCommand(code::setMode, {1}));
  EXPECT_EQ(Exchange(MakeCommand(code::queryMode))[0][2], 1);
}

TEST_F(MachineEmulatorTest, IdentityAndTheRepliesAfter149) {
  const Report model = Exchange(MakeCommand(code::queryModel))[0];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&model[2])), "Calyx");
  EXPECT_EQ(Exchange(MakeCommand(code::queryKind))[0][2], 18);
  const Report date = Exchange(MakeCommand(code::queryFirmware))[0];
  EXPECT_EQ(date[1], 129);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&date[2])), "2013-06-21");

  const auto replies = Exchange(MakeCommand(code::identityDone));
  ASSERT_EQ(replies.size(), 5u);
  EXPECT_EQ(replies[0][1], 126);
  const std::array<int, 4> addresses{0xF00, 0xF40, 0xF80, 0xFC0};
  for (int s = 0; s < 4; ++s) {
    const Report& r = replies[static_cast<std::size_t>(s + 1)];
    EXPECT_EQ(r[1], 219);
    EXPECT_EQ((r[2] << 8) | r[3], addresses[static_cast<std::size_t>(s)]);
  }
  // "电影" is U+7535 U+5F71, big-endian.
  EXPECT_EQ(replies[1][5], 0x75);
  EXPECT_EQ(replies[1][6], 0x35);
  EXPECT_EQ(replies[1][7], 0x5F);
  EXPECT_EQ(replies[1][8], 0x71);
  EXPECT_EQ(replies[1][9], 0x00);
  EXPECT_EQ(machine_.modeName(1), u"K歌");

  machine_.SetModelNameMisses(1);
  EXPECT_EQ(Exchange(MakeCommand(code::queryModel))[0][2], 0);
  EXPECT_EQ(Exchange(MakeCommand(code::queryModel))[0][2], 'C');
}

TEST_F(MachineEmulatorTest, SettingsKeysAndReset) {
  const Report settings = Exchange(MakeCommand(code::readSettings))[0];
  EXPECT_EQ(settings[1], 146);
  EXPECT_EQ(settings[2 + 5], 99);  // maximum volumes
  EXPECT_EQ(settings[2 + 6], 99);
  EXPECT_NE(settings[2 + 3], 255);  // start volumes enabled
  std::array<std::uint8_t, 13> edited{1, 0, 1, 255, 40, 80, 70, 1, 0, 0x12, 0x34, 2, 3};
  Exchange(MakeCommand(code::applySettings, edited));
  EXPECT_EQ(machine_.machineSettings(), edited);

  std::array<std::uint8_t, 18> keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<std::uint8_t>(i * 3);
  Exchange(MakeCommand(code::writeKeyTable, keys));
  const Report table = Exchange(MakeCommand(code::readKeyTable))[0];
  EXPECT_TRUE(std::equal(keys.begin(), keys.begin() + 16, table.begin() + 2));

  Exchange(MakeCommand(code::reset, {1}));  // not confirmed: nothing happens
  EXPECT_EQ(machine_.machineSettings(), edited);
  EXPECT_EQ(Exchange(MakeCommand(code::reset, {kResetConfirmation}))[0][1], 104);
  EXPECT_EQ(machine_.machineSettings()[5], 99);
  EXPECT_EQ(machine_.remoteKeyTable()[1], 0x41);
}

TEST_F(MachineEmulatorTest, LearningAnswersAfterAWhileAndStopCancels) {
  EXPECT_TRUE(Exchange(MakeCommand(code::learnKey, {5})).empty());
  clock_.Advance(1499);
  EXPECT_TRUE(Due().empty());
  clock_.Advance(1);
  const auto learned = Due();
  ASSERT_EQ(learned.size(), 1u);
  EXPECT_EQ(learned[0][1], 96);
  EXPECT_EQ(learned[0][3], 5);
  EXPECT_EQ(learned[0][4], 0x85);
  EXPECT_EQ(machine_.remoteKeyTable()[5], 0x85);

  Exchange(MakeCommand(code::learnKey, {6}));
  EXPECT_EQ(Exchange(MakeCommand(code::stopLearning)).size(), 1u);  // the acknowledgement only
  clock_.Advance(5000);
  EXPECT_TRUE(Due().empty());
}

TEST_F(MachineEmulatorTest, MetersMoveAndCarryTheWirelessMicrophones) {
  std::vector<Report> polls;
  for (int i = 0; i < 8; ++i) polls.push_back(Exchange(MakeCommand(code::levelMeters))[0]);
  bool moved = false;
  for (std::size_t i = 1; i < polls.size(); ++i) moved = moved || polls[i] != polls[0];
  EXPECT_TRUE(moved);
  for (const Report& r : polls) {
    EXPECT_EQ(r[1], 14);
    EXPECT_GE(r[10], 150);  // microphone 1 RF
    EXPECT_EQ(r[12], 37);   // microphone 1 channel
    EXPECT_EQ(r[16], 120);  // microphone 2 channel
    EXPECT_GT(r[13], 0);    // battery
  }
}

TEST_F(MachineEmulatorTest, LatencyDelaysEveryReply) {
  EmulatorOptions options;
  options.replyLatencyMs = 7;
  machine_.SetOptions(options);
  machine_.Receive(MakeCommand(code::queryKind));
  EXPECT_EQ(machine_.NextDueMs(), 7);
  EXPECT_TRUE(Due().empty());
  clock_.Advance(7);
  EXPECT_EQ(Due().size(), 1u);
}

TEST_F(MachineEmulatorTest, DroppedAndGarbledReplies) {
  EmulatorOptions options;
  options.dropReplies = FaultPattern::everyNth;
  options.dropEvery = 2;
  machine_.SetOptions(options);
  int answered = 0;
  for (int i = 0; i < 6; ++i) answered += static_cast<int>(Exchange(MakeCommand(code::queryKind)).size());
  EXPECT_EQ(answered, 3);

  options.dropReplies = FaultPattern::all;
  machine_.SetOptions(options);
  EXPECT_TRUE(Exchange(MakeCommand(code::queryKind)).empty());

  options.dropReplies = FaultPattern::none;
  options.garbleReplies = FaultPattern::all;
  machine_.SetOptions(options);
  const Report garbled = Exchange(MakeReadParam(1, 14))[0];
  EXPECT_NE(garbled, Exchange(MakeReadParam(1, 14))[0]);  // noise, not a fixed pattern
  EXPECT_EQ(machine_.Requests().size(), 9u);              // every request is traced, answered or not
  machine_.ClearRequests();
  EXPECT_TRUE(machine_.Requests().empty());
}

TEST_F(MachineEmulatorTest, StartsFromAStoreLikeAMachineThatReceivedIt) {
  ParameterStore store;
  ResetStoreDefaults(store);
  store.SetInt(slot::micVolume, 42);
  store.SetFloat(slot::chDelay[2], 0.5f);  // below the minimum: the machine holds 1.5 ms
  store.SetInt(slot::chDelayMode[2], 1);
  store.SetByte(Region::locationSettings, 0, 7);
  machine_.LoadWorkingSet(store);
  EXPECT_EQ(machine_.Param(1, 14)->at(0), EncodeVol(42));
  EXPECT_EQ(machine_.Param(7, 18)->at(0), 72u);
  EXPECT_EQ(machine_.Param(7, 17)->at(1), FloatBits(0.0f));
  EXPECT_EQ(machine_.Block(kLocationSettingsAddress, 1)[0], 7);
  // Coefficients of every band are there, e.g. the music low-pass band's slot.
  EXPECT_EQ(machine_.Param(4, 10)->size(), 5u);
  EXPECT_EQ(machine_.Param(12, 14)->size(), 5u);
}

TEST_F(MachineEmulatorTest, RequestTraceStaysBoundedButCountsEverything) {
  // A demo polling meters for days must not grow without end; the newest requests stay in order.
  const std::size_t total = MachineEmulator::kRequestTraceLimit + 10;
  for (std::size_t i = 0; i < total; ++i) {
    machine_.Receive(MakeReadParam(1, static_cast<int>(i % 200)));
    Due();
  }
  EXPECT_EQ(machine_.requestCount(), total);
  const auto kept = machine_.Requests();
  EXPECT_LE(kept.size(), MachineEmulator::kRequestTraceLimit);
  EXPECT_GT(kept.size(), MachineEmulator::kRequestTraceLimit / 2);
  EXPECT_EQ(kept.back()[4], (total - 1) % 200);
  EXPECT_EQ(kept.front()[4], (total - kept.size()) % 200);
  machine_.ClearRequests();
  EXPECT_EQ(machine_.requestCount(), 0u);
}

}  // namespace
}  // namespace vireo::emulator
