#include "platform/UserName.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace fw::platform {

// The account of the effective user id, which a missing or forged USER
// does not change.
std::string userName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    const char* name = std::getenv("USER");
    return name ? name : "";
}

} // namespace fw::platform
