#pragma once

#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace fw::qt {

// One entry of a file-dialog filter: the caption shown and its patterns.
struct FilterEntry {
    std::string caption;
    std::string patterns;
};

// A classic filter text, caption and patterns alternating between "|"
// ("Txt Files (*.txt) |*.txt| (*.*) |*.*"). A caption without patterns is
// dropped.
std::vector<FilterEntry> parseFilter(std::string_view filter);

// The entries as Qt's name filters: the caption without its outer blanks,
// followed by the patterns in parentheses unless the caption already ends
// with them.
QStringList qtNameFilters(const std::vector<FilterEntry>& entries);

inline constexpr const char* kListFileFilter = "Txt Files (*.txt) |*.txt| (*.*) |*.*";

} // namespace fw::qt
