#pragma once

#include <functional>

#include "Job.h"

namespace fw::cli {

// Runs one projector's job. A fault of the program itself (an exception that
// no step expects) ends that job as failed with the fault's own message,
// rather than passing for a failed upgrade or ending the program without a
// word: on a thread of its own it would end every projector's work at once.
JobOutcome reportingInternalErrors(const std::function<JobOutcome()>& job);

} // namespace fw::cli
