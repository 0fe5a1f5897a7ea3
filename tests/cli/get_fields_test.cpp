// vireo-cli get knows every field that set edits, the two without a slot included.
#include <gtest/gtest.h>

#include "../common/recording_sender.h"
#include "../common/temp_folder.h"
#include "device_commands.h"
#include "model/mode_file.h"
#include "model/slot_fields.h"
#include "run_cli.h"
#include "tuning/feature_ops.h"

namespace vireo::cli::test {
namespace {

TEST(GetFieldsTest, EveryFieldThatSetEditsCanBeRead) {
  ParameterStore store;
  ResetStoreDefaults(store);
  std::string text;
  for (const SlotField& f : SlotFields()) {
    if (f.param == 0 || f.rule == WireRule::none) continue;  // set refuses these
    const std::string name(f.name);
    if (f.count == 1) {
      EXPECT_TRUE(FieldText(store, name, &text)) << name;
    } else {
      EXPECT_TRUE(FieldText(store, name + "[0]", &text)) << name;
      EXPECT_TRUE(FieldText(store, name + "[" + std::to_string(f.count - 1) + "]", &text)) << name;
    }
  }
  for (const char* name : {"micBoostLevel", "musicLowFrequency"})
    EXPECT_TRUE(FieldText(store, name, &text)) << name;
  EXPECT_FALSE(FieldText(store, "musicLowFrequencyX", &text));
  EXPECT_FALSE(FieldText(store, "musicLowFrequency[0]", &text));
}

TEST(GetFieldsTest, TheMusicLowPassReadsAsSetLeftIt) {
  ParameterStore store;
  ResetStoreDefaults(store);
  vireo::test::RecordingSender sender;
  ASSERT_TRUE(tuning::SetPseudoField(store, sender, "musicLowFrequency", 120));
  std::string text;
  ASSERT_TRUE(FieldText(store, "musicLowFrequency", &text));
  EXPECT_EQ(text, "120\n");

  // End to end: a machine that holds 120 Hz.
  const vireo::test::TempFolder temp;
  ASSERT_TRUE(WriteModeFile(store, temp.Path("state.noveq")).ok);
  const CliRun get = RunArgs({"--emulator-state", temp.Path("state.noveq"), "get", "musicLowFrequency"});
  ASSERT_EQ(get.status, 0) << get.err;
  EXPECT_EQ(get.out, "120\n");
}

}  // namespace
}  // namespace vireo::cli::test
