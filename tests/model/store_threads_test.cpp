// The store under concurrent use: slot words and byte copies are never seen half-written.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "model/location.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

constexpr int kRounds = 2000;

// Runs `write(round)` kRounds times on one thread while `read()` runs on another until the writer is
// done; returns how many reads saw a torn value.
template <typename Write, typename Read>
int Hammer(Write write, Read read) {
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!done.load(std::memory_order_acquire) || reads.load() == 0) {
      if (!read()) torn.fetch_add(1);
      reads.fetch_add(1);
    }
  });
  for (int round = 0; round < kRounds; ++round) write(round);
  done.store(true, std::memory_order_release);
  reader.join();
  EXPECT_GT(reads.load(), 0);
  return torn.load();
}

std::uint32_t Pattern(int round) {
  return round % 2 == 0 ? 0x11111111u : 0x22222222u;
}

bool AllBytesEqual(const std::uint8_t* p, std::size_t n, std::uint8_t a, std::uint8_t b) {
  if (p[0] != a && p[0] != b) return false;
  for (std::size_t i = 1; i < n; ++i) {
    if (p[i] != p[0]) return false;
  }
  return true;
}

TEST(StoreThreads, SlotWritesAreWholeInImageReads) {
  ParameterStore store;
  store.Fill(Region::mainParams, 0x11);
  const int torn = Hammer(
      [&](int round) {
        for (int s = 0; s < kMainSlotCount; ++s)
          store.SetInt(s, static_cast<std::int32_t>(Pattern(round + s)));
      },
      [&] {
        std::array<std::uint8_t, kMainParamsBytes> image{};
        store.ReadBytes(Region::mainParams, 0, image);
        for (std::size_t s = 0; s < kMainParamsBytes; s += 4) {
          if (!AllBytesEqual(&image[s], 4, 0x11, 0x22)) return false;
        }
        return true;
      });
  EXPECT_EQ(torn, 0);
}

TEST(StoreThreads, ImageWritesAreWholeInSlotReads) {
  ParameterStore store;
  store.Fill(Region::mainParams, 0x11);
  const int torn = Hammer(
      [&](int round) {
        std::array<std::uint8_t, kMainParamsBytes> image{};
        image.fill(static_cast<std::uint8_t>(Pattern(round)));
        store.WriteBytes(Region::mainParams, 0, image);
      },
      [&] {
        for (int s = 0; s < kMainSlotCount; ++s) {
          const std::uint32_t v = store.Bits(s);
          if (v != 0x11111111u && v != 0x22222222u) return false;
        }
        return true;
      });
  EXPECT_EQ(torn, 0);
}

TEST(StoreThreads, BlockCopiesAreWhole) {
  ParameterStore store;
  store.Fill(Region::dspBlock, 0x11);
  const int torn = Hammer(
      [&](int round) {
        std::array<std::uint8_t, 56> chunk{};
        chunk.fill(static_cast<std::uint8_t>(Pattern(round)));
        store.WriteBytes(Region::dspBlock, 406, chunk);
      },
      [&] {
        std::array<std::uint8_t, 56> chunk{};
        store.ReadBytes(Region::dspBlock, 406, chunk);
        return AllBytesEqual(chunk.data(), chunk.size(), 0x11, 0x22);
      });
  EXPECT_EQ(torn, 0);
}

TEST(StoreThreads, ByteWritesToOneSlotDoNotLoseEachOther) {
  ParameterStore store;
  std::atomic<int> lost{0};
  auto owner = [&](std::size_t byte) {
    for (int i = 0; i < 20000; ++i) {
      const auto v = static_cast<std::uint8_t>(i);
      store.SetByte(Region::mainParams, byte, v);
      if (store.Byte(Region::mainParams, byte) != v) lost.fetch_add(1);  // only this thread writes it
    }
  };
  std::thread other(owner, 1);
  owner(0);
  other.join();
  EXPECT_EQ(lost.load(), 0);
  EXPECT_EQ(store.Bits(0), 0x00001F1Fu);  // 19999 & 0xFF in bytes 0 and 1
}

TEST(StoreThreads, TextsAndGeometryAreReplacedWhole) {
  ParameterStore store;
  const std::u16string a(29, u'a');
  const std::u16string b(5, u'b');
  store.setModelName(a);
  std::array<std::uint8_t, 20> other = kDefaultLocationRecord;
  for (std::size_t i = 2; i < other.size(); ++i) other[i] = 0x14;  // every coordinate at +2.0 m
  const LocationGeometry defaults = DecodeLocation(kDefaultLocationRecord);
  const LocationGeometry moved = DecodeLocation(other);
  store.SetLocationRecord(kDefaultLocationRecord);
  const int torn = Hammer(
      [&](int round) {
        store.setModelName(round % 2 == 0 ? b : a);
        store.SetLocationRecord(round % 2 == 0 ? other : kDefaultLocationRecord);
      },
      [&] {
        const std::u16string name = store.modelName();
        const LocationGeometry g = store.geometry();
        std::array<std::uint8_t, 20> record{};
        store.ReadBytes(Region::locationSettings, 0, record);
        const bool recordWhole = record == other || record == kDefaultLocationRecord;
        return (name == a || name == b) && (g == defaults || g == moved) && recordWhole;
      });
  EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace vireo
