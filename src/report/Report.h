#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw::reports {

// What a report shows, worked out from the service record's entries and
// nothing else, ready to be written as a page (PDF) or a file (HTML) by
// whatever draws it. A fact the entry lacks is left out, never filled in.

enum class Verdict { Succeeded, Failed, Declined, Unfinished };

struct Fact {
    std::string label;
    std::string value;
};

struct ImageLine {
    std::string role;     // "uP image"
    std::string name;     // as the list file writes it
    std::string path;
    std::string size;     // decimal; empty when unknown
    std::string byteSum;  // upper-case hexadecimal, as the list file's checksum ends
    std::string sha256;
};

// One phase on the timeline. Where it starts and how long it took are
// shares of the timeline's span, so a drawing of any width keeps the
// phases' order and proportions.
struct TimelineBar {
    std::string name;     // "Link test", "ISP tool run 1"
    std::string outcome;  // "ok", "no answer"
    bool failed = false;  // ended otherwise than well, or never ended
    double start = 0;     // 0 to 1
    double length = 0;    // 0 to 1 - start
    int64_t startMs = 0;  // from the operation's start
    int64_t lengthMs = 0;
};

struct TimelineTick {
    double at = 0;  // 0 to 1
    std::string label;  // "0 s", "30 s", "2 min"
};

struct Timeline {
    int64_t spanMs = 0;  // from the operation's start to its end (or its last phase)
    std::vector<TimelineBar> bars;  // in the order the phases began
    std::vector<TimelineTick> ticks;
};

// One projector's operation.
struct ProjectorPage {
    std::string heading;  // "Firmware upgrade"
    std::string subject;  // "QT-2416 on COM3", the label first where there is one
    Verdict verdict = Verdict::Unfinished;
    std::string outcome;      // in large type: "Download complete", or the message in full
    std::string outcomeNote;  // below it: the rest of the message, or what the outcome means
    std::vector<Fact> projector;  // model, port, adapter, label, venue
    std::string listFile;
    std::vector<ImageLine> images;
    Timeline timeline;
    std::vector<Fact> ispRuns;  // "Run 1": "exit code 0, log: Command: 0503 0000 fafd"
    std::vector<Fact> service;  // technician, computer, program, record id, times
};

// A line of the first page's table.
struct SummaryRow {
    std::string when;  // local time
    std::string projector;
    std::string model;
    std::string package;
    std::string outcome;
    Verdict verdict = Verdict::Unfinished;
};

struct Report {
    std::string title;
    std::vector<SummaryRow> summary;  // when there are several pages
    std::string counts;               // "4 operations: 3 succeeded, 1 failed"
    std::vector<ProjectorPage> pages;  // in the order the entries were given

    bool hasSummary() const { return pages.size() > 1; }
};

} // namespace fw::reports
