#pragma once

namespace fw {

struct Tool;

// "ky nop" out, "NOP" expected in the reply. Reports only failures.
bool TestLink(Tool& tool);

// The "Projector communication test" button.
void cmdTest_Click(Tool& tool);

} // namespace fw
