#include "TestPlatform.h"

#include <windows.h>

namespace fw::testing {

bool hasFifos() { return false; }

bool makeFifo(const std::string&) { return false; }

// Taking the permissions away only sets the read-only attribute.
bool filesCanBeMadeUnreadable() { return false; }

struct ReadPermissionEnforced::Saved {};
ReadPermissionEnforced::ReadPermissionEnforced() = default;
ReadPermissionEnforced::~ReadPermissionEnforced() = default;

void hideFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

bool namesMayHoldAnyByte() { return false; }

// Symbolic links need a privilege that ordinary accounts lack.
bool canMakeLinks() { return false; }

} // namespace fw::testing
