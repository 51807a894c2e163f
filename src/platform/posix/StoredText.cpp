// Linux and macOS keep names as bytes: stored text is the program's own.
#include "ground/FilePath.h"

namespace fw {

std::string fromStoredText(std::string_view stored) { return std::string(stored); }

std::string toStoredText(std::string_view text) { return std::string(text); }

} // namespace fw
