#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Appends one line (the line end is added) to a file that other copies of
// the program may be appending to at the same time: the file is opened for
// appending, the line goes out in one write and is on the disk before this
// returns (fsync on POSIX, FlushFileBuffers on Windows). A file whose last
// line was cut short, by a crash while it was written, gets a line end
// first, so the new line stands whole; nothing already in the file is
// changed. The file is made when it does not exist. Returns why the line
// could not be written, or nothing when it was.
std::optional<std::string> appendLineDurably(const std::string& path, std::string_view line);

} // namespace fw
