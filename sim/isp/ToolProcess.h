#pragma once

#include <cstdint>
#include <string>

namespace fw::sim::isp {

// How the stand-in misbehaves as a process, one whole file per system.

// Never ends; on POSIX it leaves a child that never ends either, as a tool
// that started a helper would.
[[noreturn]] void hangForEver();

// The log is written lateMs after the process has ended, by a child it left
// behind; on Windows the process itself waits and writes it before ending.
void writeLogLate(const std::string& path, const std::string& text, uint32_t lateMs);

} // namespace fw::sim::isp
