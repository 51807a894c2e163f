#pragma once

#include <memory>
#include <string>

// What a test may make of the file system differs between Windows and POSIX;
// each platform answers in its own file (tests/support/posix, .../win32).
namespace fw::testing {

// Whether named pipes (FIFOs) can be made in an ordinary folder.
bool hasFifos();
// Makes a FIFO at the path; true when it was made.
bool makeFifo(const std::string& path);
// Whether taking every permission away makes a file unreadable to this
// process while a ReadPermissionEnforced lives (not on Windows).
bool filesCanBeMadeUnreadable();

// Takes from this thread, while it lives, what lets it read a file without
// read permission (root's capabilities on Linux), so such a file is
// unreadable here as it is to a technician.
class ReadPermissionEnforced {
public:
    ReadPermissionEnforced();
    ~ReadPermissionEnforced();
    ReadPermissionEnforced(const ReadPermissionEnforced&) = delete;
    ReadPermissionEnforced& operator=(const ReadPermissionEnforced&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};
// Whether file names may hold any byte but "/" and NUL (not on Windows,
// which refuses quotes, line breaks and a few others).
bool namesMayHoldAnyByte();
// Whether this process may make symbolic links.
bool canMakeLinks();

// Whether this test can read a PDF's text with pdftotext (poppler-utils):
// not in a Windows build under wine, which cannot wait for a Linux program
// (e2e.windows_upgrade reads that build's PDF from Linux instead).
bool pdfReaderRuns();

// Qt's offscreen platform draws text with the fonts of one folder; on
// Windows it finds none unless told where (under wine: Liberation's).
void letOffscreenDrawingFindFonts();

} // namespace fw::testing
