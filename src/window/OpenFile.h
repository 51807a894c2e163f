#pragma once

namespace fw {

struct Tool;

// The "Open File" button: pick a list file, remember it, check it, and match
// it against the projector's model.
void cmdOpenFile1_Click(Tool& tool);

} // namespace fw
