#include "platform/DeviceAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace fw::platform {

int deviceAccessError(const std::string& device)
{
    // The effective user is the one whose open was refused; checking the
    // mode bits touches neither the line nor its modem-control signals,
    // which a second open of a serial device would.
    if (::faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) == 0) return 0;
    return errno;
}

namespace {

namespace fs = std::filesystem;

constexpr const char* kProcesses = "/proc";

std::string processName(const fs::path& process)
{
    std::ifstream comm(process / "comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

bool holds(const fs::path& process, const fs::path& device)
{
    std::error_code ec;
    for (fs::directory_iterator fd(process / "fd", ec), end; !ec && fd != end; fd.increment(ec)) {
        std::error_code readError;
        if (fs::read_symlink(fd->path(), readError) == device) return true;
    }
    return false;
}

} // namespace

std::string deviceHolder(const std::string& device)
{
    std::error_code ec;
    const fs::path resolved = fs::canonical(device, ec);
    if (ec) return {};
    const std::string self = std::to_string(::getpid());
    std::map<long, std::string> holders;  // by process number, so the list reads the same every time
    for (fs::directory_iterator entry(kProcesses, ec), end; !ec && entry != end; entry.increment(ec)) {
        const std::string pid = entry->path().filename().string();
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (holds(entry->path(), resolved))
            holders[std::stol(pid)] = processName(entry->path()) + " (process " + pid + ")";
    }
    std::string named;
    for (const auto& [pid, holder] : holders) named += (named.empty() ? "" : ", ") + holder;
    return named;
}

std::string deviceGroup(const std::string& device)
{
    struct stat status{};
    // The root group is no group to tell a user to join.
    if (::stat(device.c_str(), &status) != 0 || status.st_gid == 0) return {};
    const group* owner = ::getgrgid(status.st_gid);
    return owner ? owner->gr_name : std::string();
}

} // namespace fw::platform
