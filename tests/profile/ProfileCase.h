#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace fw::testing {

// One generated settings file and what is asked of it: every section and key
// of the name pools is read, then one key is written.
struct ProfileCase {
    std::string content;
    std::vector<std::string> sections;  // names read, in their canonical spelling
    std::vector<std::string> keys;
    std::string writeSection;
    std::string writeKey;
    std::string writeValue;
};

// The case for a seed: the same seed gives the same case on every run.
ProfileCase generateProfileCase(std::uint32_t seed);

} // namespace fw::testing
