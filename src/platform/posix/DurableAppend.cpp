// Appending a line durably on POSIX: O_APPEND, one write, fsync, under an
// advisory lock that every copy of the program takes.
#include "ground/DurableAppend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "ground/FilePath.h"

namespace fw {

namespace {

std::string errorText(int error) { return std::generic_category().message(error); }

// A line end when the file's last byte is not one: its last line was cut.
std::string lineEndOwed(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size == 0) return {};
    char last = '\n';
    if (::pread(fd, &last, 1, status.st_size - 1) != 1) return {};
    return last == '\n' ? std::string() : std::string("\n");
}

bool writeAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::optional<std::string> appendLineDurably(const std::string& path, std::string_view line)
{
    const int fd = ::open(filePath(path).c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return errorText(errno);
    // Without the lock another writer's long line, half on the disk, would
    // look like a line cut by a crash and get a line end in its middle's
    // stead: an empty line after it. The lock goes with the descriptor.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    std::string data = lineEndOwed(fd);
    data.append(line);
    data += '\n';
    std::optional<std::string> failure;
    if (!writeAll(fd, data) || ::fsync(fd) != 0) failure = errorText(errno);
    if (::close(fd) != 0 && !failure) failure = errorText(errno);
    return failure;
}

} // namespace fw
