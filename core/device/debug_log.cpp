// Diagnostics sink of the device layer.
#include "device/debug_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace vireo {
namespace {

using Hook = std::function<void(std::string_view)>;

std::mutex& HookLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const Hook>& CurrentHook() {
  static std::shared_ptr<const Hook> hook;
  return hook;
}

bool StderrEnabled() {
  static const bool enabled = [] {
    const char* value = std::getenv("VIREO_DEBUG");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return enabled;
}

}  // namespace

void DebugLog(std::string_view line) {
  std::shared_ptr<const Hook> hook;
  {
    std::lock_guard guard(HookLock());
    hook = CurrentHook();
  }
  // Called outside the lock so a hook may log in turn.
  if (hook) {
    (*hook)(line);
    return;
  }
  if (StderrEnabled()) {
    std::string text(line);
    if (text.empty() || text.back() != '\n') text.push_back('\n');
    std::fputs(text.c_str(), stderr);
  }
}

void SetDebugLogHook(std::function<void(std::string_view)> hook) {
  auto next = hook ? std::make_shared<const Hook>(std::move(hook)) : nullptr;
  std::lock_guard guard(HookLock());
  CurrentHook() = std::move(next);
}

}  // namespace vireo
