// The read-all against the emulated machine: every request in order, and a store that mirrors the machine.
#include <gtest/gtest.h>

#include <cmath>

#include "device/sync.h"
#include "distinct_store.h"
#include "emulator/factory_store.h"
#include "machine_rig.h"
#include "model/slot_fields.h"

namespace vireo::test {
namespace {

struct Read {
  int module, param, count;
};

// The read list written out from the machine's documentation, independently of the code under test.
std::vector<Read> ExpectedReads() {
  std::vector<Read> reads;
  for (int p : {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 26, 27, 28, 29,
                30, 31, 32, 33, 34, 35, 36, 37, 49, 50, 51, 52, 53, 54, 55, 56}) {
    reads.push_back({1, p, 1});
  }
  for (int p : {26, 27, 7, 8, 9, 10, 11, 12, 20, 21, 22, 23, 24, 25}) reads.push_back({2, p, 1});
  reads.push_back({3, 24, 2});
  reads.push_back({3, 25, 2});
  for (int p : {7, 8, 9, 10, 11, 19, 20, 21, 22, 23}) reads.push_back({3, p, 1});
  reads.push_back({4, 14, 7});
  for (int p : {11, 12, 13, 15, 16, 17, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 36, 37}) {
    reads.push_back({4, p, 1});
  }
  for (int m = 5; m <= 12; ++m) {
    reads.push_back({m, 17, 2});
    reads.push_back({m, 27, 7});
  }
  for (int p : {15, 16, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28}) {
    for (int m = 5; m <= 12; ++m) reads.push_back({m, p, 1});
  }
  return reads;
}

TEST(ReadAllThreads, SendsEveryRequestInOrder) {
  MachineRig rig;
  ASSERT_TRUE(rig.connection.ConnectMachine());
  const std::int64_t start = rig.clock.NowMs();
  EXPECT_EQ(rig.ReadAll(), SyncOutcome::accepted);
  EXPECT_GE(rig.clock.NowMs() - start, 3200 + 200);
  EXPECT_EQ(rig.events.posted(), (std::vector<std::pair<int, std::intptr_t>>{{event::syncDone, 0}}));
  EXPECT_TRUE(rig.connection.idle());

  const auto requests = rig.Requests();
  const auto reads = ExpectedReads();
  ASSERT_EQ(reads.size(), 192u);
  ASSERT_EQ(requests.size(), 5u + 192u + 23u + 3u + 2u);
  for (const Report& r : requests) EXPECT_EQ(r[0], 0x02);
  EXPECT_EQ(Codes({requests.begin(), requests.begin() + 5}), (std::vector<int>{128, 127, 129, 7, 149}));
  std::size_t i = 5;
  for (const Read& read : reads) {
    const Report& r = requests[i++];
    ASSERT_EQ(r[1], 10) << "request " << i;
    EXPECT_EQ(r[2], 0);
    EXPECT_EQ(r[3], read.module) << "read " << i - 5;
    EXPECT_EQ(r[4], read.param) << "read " << i - 5;
    EXPECT_EQ(r[5], read.count) << "read " << i - 5;
  }
  int dspBytes = 0;
  for (int chunk = 0; chunk < 23; ++chunk) {
    const Report& r = requests[i++];
    EXPECT_EQ(r[1], 134);
    EXPECT_EQ((r[2] << 8) | r[3], 56 * chunk);
    EXPECT_EQ(r[4], chunk == 22 ? 21 : 56);
    dspBytes += r[4];
  }
  EXPECT_EQ(dspBytes, 1253);
  const std::array<std::array<int, 2>, 3> records{{{1253, 32}, {1285, 20}, {1305, 2}}};
  for (const auto& [address, length] : records) {
    const Report& r = requests[i++];
    EXPECT_EQ(r[1], 134);
    EXPECT_EQ((r[2] << 8) | r[3], address);
    EXPECT_EQ(r[4], length);
  }
  EXPECT_EQ(requests[i++][1], 146);
  EXPECT_EQ(requests[i++][1], 98);
}

bool SameValue(const SlotField& field, std::uint32_t a, std::uint32_t b) {
  if (!field.isFloat) return a == b;
  const float x = BitsFloat(a);
  const float y = BitsFloat(b);
  return std::fabs(x - y) <= 1e-3f * std::max(1.0f, std::fabs(x));
}

TEST(ReadAllThreads, AFreshMachineReadsBackAsAMachineInUse) {
  MachineRig rig;
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  ParameterStore inUse;
  emulator::FillInUseFactoryStore(inUse);
  for (const SlotField& field : SlotFields()) {
    if (field.rule == WireRule::none) continue;
    for (int e = 0; e < field.count; ++e) {
      const int s = field.SlotOf(e);
      EXPECT_TRUE(SameValue(field, rig.store.Bits(s), inUse.Bits(s))) << field.name << "[" << e << "]";
    }
  }
  EXPECT_EQ(rig.store.Int(slot::micVolume), 60);
  EXPECT_EQ(rig.store.Int(slot::musicVolume), 50);
}

TEST(ReadAllThreads, LeavesTheStoreEqualToTheMachine) {
  ParameterStore source;
  FillDistinctStore(source);
  MachineRig rig;
  rig.backend.machine().LoadWorkingSet(source);
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);

  for (const SlotField& field : SlotFields()) {
    if (field.rule == WireRule::none) continue;
    for (int e = 0; e < field.count; ++e) {
      const int s = field.SlotOf(e);
      EXPECT_TRUE(SameValue(field, rig.store.Bits(s), source.Bits(s)))
          << field.name << "[" << e << "]: " << rig.store.Bits(s) << " vs " << source.Bits(s);
    }
  }
  for (Region region :
       {Region::dspBlock, Region::chLocationGain, Region::locationSettings, Region::micBoostLevel}) {
    std::vector<std::uint8_t> got(RegionSize(region)), want(RegionSize(region));
    rig.store.ReadBytes(region, 0, got);
    source.ReadBytes(region, 0, want);
    EXPECT_EQ(got, want) << static_cast<int>(region);
  }
  const auto settings = rig.backend.machine().machineSettings();
  for (std::size_t b = 0; b < settings.size(); ++b) {
    EXPECT_EQ(rig.store.Byte(Region::machineSettings, b), settings[b]);
    EXPECT_EQ(rig.store.Byte(Region::machineSettingsEdit, b), settings[b]);
  }
  EXPECT_EQ(rig.store.modelName(), u"Calyx");
  EXPECT_EQ(rig.store.deviceKind(), 18);
  EXPECT_EQ(rig.store.firmwareDate(), u"2013-06-21");
  EXPECT_EQ(rig.store.secondDate(), u"2013-07-02");
  EXPECT_EQ(rig.store.modeName(1), u"K歌");
  EXPECT_EQ(rig.store.Byte(Region::remoteKeyTable, 3), rig.backend.machine().remoteKeyTable()[3]);
  EXPECT_EQ(rig.store.writeAck(), 0);
}

}  // namespace
}  // namespace vireo::test
