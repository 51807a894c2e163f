#include "HistoryCommand.h"

#include <limits>

#include "record/History.h"

namespace fw::cli {

int printHistory(const std::string& recordPath, std::size_t last, bool json, std::ostream& out, std::ostream& err)
{
    const History history = readHistory(recordPath, last ? last : std::numeric_limits<std::size_t>::max());
    if (!history.found) {
        err << "fwupgrade: no service record yet at " << recordPath << '\n';
        return 0;
    }
    for (const std::string& warning : history.warnings) err << "fwupgrade: warning: " << warning << '\n';
    for (const HistoryEntry& entry : history.entries) out << (json ? entry.line : historyLine(entry.entry)) << '\n';
    return 0;
}

} // namespace fw::cli
