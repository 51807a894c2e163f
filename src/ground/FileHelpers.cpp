#include "ground/FileHelpers.h"

namespace fw {

std::string GetTextBefore(std::string_view text, std::string_view separator)
{
    const auto at = text.find(separator);
    return std::string(at == std::string_view::npos ? text : text.substr(0, at));
}

// Converts one component at a time, each looked up in its already converted
// parent folder. The part up to the first separator (a drive such as C:\, or
// the root "/") is copied as written. A root alone therefore gives the text
// before its separator: "C:" for C:\, empty text for "/", which callers that
// append a separator and a name turn back into a path under the root.
std::string GetShortNameFromLongName(const std::string& strLFN)
{
    const std::string separator(1, kPathSeparator);
    const auto first = strLFN.find(kPathSeparator);
    if (first == std::string::npos) return {};
    std::string shortPrefix = strLFN.substr(0, first + 1);
    std::size_t i = first + 1;
    while (i < strLFN.size()) {
        const std::string component = GetTextBefore(std::string_view(strLFN).substr(i), separator);
        if (component.empty()) return {};
        const std::string shortName = GetShortNameOfEntry(shortPrefix + component);
        if (shortName.empty()) return {};
        shortPrefix += shortName + separator;
        i += component.size() + 1;
    }
    shortPrefix.pop_back();
    return shortPrefix;
}

} // namespace fw
