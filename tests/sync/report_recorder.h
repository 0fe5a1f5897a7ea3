// A pause that keeps what it was asked, and report readers, for the sequence tests.
#pragma once

#include <vector>

#include "../common/recording_sender.h"
#include "device/sync.h"
#include "model/report.h"

namespace vireo::test {

struct PauseRecorder {
  std::vector<int> pauses;
  SyncPause Fn() {
    return [this](int ms) {
      pauses.push_back(ms);
      return true;
    };
  }
};

inline std::uint32_t ValueAt(const Report& r, int i) {
  return GetBigEndian32(&r[static_cast<std::size_t>(6 + 4 * i)]);
}

// True when `r` is a parameter write to (module, param) with `count` values, the first `first`.
inline bool IsWrite(const Report& r, int module, int param, int count, std::uint32_t first) {
  return r[1] == 9 && r[3] == module && r[4] == param && r[5] == count && ValueAt(r, 0) == first;
}

}  // namespace vireo::test
