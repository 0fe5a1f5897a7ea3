// The remote's access rules: random tokens, their constant-time check, and the addresses that keep
// presenting wrong ones, which are turned away for a while.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace vireo::remote {

inline constexpr int kTokenHexDigits = 32;  // 128 bits

// A new token from the kernel's random source (getrandom), as 32 lower-case hex digits; empty when the
// source failed, which never yields a guessable token.
std::string NewToken();
// 32 hex digits.
bool IsWellFormedToken(std::string_view token);
// Compares in time that depends only on the lengths, so a wrong token's time says nothing of the right one.
bool TokensEqual(std::string_view presented, std::string_view expected);

// The token a request presents: "Authorization: Bearer T" first, else the cookie vireo_token=T; empty
// when neither is there.
std::string PresentedToken(std::string_view authorization, std::string_view cookie);

struct RateLimits {
  int maxFailures = 10;                             // wrong tokens within `window` ...
  std::chrono::milliseconds window{60'000};         // ...
  std::chrono::milliseconds blockFor{60'000};       // ... turn the address away this long
};

// Counts wrong tokens per address. Thread-safe.
class FailureLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  explicit FailureLimiter(RateLimits limits = {}) : limits_(limits) {}

  // True while `address` is turned away.
  bool Blocked(const std::string& address, Clock::time_point now);
  // A wrong or missing token from `address`.
  void Failed(const std::string& address, Clock::time_point now);

 private:
  struct Record {
    int failures = 0;
    Clock::time_point windowStart{};
    std::optional<Clock::time_point> blockedUntil;
  };
  void Forget(Clock::time_point now);

  RateLimits limits_;
  std::mutex lock_;
  std::map<std::string, Record> records_;
};

}  // namespace vireo::remote
