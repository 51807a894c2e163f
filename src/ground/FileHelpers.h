#pragma once

#include <string>
#include <string_view>

namespace fw {

// The separator of folders in a path on this system.
extern const char kPathSeparator;

// The part of `text` before the first `separator`, or all of it.
std::string GetTextBefore(std::string_view text, std::string_view separator);

// The short (8.3) name of one existing entry, its own name when it has none,
// empty text when nothing matches.
std::string GetShortNameOfEntry(const std::string& path);

// The path with every component after the first separator replaced by its
// short name; empty text when the path has no separator, a component is
// empty or missing. Where the file system keeps no short names (Linux,
// macOS) it checks each component and gives the path back. A root alone
// gives the text before its separator: "C:" for C:\, empty text for "/".
std::string GetShortNameFromLongName(const std::string& strLFN);

} // namespace fw
