#pragma once

#include <string>

#include "window/View.h"

class QWidget;

namespace fw::qt {

// A modal box titled "Firmware Upgrade Tool": the critical and information
// icons with OK (styles 16 and 64), the question icon with Yes and No and No
// the default (292). Events keep running while it is open. Closing a
// question by its title bar or Escape answers No.
fw::Answer showMessageBox(QWidget* parent, const std::string& text, fw::MessageStyle style);

} // namespace fw::qt
