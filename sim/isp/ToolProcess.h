#pragma once

#include <cstdint>
#include <string>

namespace fw::sim::isp {

// How the stand-in misbehaves as a process, one whole file per system.

// Never ends, and leaves a child that never ends either, as a tool that
// started a helper would. On Windows the child is this program again, given
// kLeftBehindChild alone, and its process id is written to kLeftBehindChildFile
// in the working folder.
[[noreturn]] void hangForEver();
inline constexpr const char* kLeftBehindChild = "--left-behind-child";
inline constexpr const char* kLeftBehindChildFile = "isp-child.pid";

// The log is written lateMs after the process has ended, by a child it left
// behind; on Windows the process itself waits and writes it before ending.
void writeLogLate(const std::string& path, const std::string& text, uint32_t lateMs);

} // namespace fw::sim::isp
