// The device layer's diagnostics: stderr when VIREO_DEBUG=1, or a hook that tests install.
#pragma once

#include <functional>
#include <string_view>

namespace vireo {

void DebugLog(std::string_view line);
// Replaces the sink (nullptr restores the default). Thread-safe.
void SetDebugLogHook(std::function<void(std::string_view)> hook);

}  // namespace vireo
