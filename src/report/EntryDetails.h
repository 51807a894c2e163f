#pragma once

#include <string>
#include <vector>

#include "record/RecordEntry.h"
#include "report/Report.h"
#include "report/Wording.h"

namespace fw::reports {

// Everything an entry holds, for a technician looking into one operation:
// its outcome and the message shown, the projector and the model's reply
// as received, each image with its size, byte sum and SHA-256, every phase
// with its times and outcome, the ISP tool's runs, who and where.
struct DetailSection {
    std::string title;
    std::vector<Fact> facts;
};

std::vector<DetailSection> detailsOf(const RecordEntry& entry, const UtcOffset& localOffset);

// The reply with its line ends and other control characters written out
// ("\r", "\n", "\x07"), so an echo or a prompt shows where it stands.
std::string visibleControls(const std::string& text);

} // namespace fw::reports
