// Windows' own platform draws into a file with no window shown, in a
// console as much as on a desktop.
#include "qt/HeadlessGui.h"

namespace fw::qt {

void drawWithoutDisplay() {}

} // namespace fw::qt
