#include "transfer/KeywordWait.h"

#include <string>

#include "ground/EventLoop.h"
#include "ground/Text.h"

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
const std::string& received(const Link& link) { return link.received; }
std::string receivedStripped(const Link& link) { return strip(link.received); }

void pause(Link& link) { delay(link.loop, kPollIntervalMs); }

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
bool waitForConfirmation(Link& link)
{
    for (int poll = 1; poll <= kConfirmationPolls; ++poll) {
        if (firstOccurrenceReads(received(link), kConfirmation, {kConfirmation})) return true;
        pause(link);
    }
    return false;
}

// Examine, then wait, except after the last poll.
bool waitForLengthPrompt(Link& link)
{
    for (int poll = 1;; ++poll) {
        if (firstOccurrenceReads(receivedStripped(link), kLengthPrompt, {kLengthPrompt})) return true;
        if (poll == kLengthPromptPolls) return false;
        pause(link);
    }
}

// Wait, examine, wait again, except after the last poll. The loader needs a
// moment after the length before it asks for the data.
bool waitForDataRequest(Link& link)
{
    for (int poll = 1;; ++poll) {
        pause(link);
        if (firstOccurrenceReads(receivedStripped(link), kDataRequest, {kDataRequest, kDataRequestCapitalised}))
            return true;
        if (poll == kDataRequestPolls) return false;
        pause(link);
    }
}

// Each poll judges the text as it stood before its wait.
Verdict waitForVerdict(Link& link)
{
    for (int poll = 1;; ++poll) {
        const std::string seen = receivedStripped(link);
        pause(link);
        if (firstOccurrenceReads(seen, kVerdict, {kVerdict})) return Verdict::Success;
        if (poll == kVerdictPolls) return containsNoCase(seen, kVerdict) ? Verdict::Undecided : Verdict::Failure;
    }
}

// Examine, then wait; any letter case counts.
bool waitForRestart(Link& link)
{
    for (int poll = 1; poll <= kRestartPolls; ++poll) {
        if (containsNoCase(received(link), kRestart)) return true;
        pause(link);
    }
    return false;
}

} // namespace fw
