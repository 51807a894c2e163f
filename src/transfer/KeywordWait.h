#pragma once

#include <initializer_list>
#include <string_view>

namespace fw {

struct Tool;

// The loader answers in free text; the host never parses it. Each wait polls
// the receive buffer for one fixed keyword, a fixed number of times, and
// looks only at the keyword's first occurrence (found ignoring letter case):
// the characters there must be written exactly as the loader is known to
// write them, so "RIGHT!" before a later "Right!" is no match.
bool firstOccurrenceReads(std::string_view text, std::string_view keyword,
                          std::initializer_list<std::string_view> accepted);

// The loader's yes/no question: 'y' between apostrophes, lower case.
bool waitForConfirmation(Tool& tool);
// The length prompt "40000H".
bool waitForLengthPrompt(Tool& tool);
// The data request: "file" or "File".
bool waitForDataRequest(Tool& tool);

enum class Verdict {
    Success,    // "Right!"
    Failure,    // no verdict in any letter case
    Undecided,  // only another letter case (for example "RIGHT!")
};
Verdict waitForVerdict(Tool& tool);

// The restart banner "BOOT", any letter case.
bool waitForRestart(Tool& tool);

} // namespace fw
