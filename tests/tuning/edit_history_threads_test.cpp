// Undo and redo through the edit sender: a drag and a paste are one step each, undo puts the old values
// back in the store and on the wire, the depth, and what clears redo and the history.
#include "tuning/edit_history.h"

#include <algorithm>

#include "device/virtual_clock.h"
#include "expected_reports.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "tuning/compressor_ops.h"
#include "tuning/eq_operations.h"

namespace vireo::test {
namespace {

using tuning::BandValue;
using tuning::FieldValue;

class EditHistoryThreadsTest : public DspBlockFixture {
 protected:
  // What reached the link since the previous call, once the sender is idle.
  std::vector<Report> Sent() {
    sender_.WaitIdle();
    std::vector<Report> sent;
    sent.swap(link_.paced);
    return sent;
  }
  void SetEchoVolume(int v) { session_.Apply({FieldValue{"echoVolume", 0, static_cast<double>(v)}}); }

  VirtualClock clock_{{false, 15}};
  RecordingSender link_;
  tuning::EditSender sender_{link_, clock_};
  tuning::EditSession session_{store_, sender_, clock_};
};

TEST_F(EditHistoryThreadsTest, ADragIsOneStepAndItsUndoSendsTheOldRecordThenItsCoefficients) {
  // Microphone A band 3 (address 21, coefficients 1/19): Peaking +6 dB, 1000 Hz, Q 1.41.
  const Record old{0x00, 0xD2, 0x03, 0xE8, 0x05, 0x82, 0x01};
  Put(21, old);
  session_.BeginGesture();
  for (double hz : {1100.0, 1250.0, 1600.0, 2000.0}) {
    session_.Run({BandValue{0, 3, {}}}, [&](ReportSender& s, Clock&) {
      return tuning::WriteEqBand(store_, s, 0, 3, {1, 6.0, hz, 1.41});
    });
  }
  session_.EndGesture();
  EXPECT_EQ(session_.undoSteps(), 1u);
  Sent();

  ASSERT_TRUE(session_.Undo());
  EXPECT_EQ(At(21), old);
  const std::vector<Report> undo = Sent();
  ASSERT_EQ(undo.size(), 2u);
  EXPECT_EQ(undo[0], Block(21, old));
  ExpectPeaking(undo[1], 1, 19, 6.0, 1000, 1.41);

  ASSERT_TRUE(session_.Redo());
  const std::vector<Report> redo = Sent();
  ASSERT_EQ(redo.size(), 2u);
  EXPECT_EQ(redo[0], Block(21, {0x00, 0xD2, 0x07, 0xD0, 0x05, 0x82, 0x01}));  // 2000 Hz
  EXPECT_FALSE(session_.CanRedo());
}

TEST_F(EditHistoryThreadsTest, APasteIsOneStepAndItsUndoRestoresEveryDestinationBand) {
  // Microphone A (bands at 7 i, coefficients 1/16+i) holds band i at 0.1 i dB and 100 (i + 1) Hz;
  // the music equaliser (bands at 336 + 7 i) is flat at 1000 + 10 i Hz.
  for (int i = 0; i < 10; ++i) {
    const int hz = 100 * (i + 1);
    Put(7 * i, {0x00, static_cast<std::uint8_t>(0x96 + i), static_cast<std::uint8_t>(hz >> 8),
                static_cast<std::uint8_t>(hz), 0x05, 0x82, 0x01});
    Put(336 + 7 * i, FlatRecord(1000 + 10 * i));
  }
  session_.Run(tuning::AllBandTargets(0),
               [&](ReportSender& s, Clock&) { return tuning::PasteEq(store_, s, 6, 0); });
  EXPECT_EQ(At(21), FlatRecord(1030));
  EXPECT_EQ(session_.undoSteps(), 1u);
  Sent();

  ASSERT_TRUE(session_.Undo());
  const std::vector<Report> undo = Sent();
  ASSERT_EQ(undo.size(), 20u);
  for (int i = 0; i < 10; ++i) {
    const int hz = 100 * (i + 1);
    const Record old{0x00,
                     static_cast<std::uint8_t>(0x96 + i),
                     static_cast<std::uint8_t>(hz >> 8),
                     static_cast<std::uint8_t>(hz),
                     0x05,
                     0x82,
                     0x01};
    EXPECT_EQ(undo[2 * i], Block(7 * i, old)) << "band " << i;
    ExpectPeaking(undo[2 * i + 1], 1, 16 + i, 0.1 * i, hz, 1.41);
    EXPECT_EQ(At(7 * i), old);
  }
}

TEST_F(EditHistoryThreadsTest, UndoingAnEchoTimeRestoresTheReverbPredelayItSet) {
  store_.SetFloat(slot::echoTimeA, 100.0f);
  store_.SetFloat(slot::reverbPredelayA, 120.0f);
  session_.Apply({FieldValue{"echoTimeA", 0, 4}});
  EXPECT_EQ(store_.Float(slot::reverbPredelayA), 40.0f);
  ASSERT_TRUE(session_.Undo());
  EXPECT_EQ(store_.Float(slot::echoTimeA), 100.0f);
  EXPECT_EQ(store_.Float(slot::reverbPredelayA), 120.0f);
  // The machine follows: the last predelay it received is 120 ms, 5760 samples.
  const std::vector<Report> sent = Sent();
  const auto last =
      std::find_if(sent.rbegin(), sent.rend(), [](const Report& r) { return r[3] == 3 && r[4] == 9; });
  ASSERT_NE(last, sent.rend());
  EXPECT_EQ(Head(*last, 10),
            (std::vector<std::uint8_t>{0x02, 0x09, 0x00, 0x03, 0x09, 0x01, 0, 0, 0x16, 0x80}));
}

TEST_F(EditHistoryThreadsTest, UndoingACompressorSliderRestoresTheFourValuesInOneMessage) {
  // Values a mode file may carry, off the sliders' steps.
  store_.SetFloat(slot::chCompThreshold[3], -12.5f);
  store_.SetFloat(slot::chCompRatio[3], 2.55f);
  store_.SetFloat(slot::chCompAttack[3], 10.7f);
  store_.SetFloat(slot::chCompRelease[3], 99.9f);
  std::vector<tuning::EditValue> targets;
  for (const char* name : {"chCompThreshold", "chCompRatio", "chCompAttack", "chCompRelease"})
    targets.push_back(FieldValue{name, 3, 0.0});
  session_.Run(targets, [&](ReportSender& s, Clock&) {
    return tuning::MoveCompSlider(store_, s, 3, tuning::CompSlider::threshold, -30);
  });
  Sent();
  ASSERT_TRUE(session_.Undo());
  const std::vector<Report> undo = Sent();
  ASSERT_EQ(undo.size(), 1u);
  // Module 8, parameter 27, seven words: threshold -12.5 (C1 48 00 00) first, then 0.0 and 1 - 1/2.55.
  EXPECT_EQ((std::vector<int>{undo[0][3], undo[0][4], undo[0][5]}), (std::vector<int>{8, 27, 7}));
  EXPECT_EQ((std::vector<int>{undo[0][6], undo[0][7], undo[0][8], undo[0][9]}),
            (std::vector<int>{0xC1, 0x48, 0x00, 0x00}));
  EXPECT_FLOAT_EQ(WordFloat(undo[0], 2), static_cast<float>(1.0 - 1.0 / 2.55f));
  EXPECT_EQ(store_.Float(slot::chCompRatio[3]), 2.55f);
  EXPECT_EQ(store_.Float(slot::chCompAttack[3]), 10.7f);
  EXPECT_EQ(store_.Float(slot::chCompRelease[3]), 99.9f);
}

TEST_F(EditHistoryThreadsTest, AGestureGrowsOneStepPerTargetNeverOneForTwo) {
  struct Case {
    FieldValue first;  // moved to `value`, then to `value` + 5, inside one gesture; likewise the second
    FieldValue second;
  };
  const Case cases[] = {
      {{"echoVolume", 0, 30}, {"effectVolume", 0, 40}},  // two fields
      {{"chTrim", 1, 30}, {"chTrim", 2, 40}},            // two elements of one field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second.name + "[" + std::to_string(c.second.element) + "]");
    session_.ClearHistory();
    session_.Apply({FieldValue{c.first.name, c.first.element, 10}});
    session_.Apply({FieldValue{c.second.name, c.second.element, 20}});
    session_.ClearHistory();
    session_.BeginGesture();
    for (const FieldValue& f : {c.first, c.second}) {
      session_.Apply({f});
      session_.Apply({FieldValue{f.name, f.element, f.value + 5}});  // the same target: the same step grows
    }
    session_.EndGesture();
    EXPECT_EQ(session_.undoSteps(), 2u);
    const auto value = [&](const FieldValue& f) {
      return store_.Int(FindSlotField(f.name)->SlotOf(f.element));
    };
    ASSERT_TRUE(session_.Undo());
    EXPECT_EQ(value(c.second), 20);
    EXPECT_EQ(value(c.first), c.first.value + 5);
    ASSERT_TRUE(session_.Undo());
    EXPECT_EQ(value(c.first), 10);
    EXPECT_FALSE(session_.Undo());
  }
}

TEST_F(EditHistoryThreadsTest, UndoingOneTargetOfAGestureSendsOnlyItsMessages) {
  store_.SetInt(slot::echoVolume, 10);
  store_.SetInt(slot::effectVolume, 20);
  session_.BeginGesture();
  session_.Apply({FieldValue{"echoVolume", 0, 30}});
  session_.Apply({FieldValue{"effectVolume", 0, 40}});
  session_.EndGesture();
  Sent();
  ASSERT_TRUE(session_.Undo());
  // The effect volume goes to two parameters of its module; nothing goes to the echo volume's.
  const SlotField& effect = *FindSlotField("effectVolume");
  const std::vector<Report> undo = Sent();
  ASSERT_FALSE(undo.empty());
  for (const Report& r : undo) {
    EXPECT_EQ(r[3], effect.module);
    EXPECT_TRUE(r[4] == effect.param || r[4] == effect.param2) << +r[4];
  }
}

TEST_F(EditHistoryThreadsTest, TheOldestStepsGiveWayBeyondTwoHundred) {
  store_.SetInt(slot::echoVolume, 0);
  for (int i = 0; i < 250; ++i) SetEchoVolume(i % 90 + 1);
  int undone = 0;
  while (session_.Undo()) ++undone;
  EXPECT_EQ(undone, 200);
  EXPECT_EQ(store_.Int(slot::echoVolume), 50);  // as the 50th edit left it
}

TEST_F(EditHistoryThreadsTest, ANewEditClearsRedo) {
  SetEchoVolume(10);
  SetEchoVolume(20);
  session_.Undo();
  ASSERT_TRUE(session_.CanRedo());
  SetEchoVolume(30);
  EXPECT_FALSE(session_.CanRedo());
  EXPECT_FALSE(session_.Redo());
  EXPECT_EQ(session_.undoSteps(), 2u);
}

TEST_F(EditHistoryThreadsTest, ClearHistoryForgetsBothWaysAndSaysSo) {
  int changes = 0;
  session_.SetOnChange([&] { ++changes; });
  SetEchoVolume(10);
  SetEchoVolume(20);
  session_.Undo();
  changes = 0;
  session_.ClearHistory();
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(session_.CanUndo());
  EXPECT_FALSE(session_.CanRedo());
  EXPECT_FALSE(session_.Undo());
}

}  // namespace
}  // namespace vireo::test
