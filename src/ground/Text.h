#pragma once

#include <string>
#include <string_view>

namespace fw {

// Texts are single-byte strings. Stripping removes the space character (32)
// at both ends and nothing else: tabs, CR and LF stay.
std::string strip(std::string_view text);

std::string toUpperAscii(std::string_view text);

// Position of the first occurrence of `needle`, ignoring ASCII letter case;
// npos when there is none.
std::size_t findNoCase(std::string_view haystack, std::string_view needle);

inline bool containsNoCase(std::string_view haystack, std::string_view needle)
{
    return findNoCase(haystack, needle) != std::string_view::npos;
}

inline bool contains(std::string_view haystack, std::string_view needle)
{
    return haystack.find(needle) != std::string_view::npos;
}

} // namespace fw
