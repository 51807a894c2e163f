#include "transfer/KeywordWait.h"

#include <string>

#include "link/EventLoop.h"
#include "shell/Text.h"
#include "shell/Tool.h"

namespace fw {

namespace {

constexpr int32_t kPollIntervalMs = 500;

constexpr int kConfirmationPolls = 61;
constexpr int kLengthPromptPolls = 21;
constexpr int kDataRequestPolls = 61;
constexpr int kVerdictPolls = 8;
constexpr int kRestartPolls = 61;

constexpr std::string_view kConfirmation = "'y'";
constexpr std::string_view kLengthPrompt = "40000H";
constexpr std::string_view kDataRequest = "file";
constexpr std::string_view kDataRequestCapitalised = "File";
constexpr std::string_view kVerdict = "Right!";
constexpr std::string_view kRestart = "BOOT";

// The buffer as it stands, or stripped of blanks at its two ends.
const std::string& received(const Tool& tool) { return tool.state.receiveBuffer; }
std::string receivedStripped(const Tool& tool) { return strip(tool.state.receiveBuffer); }

void pause(Tool& tool) { delay(tool.loop, kPollIntervalMs); }

} // namespace

bool firstOccurrenceReads(std::string_view text, std::string_view keyword,
                          std::initializer_list<std::string_view> accepted)
{
    const std::size_t at = findNoCase(text, keyword);
    if (at == std::string_view::npos) return false;
    const std::string_view found = text.substr(at, keyword.size());
    for (std::string_view form : accepted)
        if (found == form) return true;
    return false;
}

// Examine, then wait; a miss in the last poll still waits before giving up.
bool waitForConfirmation(Tool& tool)
{
    for (int poll = 1; poll <= kConfirmationPolls; ++poll) {
        if (firstOccurrenceReads(received(tool), kConfirmation, {kConfirmation})) return true;
        pause(tool);
    }
    return false;
}

// Examine, then wait, except after the last poll.
bool waitForLengthPrompt(Tool& tool)
{
    for (int poll = 1;; ++poll) {
        if (firstOccurrenceReads(receivedStripped(tool), kLengthPrompt, {kLengthPrompt})) return true;
        if (poll == kLengthPromptPolls) return false;
        pause(tool);
    }
}

// Wait, examine, wait again, except after the last poll. The loader needs a
// moment after the length before it asks for the data.
bool waitForDataRequest(Tool& tool)
{
    for (int poll = 1;; ++poll) {
        pause(tool);
        if (firstOccurrenceReads(receivedStripped(tool), kDataRequest, {kDataRequest, kDataRequestCapitalised}))
            return true;
        if (poll == kDataRequestPolls) return false;
        pause(tool);
    }
}

// Each poll judges the text as it stood before its wait.
Verdict waitForVerdict(Tool& tool)
{
    for (int poll = 1;; ++poll) {
        const std::string seen = receivedStripped(tool);
        pause(tool);
        if (firstOccurrenceReads(seen, kVerdict, {kVerdict})) return Verdict::Success;
        if (poll == kVerdictPolls) return containsNoCase(seen, kVerdict) ? Verdict::Undecided : Verdict::Failure;
    }
}

// Examine, then wait; any letter case counts.
bool waitForRestart(Tool& tool)
{
    for (int poll = 1; poll <= kRestartPolls; ++poll) {
        if (containsNoCase(received(tool), kRestart)) return true;
        pause(tool);
    }
    return false;
}

} // namespace fw
