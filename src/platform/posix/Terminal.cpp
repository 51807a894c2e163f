#include "platform/Terminal.h"

#include <unistd.h>

namespace fw::platform {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

} // namespace fw::platform
