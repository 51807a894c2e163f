#pragma once

#include <initializer_list>
#include <string_view>

#include "link/Link.h"

namespace fw {


// The loader answers in free text; the host never parses it. Each wait polls
// what the link has received for one fixed keyword, a fixed number of times, and
// looks only at the keyword's first occurrence (found ignoring letter case):
// the characters there must be written exactly as the loader is known to
// write them, so "RIGHT!" before a later "Right!" is no match.
bool firstOccurrenceReads(std::string_view text, std::string_view keyword,
                          std::initializer_list<std::string_view> accepted);

// The loader's yes/no question: 'y' between apostrophes, lower case.
bool waitForConfirmation(Link& link);
// The length prompt "40000H".
bool waitForLengthPrompt(Link& link);
// The data request: "file" or "File".
bool waitForDataRequest(Link& link);

enum class Verdict {
    Success,    // "Right!"
    Failure,    // no verdict in any letter case
    Undecided,  // only another letter case (for example "RIGHT!")
};
Verdict waitForVerdict(Link& link);

// The restart banner "BOOT", any letter case.
bool waitForRestart(Link& link);

} // namespace fw
