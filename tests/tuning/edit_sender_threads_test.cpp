// The edit sender: order of jobs, replacement of queued jobs of the same target, pauses replayed on the
// worker, and a shutdown that drains within its bound.
#include "tuning/edit_sender.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "device/virtual_clock.h"
#include "model/parameter_store.h"
#include "model/slot_fields.h"
#include "tuning/input_controls.h"

namespace vireo::test {
namespace {

using tuning::EditSender;
using tuning::Job;
using tuning::JobStep;

// 02 09 00 01 param 01 tag: one write whose destination is (1, param) and whose value byte names it.
JobStep Write(int param, int tag) {
  Report r{0x02, 0x09, 0x00, 0x01, static_cast<std::uint8_t>(param), 0x01, static_cast<std::uint8_t>(tag)};
  return {JobStep::Kind::paced, 0, r};
}

// A link whose sends can be held at their start, recording the tag, the time and the sending thread.
class GatedLink final : public ReportSender {
 public:
  explicit GatedLink(Clock& clock, int costMs = 0) : clock_(clock), costMs_(costMs) {}
  int SendPaced(const Report& report) override {
    std::unique_lock lock(lock_);
    ++entered_;
    cv_.notify_all();
    cv_.wait(lock, [this] { return !held_; });
    tags.push_back(report[6]);
    params.push_back(report[4]);
    times.push_back(clock_.NowMs());
    threads.push_back(std::this_thread::get_id());
    lock.unlock();
    if (costMs_ > 0) clock_.SleepMs(costMs_);
    return static_cast<int>(kReportBytes);
  }
  int SendUnpaced(const Report& report) override { return SendPaced(report); }
  void Hold() {
    std::lock_guard guard(lock_);
    held_ = true;
  }
  void Release() {
    std::lock_guard guard(lock_);
    held_ = false;
    cv_.notify_all();
  }
  void WaitEntered(int count) {
    std::unique_lock lock(lock_);
    cv_.wait(lock, [&] { return entered_ >= count; });
  }
  // Read only once the sender is idle or gone.
  std::vector<int> tags, params;
  std::vector<std::int64_t> times;
  std::vector<std::thread::id> threads;

 private:
  Clock& clock_;
  const int costMs_;
  std::mutex lock_;
  std::condition_variable cv_;
  bool held_ = false;
  int entered_ = 0;
};

class EditSenderThreadsTest : public ::testing::Test {
 protected:
  VirtualClock clock_{{false, 15}};
};

struct OrderCase {
  const char* what;
  std::vector<std::pair<std::string, int>> submitted;  // target, tag (a negative tag: an empty job)
  std::vector<int> sent;
};

TEST_F(EditSenderThreadsTest, QueuedJobsKeepTheirOrderAndANewerJobOfATargetReplacesTheQueuedOne) {
  const OrderCase cases[] = {
      {"different targets keep their order", {{"a", 1}, {"b", 2}, {"c", 3}}, {1, 2, 3}},
      {"the newer job goes to the end", {{"a", 1}, {"b", 2}, {"a", 3}}, {2, 3}},
      {"a paste between two edits of a band", {{"band:0:3", 1}, {"paste", 2}, {"band:0:3", 3}}, {2, 3}},
      {"a whole drag leaves one job", {{"a", 1}, {"a", 2}, {"a", 3}, {"a", 4}}, {4}},
      {"an empty job replaces nothing", {{"a", 1}, {"a", -1}, {"b", 2}}, {1, 2}},
  };
  for (const OrderCase& c : cases) {
    GatedLink link(clock_);
    EditSender sender(link, clock_);
    link.Hold();
    sender.Submit("running", {Write(9, 0)});
    link.WaitEntered(1);  // the running job has started and holds the worker
    for (const auto& [target, tag] : c.submitted) {
      // One destination per target, so a replaced job carries nothing over.
      const int param = static_cast<int>(std::hash<std::string>{}(target) % 200) + 10;
      sender.Submit(target, tag < 0 ? Job{} : Job{Write(param, tag)});
    }
    link.Release();
    sender.WaitIdle();
    std::vector<int> expected{0};
    expected.insert(expected.end(), c.sent.begin(), c.sent.end());
    EXPECT_EQ(link.tags, expected) << c.what;
  }
}

TEST_F(EditSenderThreadsTest, AStartedJobIsNeverCut) {
  GatedLink link(clock_);
  EditSender sender(link, clock_);
  link.Hold();
  sender.Submit("a", {Write(1, 1), Write(2, 2)});
  link.WaitEntered(1);
  sender.Submit("a", {Write(1, 3), Write(2, 4)});
  link.Release();
  sender.WaitIdle();
  EXPECT_EQ(link.tags, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(sender.counters().jobsReplaced, 0u);
}

TEST_F(EditSenderThreadsTest, AReplacedJobsWritesThatTheNewerJobDoesNotRepeatAreKept) {
  GatedLink link(clock_);
  EditSender sender(link, clock_);
  link.Hold();
  sender.Submit("running", {Write(9, 0)});
  link.WaitEntered(1);
  sender.Submit("echo", {Write(10, 1), Write(11, 2)});  // an echo time that also set the predelay
  sender.Submit("echo", {Write(10, 3)});                // one that did not
  link.Release();
  sender.WaitIdle();
  EXPECT_EQ(link.params, (std::vector<int>{9, 11, 10}));
  EXPECT_EQ(link.tags, (std::vector<int>{0, 2, 3}));
}

// 02 code 00 00 EE 00 tag: a request that writes no parameter or block (a settings apply, a slot
// command), so no later report makes it redundant.
JobStep Command(int code, int tag) {
  Report r{0x02, static_cast<std::uint8_t>(code), 0x00, 0x00, 0xEE, 0x00, static_cast<std::uint8_t>(tag)};
  return {JobStep::Kind::paced, 0, r};
}

TEST_F(EditSenderThreadsTest, AReplacedJobsOtherRequestsAreAlwaysKept) {
  struct Case {
    const char* what;
    Job replaced;
    Job newer;
    std::vector<int> tags;  // after the running job's 0
  };
  const Case cases[] = {
      {"a request beside a write the newer job repeats",
       {Command(0x91, 1), Write(10, 2)},
       {Write(10, 3)},
       {1, 3}},
      {"the same request in both jobs goes twice", {Command(0x91, 1)}, {Command(0x91, 2)}, {1, 2}},
      {"a request after a pause",
       {Write(10, 1), {JobStep::Kind::pause, 50, {}}, Command(0x06, 2)},
       {Write(10, 3)},
       {2, 3}},
  };
  for (const Case& c : cases) {
    GatedLink link(clock_);
    EditSender sender(link, clock_);
    link.Hold();
    sender.Submit("running", {Write(9, 0)});
    link.WaitEntered(1);
    sender.Submit("settings", c.replaced);
    sender.Submit("settings", c.newer);
    link.Release();
    sender.WaitIdle();
    std::vector<int> expected{0};
    expected.insert(expected.end(), c.tags.begin(), c.tags.end());
    EXPECT_EQ(link.tags, expected) << c.what;
    EXPECT_EQ(sender.counters().jobsReplaced, 1u) << c.what;
  }
}

TEST_F(EditSenderThreadsTest, EditRunsTheOperationAtOnceAndThePausesOnTheWorker) {
  ParameterStore store;
  ResetStoreDefaults(store);
  store.SetInt(slot::musicMute, 1);
  GatedLink link(clock_);
  EditSender sender(link, clock_);
  link.Hold();
  sender.Edit("musicMute", [&](ReportSender& s, Clock& c) { tuning::SetMusicMute(store, s, c, false); });
  // The store changed and no time passed on the editing thread.
  EXPECT_EQ(store.Int(slot::musicMute), 0);
  EXPECT_EQ(clock_.NowMs(), 0);
  link.Release();
  sender.WaitIdle();
  // Ten messages, 30 ms apart: the fade's pauses were replayed by the worker.
  ASSERT_EQ(link.times.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(link.times[i], 30 * static_cast<std::int64_t>(i));
  for (std::thread::id id : link.threads) EXPECT_NE(id, std::this_thread::get_id());
  EXPECT_EQ(sender.counters().pausedMs, 270u);
}

TEST_F(EditSenderThreadsTest, ShutdownFinishesTheRunningJobAndDrainsTheQueue) {
  GatedLink link(clock_);
  auto sender = std::make_unique<EditSender>(link, clock_);
  link.Hold();
  for (int i = 0; i < 5; ++i) sender->Submit(std::string(1, static_cast<char>('a' + i)), {Write(i, i)});
  link.WaitEntered(1);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    link.Release();
  });
  sender.reset();
  release.join();
  EXPECT_EQ(link.tags, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(EditSenderThreadsTest, ShutdownDropsWhatTheDrainBoundLeaves) {
  GatedLink link(clock_, 600);  // every report takes 600 ms of the clock
  EditSender sender(link, clock_);
  link.Hold();
  for (int i = 0; i < 10; ++i) sender.Submit(std::string(1, static_cast<char>('a' + i)), {Write(i, i)});
  link.WaitEntered(1);
  std::thread stop([&] { sender.Shutdown(); });
  while (!sender.stopping()) std::this_thread::yield();
  link.Release();
  stop.join();
  // Jobs start at 0, 600, 1200 and 1800 ms; at 2400 ms the 2000 ms bound has passed.
  EXPECT_EQ(link.tags, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(sender.counters().jobsDropped, 6u);
  sender.Submit("late", {Write(1, 1)});
  sender.WaitIdle();
  EXPECT_EQ(link.tags.size(), 4u);
}

}  // namespace
}  // namespace vireo::test
