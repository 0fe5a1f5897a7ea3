// Tokens and the failure limiter of the remote.
#include "remote/access_guard.h"

#include <sys/random.h>

#include <array>
#include <cerrno>

namespace vireo::remote {

std::string NewToken() {
  std::array<unsigned char, kTokenHexDigits / 2> bytes{};
  std::size_t have = 0;
  while (have < bytes.size()) {
    const ssize_t got = getrandom(bytes.data() + have, bytes.size() - have, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return {};
    have += static_cast<std::size_t>(got);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char b : bytes) {
    token += kHex[b >> 4];
    token += kHex[b & 15];
  }
  return token;
}

bool IsWellFormedToken(std::string_view token) {
  if (token.size() != kTokenHexDigits) return false;
  for (char c : token) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

bool TokensEqual(std::string_view presented, std::string_view expected) {
  if (expected.empty()) return false;
  // Every byte of the presented token is looked at, whatever the lengths, and no branch depends on
  // the bytes.
  unsigned difference = presented.size() == expected.size() ? 0u : 1u;
  for (std::size_t i = 0; i < presented.size(); ++i) {
    const char wanted = expected[i % expected.size()];
    difference |= static_cast<unsigned char>(presented[i] ^ wanted);
  }
  volatile unsigned result = difference;
  return result == 0;
}

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string PresentedToken(std::string_view authorization, std::string_view cookie) {
  authorization = Trim(authorization);
  constexpr std::string_view kBearer = "Bearer ";
  if (authorization.size() > kBearer.size() && authorization.substr(0, kBearer.size()) == kBearer)
    return std::string(Trim(authorization.substr(kBearer.size())));
  while (!cookie.empty()) {
    const auto end = cookie.find(';');
    std::string_view pair = Trim(cookie.substr(0, end));
    constexpr std::string_view kName = "vireo_token=";
    if (pair.substr(0, kName.size()) == kName) return std::string(pair.substr(kName.size()));
    if (end == std::string_view::npos) break;
    cookie.remove_prefix(end + 1);
  }
  return {};
}

bool FailureLimiter::Blocked(const std::string& address, Clock::time_point now) {
  std::lock_guard guard(lock_);
  const auto it = records_.find(address);
  if (it == records_.end() || !it->second.blockedUntil) return false;
  if (now < *it->second.blockedUntil) return true;
  records_.erase(it);
  return false;
}

void FailureLimiter::Failed(const std::string& address, Clock::time_point now) {
  std::lock_guard guard(lock_);
  Forget(now);
  Record& r = records_[address];
  if (r.failures == 0 || now - r.windowStart > limits_.window) {
    r.failures = 0;
    r.windowStart = now;
  }
  if (++r.failures >= limits_.maxFailures) r.blockedUntil = now + limits_.blockFor;
}

void FailureLimiter::Forget(Clock::time_point now) {
  // Addresses never grow the table without bound: stale records go whenever a new failure comes.
  for (auto it = records_.begin(); it != records_.end();) {
    const Record& r = it->second;
    const bool stale = r.blockedUntil ? now >= *r.blockedUntil : now - r.windowStart > limits_.window;
    it = stale ? records_.erase(it) : std::next(it);
  }
}

}  // namespace vireo::remote
