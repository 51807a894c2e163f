#pragma once

#include <initializer_list>
#include <string>

namespace fw::testing {

// Bytes given by their values, as the wire carries them.
inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values) out += static_cast<char>(v);
    return out;
}

} // namespace fw::testing
