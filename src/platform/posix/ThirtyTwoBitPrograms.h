#pragma once

namespace fw::platform {

// Whether this machine runs 32-bit x86 programs. A kernel built without
// 32-bit support, or started with ia32_emulation=0, refuses them; wine's
// 32-bit loader is one of them.
enum class ThirtyTwoBit { Runs, DoesNotRun, Unknown };

// Asked of the kernel once per process: a minimal 32-bit program is written
// to the temporary folder and started. Unknown when it cannot be asked (a
// temporary folder mounted without execution, say).
ThirtyTwoBit thisMachineRuns32BitPrograms();

} // namespace fw::platform
