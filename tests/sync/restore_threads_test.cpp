// A backup written after a read-all, restored to another machine, reproduces the first machine.
#include <gtest/gtest.h>

#include "distinct_store.h"
#include "machine_rig.h"
#include "model/mode_file.h"
#include "report_recorder.h"

namespace vireo::test {
namespace {

TEST(RestoreThreads, BackupThenRestoreReproducesTheMachine) {
  // A tuned machine whose split bands match its delay modes, as a write-all leaves them.
  ParameterStore tuned;
  FillDistinctStore(tuned);
  RecordingSender ignored;
  ASSERT_TRUE(RunWriteAllSequence(tuned, ignored, [](int) { return true; }));
  MachineRig original;
  original.backend.machine().LoadWorkingSet(tuned);
  ASSERT_EQ(original.ConnectAndReadAll(), SyncOutcome::accepted);
  const std::vector<std::uint8_t> backup = SerializeModeFile(original.store);

  MachineRig target;
  ASSERT_EQ(target.ConnectAndReadAll(), SyncOutcome::accepted);
  ASSERT_TRUE(ParseModeFile(backup, target.store).ok);
  target.backend.machine().ClearRequests();

  // What the link must carry: the write-all of the same file over the same settings.
  ParameterStore expectedStore;
  ResetStoreDefaults(expectedStore);
  ASSERT_TRUE(ParseModeFile(backup, expectedStore).ok);
  std::array<std::uint8_t, 13> settings{};
  target.store.ReadBytes(Region::machineSettings, 0, settings);
  expectedStore.WriteBytes(Region::machineSettings, 0, settings);
  RecordingSender expected;
  ASSERT_TRUE(RunWriteAllSequence(expectedStore, expected, [](int) { return true; }));

  EXPECT_EQ(target.WriteAll(), SyncOutcome::accepted);
  EXPECT_EQ(target.Requests(), expected.paced);

  // Volume save by power: the master volumes stay as the target had them; everything else matches.
  auto want = original.backend.machine().workingSet();
  auto got = target.backend.machine().workingSet();
  for (const auto& key : {std::pair{1, 14}, std::pair{4, 12}}) {
    want.params.erase(key);
    got.params.erase(key);
  }
  EXPECT_EQ(got.blocks, want.blocks);
  for (const auto& [key, values] : want.params) {
    const auto it = got.params.find(key);
    ASSERT_NE(it, got.params.end()) << key.first << "/" << key.second;
    EXPECT_EQ(it->second, values) << key.first << "/" << key.second;
  }
  // The target keeps its old shift frequency and delay for channel B, whose shift is off: an off
  // shift sends only its flag.
  for (const auto& [key, values] : got.params) {
    if (!want.params.contains(key)) {
      EXPECT_TRUE(key == std::pair(1, 54) || key == std::pair(1, 55)) << key.second;
    }
  }
}

}  // namespace
}  // namespace vireo::test
