#pragma once

#include <string>

namespace fw {

// An advisory lock on a folder shared with other copies of the program: a
// lock file in it, held with flock on POSIX and LockFileEx on Windows. Two
// FolderLocks on one folder exclude each other within one process too. The
// lock goes with the object, or with the process, whichever ends first; a
// started program never inherits it.
class FolderLock {
public:
    enum class Result { Taken, HeldElsewhere, Failed };

    explicit FolderLock(std::string folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock when it is free; never waits.
    Result tryLock();
    // Why the lock file could not be used, after Failed.
    const std::string& failure() const { return failure_; }

private:
    void release();

    std::string path_;
    std::string failure_;
    long long handle_ = -1;  // a file descriptor, or a Windows HANDLE's value
    bool held_ = false;
};

inline constexpr const char* kFolderLockFileName = "isp.lock";

} // namespace fw
