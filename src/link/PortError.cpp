#include "link/PortError.h"

#include <string>

namespace fw {

PortError::PortError(int code) : std::runtime_error("serial port error " + std::to_string(code)), code_(code) {}

} // namespace fw
