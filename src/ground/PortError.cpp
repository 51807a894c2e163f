#include "ground/PortError.h"

#include <string>
#include <utility>

namespace fw {

PortError::PortError(int code) : std::runtime_error("serial port error " + std::to_string(code)), code_(code) {}

PortError::PortError(int code, OpenRefusal refusal, std::string device, std::string holder, std::string group)
    : PortError(code)
{
    refusal_ = refusal;
    device_ = std::move(device);
    holder_ = std::move(holder);
    group_ = std::move(group);
}

} // namespace fw
