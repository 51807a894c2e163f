#pragma once

#include <string>

namespace fw::testing {

struct Write {
    std::string section, key, value;
};

// One place where our reader or writer and Windows' disagree.
struct Difference {
    std::string what;  // "read", or "read after write" (Windows reading both files)
    std::string content;  // the file before the write
    std::string section, key;
    std::string ours, theirs;
    Write write;
};

// The reason ours differs when the difference is a known, deliberate one
// (docs/windows.md lists them); empty text when it is not.
std::string explain(const Difference& difference);

} // namespace fw::testing
