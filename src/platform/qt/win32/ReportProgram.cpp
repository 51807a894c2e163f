// Windows' own platform draws into a file with no window shown, in a
// console as much as on a desktop; its heap keeps freed blocks by itself.
#include "qt/ReportProgram.h"

namespace fw::qt {

void drawWithoutDisplay() {}

void keepFreedMemoryForReuse() {}

} // namespace fw::qt
