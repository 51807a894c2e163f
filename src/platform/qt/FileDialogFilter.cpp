#include "qt/FileDialogFilter.h"

#include "ground/Text.h"

namespace fw::qt {

std::vector<FilterEntry> parseFilter(std::string_view filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find('|', start);
        parts.emplace_back(filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FilterEntry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

QStringList qtNameFilters(const std::vector<FilterEntry>& entries)
{
    QStringList filters;
    for (const FilterEntry& e : entries) {
        const std::string caption = fw::strip(e.caption);
        const std::string patterns = fw::strip(e.patterns);
        const std::string tail = "(" + patterns + ")";
        const bool endsWithPatterns =
            caption.size() >= tail.size() && caption.compare(caption.size() - tail.size(), tail.size(), tail) == 0;
        std::string filter = caption;
        if (!endsWithPatterns) filter += (caption.empty() ? "" : " ") + tail;
        filters << QString::fromStdString(filter);
    }
    return filters;
}

} // namespace fw::qt
