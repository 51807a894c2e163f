#pragma once

#include <string>

#include "VirtualEventLoop.h"

namespace fw::sim {

// Bytes a simulated device sends, and when they leave it.
struct Emission {
    Micros at;
    std::string bytes;
};

} // namespace fw::sim
