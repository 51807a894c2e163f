#include "TestPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

namespace fw::test {

bool hasFifos() { return true; }

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

bool filesCanBeMadeUnreadable() { return geteuid() != 0; }

void hideFile(const std::string&) {}

bool namesMayHoldAnyByte() { return true; }

bool canMakeLinks() { return true; }

} // namespace fw::test
