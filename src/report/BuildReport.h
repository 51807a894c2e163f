#pragma once

#include <vector>

#include "record/RecordEntry.h"
#include "report/Report.h"
#include "report/Wording.h"

namespace fw::reports {

// The report on these entries, a page each in the order given, with a
// first page's table and counts when there are several.
Report buildReport(const std::vector<RecordEntry>& entries, const UtcOffset& localOffset);

// One entry's page.
ProjectorPage pageOf(const RecordEntry& entry, const UtcOffset& localOffset);

// How the entry ended, as the report and the history window name it.
Verdict verdictOf(const RecordEntry& entry);

} // namespace fw::reports
