#pragma once

namespace fw::qt {

// A program that draws only into files (a report as PDF) makes Qt GUI's
// application object without needing a display: on Linux it takes the
// offscreen platform unless one is named; Windows draws without a window
// anyway (per-system file). Call before the application object is made.
void drawWithoutDisplay();

} // namespace fw::qt
