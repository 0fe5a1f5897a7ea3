// Identity checks after a read-all: accepted names in any case, a second try, wrong kind and model.
#include <gtest/gtest.h>

#include "machine_rig.h"

namespace vireo::test {
namespace {

emulator::EmulatorOptions WithIdentity(std::string model, std::uint8_t kind) {
  emulator::EmulatorOptions options;
  options.modelName = std::move(model);
  options.kind = kind;
  return options;
}

TEST(IdentityThreads, LowerCaseModelIsAcceptedAndBrioToo) {
  for (const char* name : {"calyx", "BRIO"}) {
    MachineRig rig(WithIdentity(name, 18));
    EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted) << name;
    EXPECT_EQ(rig.Requests().size(), 225u);
    EXPECT_TRUE(rig.connection.connected());
  }
}

TEST(IdentityThreads, ModelMatchingOnTheSecondTryIsReadNormally) {
  MachineRig rig;
  rig.backend.machine().SetModelNameMisses(1);
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  const auto codes = Codes(rig.Requests());
  ASSERT_EQ(codes.size(), 228u);
  EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 8),
            (std::vector<int>{128, 127, 129, 128, 127, 129, 7, 149}));
}

TEST(IdentityThreads, KindSeventeenReadsNothingAndIsRejected) {
  MachineRig rig(WithIdentity("Calyx", 17));
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::wrongKind);
  // Three identity queries, then only the disconnect notice.
  EXPECT_EQ(Codes(rig.Requests()), (std::vector<int>{128, 127, 129, 138}));
  EXPECT_FALSE(rig.connection.connected());
  EXPECT_EQ(rig.events.posted().size(), 1u);
}

TEST(IdentityThreads, ARejectedMachineLeavesNoSlotPending) {
  for (const auto& options : {WithIdentity("Calyx", 17), WithIdentity("Kestrel", 18)}) {
    MachineRig rig(options);
    rig.connection.setPendingSlot(2);
    EXPECT_NE(rig.ConnectAndReadAll(), SyncOutcome::accepted);
    EXPECT_EQ(rig.connection.pendingSlot(), -1) << options.modelName;
    for (const Report& r : rig.Requests()) {
      EXPECT_NE(r[1], code::setMode);
      EXPECT_NE(r[1], code::storeMode);
    }
  }
}

TEST(IdentityThreads, WrongModelTriesTwiceThenDisconnects) {
  MachineRig rig(WithIdentity("Kestrel", 18));
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::wrongModel);
  EXPECT_EQ(Codes(rig.Requests()), (std::vector<int>{128, 127, 129, 128, 127, 129, 138}));
  EXPECT_FALSE(rig.connection.connected());
  EXPECT_EQ(rig.store.modelName(), u"Kestrel");  // the store keeps what was read
  // A later connection attempt opens the machine again.
  EXPECT_TRUE(rig.connection.ConnectMachine());
}

}  // namespace
}  // namespace vireo::test
