// The machine settings dialog's edits: the working copy, the live start volumes, Apply and Cancel.
#include "tuning/machine_settings_ops.h"

#include "expected_reports.h"

namespace vireo::test {
namespace {

using tuning::StartVolume;

// 02 91 then the 13 bytes.
Report Apply13(const tuning::SettingsBytes& b) {
  Report r{0x02, 0x91};
  for (std::size_t i = 0; i < b.size(); ++i) r[2 + i] = b[i];
  return r;
}

// vol: the single v/100 plus 0.0005, as a float.
std::uint32_t Vol(int v) {
  return std::bit_cast<std::uint32_t>(static_cast<float>(static_cast<float>(v / 100.0) + 0.0005));
}

class MachineSettingsOpsTest : public ::testing::Test {
 protected:
  MachineSettingsOpsTest() {
    ResetStoreDefaults(store_);
    // A machine's report: by mode, mic start 50, music start 40, maxima 80 and 90, power-on M2.
    const tuning::SettingsBytes reported{1, 7, 1, 50, 40, 80, 90, 0, 0x83, 9, 10, 2, 12};
    store_.WriteBytes(Region::machineSettings, 0, reported);
    store_.WriteBytes(Region::machineSettingsEdit, 0, reported);
  }
  int Edit(int byte) const {
    return store_.Byte(Region::machineSettingsEdit, static_cast<std::size_t>(byte));
  }
  ParameterStore store_;
  RecordingSender sender_;
};

TEST_F(MachineSettingsOpsTest, LoweringTheMaximumBelowTheStartPullsTheStartAndTheLiveVolumeDown) {
  store_.SetInt(slot::micVolume, 50);
  EXPECT_EQ(tuning::MoveMaxVolume(store_, sender_, StartVolume::mic, 30), 30);
  EXPECT_EQ(Edit(5), 30);
  EXPECT_EQ(Edit(3), 30);
  EXPECT_EQ(store_.Int(slot::micVolume), 30);
  EXPECT_EQ(tuning::StartVolumeTop(store_, StartVolume::mic), 30);
  ASSERT_EQ(sender_.paced.size(), 1u);
  EXPECT_EQ(sender_.paced[0], Param(1, 14, {Vol(30)}));
  EXPECT_EQ(store_.Byte(Region::machineSettings, 5), 80);  // not applied yet
}

TEST_F(MachineSettingsOpsTest, MaximumSliderEdges) {
  struct Case {
    int moved, stored, startAfter;
    std::size_t sent;
  };
  const Case cases[] = {
      {0, 1, 1, 1},     // cannot go below 1
      {39, 39, 39, 1},  // just below the start of 40
      {40, 40, 40, 0},  // equal to the start: the start stays, nothing goes out
      {99, 99, 40, 0},  // exactly at the top
      {120, 99, 40, 0},
  };
  for (const Case& c : cases) {
    store_.SetByte(Region::machineSettingsEdit, 4, 40);
    RecordingSender sender;
    EXPECT_EQ(tuning::MoveMaxVolume(store_, sender, StartVolume::music, c.moved), c.stored) << c.moved;
    EXPECT_EQ(Edit(6), c.stored);
    EXPECT_EQ(Edit(4), c.startAfter) << c.moved;
    EXPECT_EQ(sender.paced.size(), c.sent) << c.moved;
  }
}

TEST_F(MachineSettingsOpsTest, StartSliderSetsTheLiveVolumeAtOnce) {
  EXPECT_EQ(tuning::MoveStartVolume(store_, sender_, StartVolume::music, 70), 70);
  EXPECT_EQ(tuning::MoveStartVolume(store_, sender_, StartVolume::music, 95), 90);  // held at the maximum
  EXPECT_EQ(Edit(4), 90);
  EXPECT_EQ(store_.Int(slot::musicVolume), 90);
  ASSERT_EQ(sender_.paced.size(), 2u);
  EXPECT_EQ(sender_.paced[0], Param(4, 12, {Vol(70)}));
  EXPECT_EQ(sender_.paced[1], Param(4, 12, {Vol(90)}));
}

TEST_F(MachineSettingsOpsTest, TheEnableBoxStoresOffOrTakesTheLiveVolume) {
  tuning::EnableStartVolume(store_, StartVolume::music, false);
  EXPECT_EQ(Edit(4), 255);
  EXPECT_FALSE(tuning::StartVolumeEnabled(store_, StartVolume::music));
  // A disabled start is not pulled down by a lower maximum: its slider stands at the bottom.
  EXPECT_EQ(tuning::MoveMaxVolume(store_, sender_, StartVolume::music, 10), 10);
  EXPECT_EQ(Edit(4), 255);
  store_.SetInt(slot::musicVolume, 7);
  tuning::EnableStartVolume(store_, StartVolume::music, true);
  EXPECT_EQ(Edit(4), 7);
  // A live volume above the maximum is held at what the slider can show.
  store_.SetInt(slot::musicVolume, 60);
  tuning::EnableStartVolume(store_, StartVolume::music, true);
  EXPECT_EQ(Edit(4), 10);
  EXPECT_TRUE(sender_.paced.empty());
}

TEST_F(MachineSettingsOpsTest, ApplySendsTheThirteenBytesAndCancelRestoresTheAppliedOnes) {
  tuning::SetPowerOnMode(store_, 3);  // "M3"
  tuning::SetVolumeSaveMode(store_, 0);
  EXPECT_EQ(tuning::ApplyMachineSettings(store_, sender_), 61);
  const tuning::SettingsBytes applied{0, 7, 0, 50, 40, 80, 90, 0, 0x83, 9, 10, 3, 12};
  ASSERT_EQ(sender_.paced.size(), 1u);
  EXPECT_EQ(sender_.paced[0], Apply13(applied));
  EXPECT_EQ(tuning::AppliedSettings(store_), applied);

  tuning::SetPowerOnMode(store_, 9);  // held at M4
  EXPECT_EQ(Edit(11), 4);
  tuning::MoveMaxVolume(store_, sender_, StartVolume::mic, 20);
  tuning::DiscardSettingsEdits(store_);
  EXPECT_EQ(tuning::WorkingSettings(store_), applied);
}

TEST_F(MachineSettingsOpsTest, ApplyWithoutAMachineStillUpdatesTheAppliedCopy) {
  sender_.result = 0;
  tuning::SetPowerOnMode(store_, 0);
  EXPECT_EQ(tuning::ApplyMachineSettings(store_, sender_), 0);
  EXPECT_EQ(store_.Byte(Region::machineSettings, 11), 0);
}

TEST_F(MachineSettingsOpsTest, NamedSettingsAndTheirRefusals) {
  struct Case {
    const char* key;
    const char* value;
    bool ok;
    int byte;
    int stored;
  };
  const Case cases[] = {
      {"saveMode", "power", true, 2, 0},  {"saveMode", "2", false, 0, 0},
      {"micStart", "off", true, 3, 255},  {"micStart", "99", true, 3, 80},
      {"micStart", "-1", false, 3, 80},   {"musicMax", "0", false, 6, 90},
      {"powerOnMode", "m4", true, 11, 4}, {"powerOnMode", "5", false, 11, 4},
      {"volume", "1", false, 0, 0},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_EQ(tuning::SetWorkingSetting(store_, sender_, c.key, c.value, &reason), c.ok) << c.key << c.value;
    EXPECT_EQ(reason.empty(), c.ok) << reason;
    EXPECT_EQ(Edit(c.byte), c.stored) << c.key << c.value;
  }
  EXPECT_EQ(tuning::SettingsText(tuning::WorkingSettings(store_)),
            "saveMode 0\nmicStart 80\nmusicStart 40\nmicMax 80\nmusicMax 90\npowerOnMode 4\n"
            "byte1 7\nbyte7 0\nbyte8 131\nbyte9 9\nbyte10 10\nbyte12 12\n");
}

TEST_F(MachineSettingsOpsTest, AppliedSettingsReturnWhatTheControlKept) {
  struct Case {
    const char* key;
    const char* value;
    int stored;
  };
  // In order: the mic maximum falls to 30 first (pulling the start of 50 down), then each start is asked.
  const Case cases[] = {
      {"micMax", "30", 30},   {"micStart", "50", 30},   {"micStart", "30", 30},
      {"micStart", "29", 29}, {"micStart", "off", 255}, {"musicStart", "99", 90},
      {"musicStart", "0", 0}, {"saveMode", "mode", 1},  {"powerOnMode", "auto", 0},
  };
  for (const Case& c : cases) {
    tuning::SettingRequest request;
    std::string reason;
    ASSERT_TRUE(tuning::ParseSetting(c.key, c.value, &request, &reason)) << reason;
    EXPECT_EQ(tuning::ApplySetting(store_, sender_, request), c.stored) << c.key << '=' << c.value;
  }
}

TEST_F(MachineSettingsOpsTest, ReadingASettingChangesAndSendsNothing) {
  const tuning::SettingsBytes before = tuning::WorkingSettings(store_);
  const int volume = store_.Int(slot::micVolume);
  tuning::SettingRequest request;
  std::string reason;
  EXPECT_TRUE(tuning::ParseSetting("micStart", "20", &request, &reason));
  EXPECT_EQ(request.value, 20);
  EXPECT_FALSE(tuning::ParseSetting("micStart", "100", &request, &reason));
  EXPECT_EQ(reason, "micStart takes 0..99 or off");
  EXPECT_TRUE(sender_.paced.empty());
  EXPECT_EQ(tuning::WorkingSettings(store_), before);
  EXPECT_EQ(store_.Int(slot::micVolume), volume);
}

}  // namespace
}  // namespace vireo::test
