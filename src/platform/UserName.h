#pragma once

#include <string>

namespace fw::platform {

// The name of the user the program runs as, as the system knows it
// (per-platform file); empty when it cannot tell.
std::string userName();

} // namespace fw::platform
