#pragma once

namespace fw::qt {

// A program run to write a report (fwupgrade report), per-system file.

// Makes Qt GUI's application object (fonts for the PDF) without needing a
// display: on Linux it takes the offscreen platform unless one is named;
// Windows draws into a file without a window anyway. Call before the
// application object is made.
void drawWithoutDisplay();

// A long PDF frees and takes again the same large blocks page after page;
// the C library would hand them back to the system and fault them in anew
// each time, a third of the report's time. They are kept for reuse instead
// (where the library lets a program say so).
void keepFreedMemoryForReuse();

} // namespace fw::qt
