// HidLink with its read thread over a fake device, in virtual time: pacing, read failure, bounded close.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/dispatcher.h"
#include "device/hid_link.h"
#include "device/virtual_clock.h"
#include "fake_hid.h"
#include "log_capture.h"

namespace vireo {
namespace {

using test::FakeBackend;
using test::FakeDeviceControl;

std::vector<std::uint8_t> ReplyBytes(std::uint8_t replyCode, std::uint8_t arg, std::size_t size = 61) {
  std::vector<std::uint8_t> r(size, 0);
  const std::size_t at = size == 61 ? 1 : 0;  // 60-byte reports carry no id byte
  r[at] = replyCode;
  r[at + 1] = arg;
  return r;
}

class LinkThreadsTest : public ::testing::Test {
 protected:
  explicit LinkThreadsTest(VirtualClock::Options options = {}) : clock(options) {}

  void SetUp() override {
    backend.interfaces = {test::Machine("/dev/hidraw7")};
    link = std::make_unique<HidLink>(store, clock);
    link->SetTraceHook([this](char direction, const Report& r) {
      std::lock_guard guard(traceLock);
      trace.emplace_back(direction, r);
    });
    ASSERT_TRUE(link->Open(backend));
    ASSERT_TRUE(link->StartReader([this](std::span<const std::uint8_t> r) {
      ++dispatched;
      dispatcher.DispatchReply(r);
      // A handler that is slow to return, like a key-learned delivery waiting for the front end.
      while (holdDispatch) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ++dispatchesFinished;
    }));
    ASSERT_EQ(store.connected(), 1);
    ASSERT_TRUE(control().WaitUntil([&] { return control().readCalls == 1; }));
  }
  void TearDown() override { link.reset(); }

  FakeDeviceControl& control() { return *backend.control; }
  // Pushes a reply and waits until the reader is back in its read, i.e. it has dispatched the reply
  // and set the pacing event.
  void DeliverReply(std::vector<std::uint8_t> reply) {
    const int reads = [&] {
      std::lock_guard guard(control().lock);
      return control().readCalls;
    }();
    control().Push(std::move(reply));
    ASSERT_TRUE(control().WaitUntil([&] { return control().readCalls == reads + 1; }));
  }
  std::vector<std::pair<char, Report>> Trace() {
    std::lock_guard guard(traceLock);
    return trace;
  }

  test::LogCapture log;
  ParameterStore store;
  VirtualClock clock;
  FakeBackend backend;
  ReplyDispatcher dispatcher{store, nullptr};
  std::atomic<int> dispatched{0};
  std::atomic<int> dispatchesFinished{0};
  std::atomic<bool> holdDispatch{false};
  std::mutex traceLock;
  std::vector<std::pair<char, Report>> trace;
  std::unique_ptr<HidLink> link;
};

class LinkManualClockThreadsTest : public LinkThreadsTest {
 protected:
  LinkManualClockThreadsTest() : LinkThreadsTest({.autoAdvance = false}) {}
};

class LinkSlowQuietThreadsTest : public LinkThreadsTest {
 protected:
  LinkSlowQuietThreadsTest() : LinkThreadsTest({.autoAdvance = true, .quietRealMs = 100}) {}
  // Pushes a reply whose handling blocks until holdDispatch is cleared.
  void StartBlockedDispatch() {
    holdDispatch = true;
    control().Push(ReplyBytes(7, 1));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (dispatched == 0 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    ASSERT_EQ(dispatched, 1);
  }
};

TEST_F(LinkThreadsTest, PacedSendWaitsForAReplyOrTwoSeconds) {
  const Report query = MakeCommand(code::queryMode);
  EXPECT_EQ(link->SendPaced(query), 61);  // the pacing event starts signalled
  EXPECT_EQ(clock.NowMs(), 0);
  EXPECT_EQ(link->SendPaced(query), 61);  // no reply: goes out after 2000 ms anyway
  EXPECT_EQ(clock.NowMs(), 2000);
  EXPECT_EQ(link->SendPaced(query), 61);  // and the next waits again
  EXPECT_EQ(clock.NowMs(), 4000);
  DeliverReply(ReplyBytes(7, 3));
  EXPECT_EQ(link->SendPaced(query), 61);  // a reply arrived since: no wait
  EXPECT_EQ(clock.NowMs(), 4000);
  EXPECT_EQ(store.currentMode(), 3);
  EXPECT_EQ(link->SendUnpaced(query), 61);  // unpaced never waits
  EXPECT_EQ(clock.NowMs(), 4000);
  EXPECT_EQ(control().Written().size(), 5u);
  EXPECT_EQ(control().Written()[0], query);
}

TEST_F(LinkThreadsTest, SixtyByteInputIsNormalisedAndTraced) {
  DeliverReply(ReplyBytes(127, 18, 60));  // hidraw: no id byte
  DeliverReply(ReplyBytes(7, 2, 61));
  EXPECT_EQ(store.deviceKind(), 18);
  EXPECT_EQ(store.currentMode(), 2);
  const Report sent = MakeCommand(code::queryKind);
  EXPECT_EQ(link->SendPaced(sent), 61);
  const auto t = Trace();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].first, '<');
  EXPECT_EQ(t[0].second[0], 0x00);
  EXPECT_EQ(t[0].second[1], 127);
  EXPECT_EQ(t[0].second[2], 18);
  EXPECT_EQ(t[1].first, '<');
  EXPECT_EQ(t[2].first, '>');
  EXPECT_EQ(t[2].second, sent);
  EXPECT_EQ(dispatched, 2);
}

TEST_F(LinkThreadsTest, ReadFailureEndsTheReaderAndRefusesWrites) {
  std::atomic<int> failures{0};
  link->SetOnReadFailure([&] { ++failures; });
  control().FailNextRead();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!link->readerEnded() && std::chrono::steady_clock::now() < until) std::this_thread::yield();
  ASSERT_TRUE(link->readerEnded());
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(log.Count("Read Usb Error will return !\n"), 1);
  EXPECT_EQ(store.connected(), 1);  // still open until the connection logic closes it

  EXPECT_EQ(link->SendPaced(MakeCommand(code::levelMeters)), 0);
  EXPECT_EQ(link->SendPaced(MakeCommand(code::levelMeters)), 0);
  EXPECT_EQ(link->SendUnpaced(MakeCommand(code::levelMeters)), 0);
  EXPECT_EQ(log.Count("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"), 3);
  EXPECT_EQ(clock.NowMs(), 0);  // refused at once, no pacing wait
  EXPECT_TRUE(control().Written().empty());

  link->CloseLink();
  EXPECT_EQ(store.connected(), 0);
  EXPECT_FALSE(link->readerEnded());
  EXPECT_EQ(log.Count("wait read thread exited time out !\n"), 0);
}

TEST_F(LinkManualClockThreadsTest, ReadFailureReleasesAWaitingSender) {
  EXPECT_EQ(link->SendPaced(MakeCommand(code::queryMode)), 61);  // consumes the initial signal
  std::atomic<int> result{-1};
  std::thread sender([&] { result = link->SendPaced(MakeCommand(code::queryMode)); });
  while (clock.blockedWaiters() != 1) std::this_thread::yield();
  control().FailNextRead();
  sender.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(clock.NowMs(), 0);  // released by the failure, not by the time-out
}

TEST_F(LinkManualClockThreadsTest, CloseWithAnAnsweringReaderJoinsAtOnce) {
  store.Fill(Region::levelMeters, 0x44);
  link->CloseLink();
  EXPECT_EQ(clock.NowMs(), 0);
  EXPECT_EQ(store.connected(), 0);
  EXPECT_EQ(store.Byte(Region::levelMeters, 0), 0);
  EXPECT_EQ(store.Byte(Region::levelMeters, 15), 0);
  EXPECT_TRUE(control().destroyed);  // the reader let go of the device before the close returned
  EXPECT_FALSE(link->isOpen());
  EXPECT_EQ(log.Count("Read Usb Error will return !\n"), 0);  // a cancelled read is not a failure
  EXPECT_EQ(link->SendPaced(MakeCommand(code::queryMode)), 0);
  link->CloseLink();  // closing twice does nothing
  EXPECT_EQ(log.Count("wait read thread exited time out !\n"), 0);
}

TEST_F(LinkThreadsTest, CloseWithAReaderBlockedForeverIsBounded) {
  {
    std::lock_guard guard(control().lock);
    control().ignoreCancel = true;
  }
  link->CloseLink();
  EXPECT_EQ(clock.NowMs(), 1000);
  EXPECT_EQ(log.Count("wait read thread exited time out !\n"), 1);
  EXPECT_EQ(store.connected(), 0);
  EXPECT_FALSE(control().destroyed);  // still held by the blocked reader
  link.reset();

  // The read completes long after the link is gone: the thread must leave without dispatching,
  // tracing or touching the clock, and free the device on its way out.
  const int before = dispatched;
  const std::size_t traced = Trace().size();
  control().Push(ReplyBytes(7, 1));
  ASSERT_TRUE(control().WaitUntil([&] { return control().destroyed; }));
  EXPECT_EQ(dispatched, before);
  EXPECT_EQ(Trace().size(), traced);
  EXPECT_EQ(store.currentMode(), 0);
}

TEST_F(LinkSlowQuietThreadsTest, CloseWaitsBrieflyForAReplyBeingHandedOver) {
  StartBlockedDispatch();
  std::thread releaser([&] {
    while (clock.NowMs() < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    holdDispatch = false;  // the handler returns during the close's grace
  });
  link->CloseLink();
  releaser.join();
  EXPECT_EQ(clock.NowMs(), 1000);
  EXPECT_EQ(log.Count("wait read thread exited time out !\n"), 1);
  EXPECT_EQ(dispatchesFinished, 1);
  EXPECT_TRUE(control().destroyed);  // joined: the device is closed
}

TEST_F(LinkSlowQuietThreadsTest, CloseLeavesAHandlerBehindAfterItsGrace) {
  StartBlockedDispatch();
  link->CloseLink();
  EXPECT_EQ(clock.NowMs(), 2000);
  EXPECT_FALSE(control().destroyed);
  link.reset();
  control().Push(ReplyBytes(7, 2));  // waits in the inbox: the left-behind reader must not read it
  holdDispatch = false;
  ASSERT_TRUE(control().WaitUntil([&] { return control().destroyed; }));
  EXPECT_EQ(dispatched, 1);
  EXPECT_EQ(dispatchesFinished, 1);
  EXPECT_EQ(store.currentMode(), 1);
}

TEST_F(LinkThreadsTest, ConcurrentSendersNeverOverlapWrites) {
  {
    std::lock_guard guard(control().lock);
    control().echoWrites = true;  // a machine that answers every report
  }
  constexpr int kPerThread = 200;
  std::atomic<int> total{0};
  auto run = [&](bool paced) {
    for (int i = 0; i < kPerThread; ++i) {
      const Report r = MakeReadParam(1, 14);
      total += paced ? link->SendPaced(r) : link->SendUnpaced(r);
    }
  };
  std::thread a(run, true), b(run, true), c(run, false);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(total, 3 * kPerThread * 61);
  EXPECT_EQ(control().Written().size(), static_cast<std::size_t>(3 * kPerThread));
  EXPECT_FALSE(control().overlappingWrites);
  link->CloseLink();
  EXPECT_EQ(store.connected(), 0);
}

TEST_F(LinkThreadsTest, ShortWritesAreReported) {
  {
    std::lock_guard guard(control().lock);
    control().writeResult = 10;
  }
  EXPECT_EQ(link->SendUnpaced(MakeCommand(code::queryModel)), 10);
  {
    std::lock_guard guard(control().lock);
    control().writeResult = -1;
  }
  EXPECT_EQ(link->SendUnpaced(MakeCommand(code::queryModel)), 0);
  EXPECT_EQ(log.Count("usb数据写入出错"), 2);
}

}  // namespace
}  // namespace vireo
