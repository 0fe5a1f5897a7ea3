// VirtualClock: instant sleeps, immediate wake-ups, and time-outs that expire in deadline order.
#include "device/virtual_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace vireo {
namespace {

void WaitForBlocked(VirtualClock& clock, int n) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (clock.blockedWaiters() < n && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(clock.blockedWaiters(), n);
}

TEST(VirtualClockTest, SleepsAdvanceAtOnce) {
  VirtualClock clock;
  EXPECT_EQ(clock.NowMs(), 0);
  const auto start = std::chrono::steady_clock::now();
  clock.SleepMs(3200);
  clock.SleepMs(0);
  clock.SleepMs(-5);
  clock.Advance(50);
  EXPECT_EQ(clock.NowMs(), 3250);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(VirtualClockTest, ReadyPredicateReturnsWithoutTimePassing) {
  VirtualClock clock;
  std::mutex m;
  std::condition_variable cv;
  std::unique_lock lock(m);
  EXPECT_TRUE(clock.WaitFor(cv, lock, 2000, [] { return true; }));
  EXPECT_EQ(clock.NowMs(), 0);
  EXPECT_TRUE(lock.owns_lock());
}

TEST(VirtualClockTest, UnnotifiedWaitTimesOutAtItsDeadline) {
  VirtualClock clock;
  std::mutex m;
  std::condition_variable cv;
  std::unique_lock lock(m);
  clock.SleepMs(100);
  EXPECT_FALSE(clock.WaitFor(cv, lock, 2000, [] { return false; }));
  EXPECT_EQ(clock.NowMs(), 2100);
  EXPECT_FALSE(clock.WaitFor(cv, lock, 0, [] { return false; }));
  EXPECT_EQ(clock.NowMs(), 2100);
  EXPECT_EQ(clock.blockedWaiters(), 0);
}

TEST(VirtualClockThreadsTest, NotifiedWaiterWakesBeforeItsDeadline) {
  VirtualClock clock({.autoAdvance = false});
  std::mutex m;
  std::condition_variable cv;
  bool flag = false;
  std::atomic<bool> result{false};
  std::thread waiter([&] {
    std::unique_lock lock(m);
    result = clock.WaitFor(cv, lock, 2000, [&] { return flag; });
  });
  WaitForBlocked(clock, 1);
  clock.Advance(1999);
  {
    std::lock_guard guard(m);
    flag = true;
  }
  cv.notify_all();
  clock.Notify();
  waiter.join();
  EXPECT_TRUE(result);
  EXPECT_EQ(clock.NowMs(), 1999);
}

TEST(VirtualClockThreadsTest, ManualClockTimesOutOnlyWhenAdvanced) {
  VirtualClock clock({.autoAdvance = false});
  std::mutex m;
  std::condition_variable cv;
  std::atomic<bool> done{false};
  std::thread waiter([&] {
    std::unique_lock lock(m);
    EXPECT_FALSE(clock.WaitFor(cv, lock, 1000, [] { return false; }));
    done = true;
  });
  WaitForBlocked(clock, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done);
  clock.Advance(999);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(done);
  clock.Advance(1);
  waiter.join();
  EXPECT_TRUE(done);
}

TEST(VirtualClockThreadsTest, CompetingTimeOutsExpireInDeadlineOrder) {
  // A long quiet period, and both threads held at the mutex until both exist, so the second waiter
  // registers its deadline long before the first could give up on quiet.
  VirtualClock clock({.autoAdvance = true, .quietRealMs = 100});
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::pair<char, std::int64_t>> order;
  std::unique_lock hold(m);
  auto waitFor = [&](char name, int ms) {
    std::unique_lock lock(m);
    EXPECT_FALSE(clock.WaitFor(cv, lock, ms, [] { return false; }));
    order.emplace_back(name, clock.NowMs());
  };
  std::thread late([&] { waitFor('B', 1500); });
  std::thread early([&] { waitFor('A', 500); });
  hold.unlock();
  late.join();
  early.join();
  const std::vector<std::pair<char, std::int64_t>> expected{{'A', 500}, {'B', 1500}};
  EXPECT_EQ(order, expected);
}

TEST(VirtualClockThreadsTest, UnboundedWaitDoesNotMoveTime) {
  VirtualClock clock;
  std::mutex m;
  std::condition_variable cv;
  bool flag = false;
  std::thread waiter([&] {
    std::unique_lock lock(m);
    EXPECT_TRUE(clock.WaitFor(cv, lock, -1, [&] { return flag; }));
  });
  WaitForBlocked(clock, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));  // several quiet periods
  EXPECT_EQ(clock.NowMs(), 0);
  {
    std::lock_guard guard(m);
    flag = true;
  }
  cv.notify_all();
  waiter.join();
  EXPECT_EQ(clock.NowMs(), 0);
}

}  // namespace
}  // namespace vireo
