#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace fw::cli {

// fwupgrade history: the service record's newest entries (all when last is
// 0), newest first, one line each or each as stored; a damaged line read
// past is a warning. Returns the exit status.
int printHistory(const std::string& recordPath, std::size_t last, bool json, std::ostream& out, std::ostream& err);

} // namespace fw::cli
