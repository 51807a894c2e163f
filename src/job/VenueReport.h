#pragma once

#include <string>
#include <vector>

#include "job/ProjectorJob.h"

namespace fw {

// A projector as the messages about several name it: "Left stack (COM11)",
// or "COM11" without a label.
std::string projectorName(const std::string& label, int port);

// The upgrade's question, asked once for several projectors before any of
// them starts: how many and which, then the question itself.
std::string venueQuestion(const std::vector<std::string>& names);

// One projector's end, as the summary counts it.
struct RowEnd {
    std::string name;
    bool started = true;
    JobOutcome outcome;
};

// What the technician is told once every projector has ended: how many
// succeeded, then each that failed with its own message, then those never
// started. An upgrade counts upgraded projectors, a check those that
// answered as they should.
std::string venueSummary(JobKind kind, const std::vector<RowEnd>& rows);

// Why a row was never started: the first row, which had to succeed first,
// did not.
std::string notStartedMessage(JobKind kind, const std::string& firstName);

} // namespace fw
