// The emulated machine's factory contents: a machine in use, kept through reset and factory restore.
#include "emulator/factory_store.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/virtual_clock.h"
#include "emulator/machine_emulator.h"
#include "model/band.h"
#include "model/wire_rules.h"

namespace vireo::emulator {
namespace {

class FactoryStoreTest : public ::testing::Test {
 protected:
  FactoryStoreTest() { FillInUseFactoryStore(store_); }
  ParameterStore store_;
};

TEST_F(FactoryStoreTest, KeepsTheDefaultBandsAndEffectTimes) {
  ParameterStore defaults;
  ResetStoreDefaults(defaults);
  std::vector<std::uint8_t> got(kDspBlockBytes), want(kDspBlockBytes);
  store_.ReadBytes(Region::dspBlock, 0, got);
  defaults.ReadBytes(Region::dspBlock, 0, want);
  EXPECT_EQ(got, want);
  EXPECT_EQ(store_.Float(slot::echoTimeA), 217.0f);
  EXPECT_EQ(store_.Float(slot::echoTimeB), 217.0f);
  EXPECT_EQ(store_.Int(slot::echoStartVolA), 60);
  EXPECT_EQ(store_.Int(slot::echoStartVolB), 60);
  EXPECT_EQ(store_.Byte(Region::micBoostLevel, 0), 0);  // 0 dB
  EXPECT_EQ(store_.Byte(Region::micBoostLevel, 1), 0);
}

TEST_F(FactoryStoreTest, MasterLevelsRoutingAndShiftsOfAMachineInUse) {
  EXPECT_EQ(store_.Int(slot::micVolume), 60);
  EXPECT_EQ(store_.Int(slot::musicVolume), 50);
  EXPECT_EQ(store_.Int(slot::effectVolume), 60);
  EXPECT_EQ(store_.Int(slot::reverbVolume), 50);
  EXPECT_EQ(store_.Int(slot::echoVolume), 50);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(store_.Int(slot::micInputVolume[k]), 100);
    EXPECT_EQ(store_.Int(slot::micToChannelA[k]), k < 2 ? 100 : 0) << k;
    EXPECT_EQ(store_.Int(slot::micToChannelB[k]), k < 2 ? 0 : 100) << k;
  }
  EXPECT_EQ(store_.Int(slot::shiftFreqA), 1);
  EXPECT_EQ(store_.Int(slot::shiftOffA), 1);
  EXPECT_EQ(store_.Int(slot::shiftFreqB), 1);
  EXPECT_EQ(store_.Int(slot::shiftOffB), 1);
  for (int level : {slot::spdifLevel, slot::hdmi1Level, slot::hdmi2Level, slot::hdmi3Level, slot::hdmi4Level,
                    slot::bluetoothLevel, slot::auxLevel, slot::aux2Level}) {
    EXPECT_EQ(store_.Int(level), 100) << level;
  }
  EXPECT_EQ(store_.Int(slot::musicMute), 0);
  EXPECT_EQ(store_.Int(slot::micMute), 0);
  const float agc = store_.Float(slot::musicAgcLevel);
  EXPECT_GE(agc, -50.0f);
  EXPECT_LT(agc, 0.0f);
}

TEST_F(FactoryStoreTest, EffectsStayInsideTheirControlsRanges) {
  for (int s : {slot::echoLevelA, slot::echoLevelB, slot::reverbLevelA, slot::reverbLevelB}) {
    EXPECT_GT(store_.Int(s), 0);
    EXPECT_LE(store_.Int(s), 100);
  }
  for (int s : {slot::echoDecayA, slot::echoDecayB}) {
    EXPECT_GE(store_.Int(s), 20);
    EXPECT_LE(store_.Int(s), 90);
  }
  for (int s : {slot::echoPredelayA, slot::echoPredelayB, slot::reverbPredelayA, slot::reverbPredelayB}) {
    EXPECT_GE(store_.Float(s), 2.0f);
    EXPECT_LE(store_.Float(s), 200.0f);
  }
  for (int s : {slot::reverbTimeA, slot::reverbTimeB}) {
    EXPECT_GT(store_.Float(s), 0.0f);
    EXPECT_LE(store_.Float(s), 100.0f);
  }
}

TEST_F(FactoryStoreTest, OutputChannelsHaveTheirRolesMixesAndQuietCompressors) {
  for (int ch = 0; ch < kOutputChannels; ++ch) {
    EXPECT_EQ(store_.Int(slot::chType[ch]), ch);
    EXPECT_EQ(store_.Int(slot::chMusicLevel[ch]), 100) << ch;
    EXPECT_EQ(store_.Float(slot::chDelay[ch]), 1.5f);
    EXPECT_EQ(store_.Int(slot::chCompOff[ch]), 1);
    EXPECT_GE(store_.Float(slot::chCompRatio[ch]), 1.0f);
    EXPECT_LE(store_.Float(slot::chCompRatio[ch]), 2.0f);
    EXPECT_EQ(store_.Float(slot::chCompAttack[ch]), 10.0f);
    EXPECT_EQ(store_.Float(slot::chCompRelease[ch]), 100.0f);
    EXPECT_EQ(store_.Int(slot::chTrim[ch]), 100);
    EXPECT_EQ(store_.Int(slot::chPhase[ch]), 0);
    EXPECT_EQ(store_.Int(slot::chMute[ch]), 0);
  }
  EXPECT_EQ(store_.Int(slot::chDirectLevel[4]), 0);    // the sub-woofer plays no voice
  EXPECT_EQ(store_.Int(slot::chDirectLevel[5]), 100);  // the centre carries it
  EXPECT_GT(store_.Int(slot::chReverbLevel[6]), store_.Int(slot::chReverbLevel[5]));  // surrounds: effects
  // Channel delay mode keeps the default flat split bands at 500 and 1000 Hz.
  EXPECT_EQ(ReadBand(store_, 5, 13), (BandRecord{0.0f, 500, 0.707f, 1}));
  EXPECT_EQ(store_.Int(slot::chDelayMode[0]), 1);
}

TEST_F(FactoryStoreTest, TheMachineStartsResetsAndRestoresToIt) {
  VirtualClock clock(VirtualClock::Options{false, 15});
  MachineEmulator machine(clock);
  EXPECT_EQ(machine.workingSet(), WorkingSetFromStore(store_));
  EXPECT_EQ(machine.Param(1, 14)->at(0), EncodeVol(60));
  EXPECT_EQ(machine.Param(4, 12)->at(0), EncodeVol(50));

  machine.Receive(MakeWriteParamRepeated(1, 14, EncodeVol(5)));
  machine.Receive(MakeCommand(code::storeMode, {1}));
  machine.Receive(MakeCommand(code::restoreMode, {1}));
  EXPECT_EQ(machine.workingSet(), FactoryWorkingSet());
  EXPECT_EQ(machine.slotContents(1), FactoryWorkingSet());

  machine.Receive(MakeWriteParamRepeated(4, 12, EncodeVol(5)));
  machine.Receive(MakeCommand(code::storeMode, {3}));
  machine.Receive(MakeCommand(code::reset, {kResetConfirmation}));
  EXPECT_EQ(machine.workingSet(), FactoryWorkingSet());
  EXPECT_EQ(machine.slotContents(3), FactoryWorkingSet());
}

}  // namespace
}  // namespace vireo::emulator
