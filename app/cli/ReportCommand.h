#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace fw::cli {

// What fwupgrade report is asked for: which entries of which record, and
// the file to write (PDF or HTML).
struct ReportRequest {
    std::string recordPath;
    std::size_t last = 0;  // the newest this many; with no id, 1 when 0
    std::string id;        // one entry, by its id or the id's beginning
    std::string pdf;
    std::string html;
};

// fwupgrade report: the same report as the history window's, from the same
// code, its pages in the order the operations started. A damaged line read
// past is a warning. Returns the exit status: 0 written, 1 when no entry
// matches, the record cannot be read or the file cannot be written.
int writeReport(const ReportRequest& request, std::ostream& out, std::ostream& err);

// fwupgrade report as a whole program: Qt GUI's application (fonts for the
// PDF, no display needed), the command line, the report. argv[1] is "report".
int reportMain(int argc, char* argv[]);

} // namespace fw::cli
