// The backend of the real machine (hidraw with its hot-plug monitor).
#pragma once

#include <memory>

#include "device/hid_backend.h"

std::unique_ptr<vireo::HidBackend> MakeRealBackend();
