#include "ground/FolderLock.h"

#include <system_error>
#include <windows.h>

#include "ground/FilePath.h"

namespace fw {

namespace {

HANDLE asHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }

std::string lastErrorText() { return std::system_category().message(static_cast<int>(GetLastError())); }

} // namespace

FolderLock::FolderLock(std::string folder) : path_(std::move(folder) + "\\" + kFolderLockFileName) {}

FolderLock::~FolderLock() { release(); }

FolderLock::Result FolderLock::tryLock()
{
    if (held_) return Result::Taken;
    if (handle_ < 0) {
        // Not inheritable: the ISP tool must not carry the lock past our end.
        const HANDLE file = CreateFileW(filePath(path_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            failure_ = lastErrorText();
            return Result::Failed;
        }
        handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(file));
    }
    OVERLAPPED whole{};
    if (LockFileEx(asHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        held_ = true;
        return Result::Taken;
    }
    if (GetLastError() == ERROR_LOCK_VIOLATION) return Result::HeldElsewhere;
    failure_ = lastErrorText();
    return Result::Failed;
}

void FolderLock::release()
{
    if (handle_ < 0) return;
    if (held_) {
        OVERLAPPED whole{};
        UnlockFileEx(asHandle(handle_), 0, 1, 0, &whole);
    }
    CloseHandle(asHandle(handle_));
    handle_ = -1;
    held_ = false;
}

} // namespace fw
