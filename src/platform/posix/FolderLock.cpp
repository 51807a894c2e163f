#include "ground/FolderLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fw {

FolderLock::FolderLock(std::string folder) : path_(std::move(folder) + "/" + kFolderLockFileName) {}

FolderLock::~FolderLock() { release(); }

FolderLock::Result FolderLock::tryLock()
{
    if (held_) return Result::Taken;
    if (handle_ < 0) {
        // Close-on-exec: the ISP tool must not carry the lock past our end.
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            failure_ = std::strerror(errno);
            return Result::Failed;
        }
        handle_ = fd;
    }
    if (::flock(static_cast<int>(handle_), LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return Result::Taken;
    }
    if (errno == EWOULDBLOCK || errno == EINTR) return Result::HeldElsewhere;
    failure_ = std::strerror(errno);
    return Result::Failed;
}

void FolderLock::release()
{
    if (handle_ < 0) return;
    ::close(static_cast<int>(handle_));  // drops the lock with the descriptor
    handle_ = -1;
    held_ = false;
}

} // namespace fw
