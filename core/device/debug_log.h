// The device layer's diagnostics: stderr when VIREO_DEBUG=1, or a hook that tests install.
#pragma once

#include <functional>
#include <string_view>

namespace vireo {

// Writes one diagnostic line as given (lines carry their own "\n" where they have one). Thread-safe.
void DebugLog(std::string_view line);
// Replaces the sink (nullptr restores the default). Thread-safe; the hook may be called from any thread
// and may itself call DebugLog.
void SetDebugLogHook(std::function<void(std::string_view)> hook);

}  // namespace vireo
