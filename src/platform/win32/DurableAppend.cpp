// Appending a line durably on Windows: a handle that may only append, one
// WriteFile, FlushFileBuffers, under a lock that every copy of the program
// takes.
#include "ground/DurableAppend.h"

#include <windows.h>

#include <system_error>

#include "ground/FilePath.h"

namespace fw {

namespace {

// A byte far beyond any record's end: locking it is a mutex between the
// writers that leaves every real byte free to be read.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::string lastErrorText() { return std::system_category().message(static_cast<int>(GetLastError())); }

// A line end when the file's last byte is not one: its last line was cut.
std::string lineEndOwed(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart == 0) return {};
    OVERLAPPED at{};
    const auto offset = static_cast<ULONGLONG>(size.QuadPart - 1);
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    char last = '\n';
    DWORD read = 0;
    if (!ReadFile(file, &last, 1, &read, &at) || read != 1) return {};
    return last == '\n' ? std::string() : std::string("\n");
}

} // namespace

std::optional<std::string> appendLineDurably(const std::string& path, std::string_view line)
{
    // Without FILE_WRITE_DATA every write goes to the end of the file, as
    // O_APPEND does, whoever else appends meanwhile.
    const HANDLE file = CreateFileW(filePath(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastErrorText();
    // Without the lock another writer's line, half on the disk, would look
    // like a line cut by a crash and get a line end: an empty line after it.
    OVERLAPPED lockAt{};
    lockAt.OffsetHigh = kLockOffsetHigh;
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockAt) != 0;
    std::string data = lineEndOwed(file);
    data.append(line);
    data += '\n';
    std::optional<std::string> failure;
    DWORD written = 0;
    if (!WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) || written != data.size() ||
        !FlushFileBuffers(file))
        failure = lastErrorText();
    if (locked) UnlockFileEx(file, 0, 1, 0, &lockAt);
    CloseHandle(file);
    return failure;
}

} // namespace fw
