// The real machine's backend: hidraw with its udev monitor.
#include "services/real_backend.h"

#include "device/hidraw_backend.h"

std::unique_ptr<vireo::HidBackend> MakeRealBackend() {
  return std::make_unique<vireo::HidrawBackend>();
}
