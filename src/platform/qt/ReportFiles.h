#pragma once

#include <QString>
#include <string>

#include "report/Report.h"
#include "report/Wording.h"

namespace fw::qt {

// The report written as a file: PDF (A4, by QPdfWriter) or one HTML file
// that needs nothing beside it (no scripts, no pictures, laid out for
// print). Each returns what went wrong, or nothing.
std::string writeReportPdf(const reports::Report& report, const QString& path);
std::string writeReportHtml(const reports::Report& report, const QString& path);

// The HTML file's text.
QString reportHtml(const reports::Report& report);

// This computer's offset from UTC at an instant, as its time zone sets it.
reports::UtcOffset systemUtcOffset();

} // namespace fw::qt
