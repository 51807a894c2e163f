#include "platform/posix/ThirtyTwoBitPrograms.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fw::platform {

namespace {

constexpr int kProbeExitStatus = 42;

// An ELF header (52 bytes), one loadable segment (32 bytes), then the code:
// mov eax, 1; xor ebx, ebx; mov bl, 42; int 0x80, that is exit(42).
// scripts/runs-32bit writes the same bytes.
constexpr unsigned char kProbe[] = {
    0x7f, 'E', 'L', 'F', 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x54, 0x80, 0x04, 0x08, 0x34, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x34, 0x00, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x04, 0x08,
    0x00, 0x80, 0x04, 0x08, 0x5f, 0x00, 0x00, 0x00, 0x5f, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,
    0x00, 0x10, 0x00, 0x00,
    0xb8, 0x01, 0x00, 0x00, 0x00, 0x31, 0xdb, 0xb3, 0x2a, 0xcd, 0x80,
};

std::string temporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

bool writeProbe(int fd)
{
    return ::write(fd, kProbe, sizeof kProbe) == static_cast<ssize_t>(sizeof kProbe) && ::fchmod(fd, S_IRWXU) == 0;
}

ThirtyTwoBit runProbe(std::string path)
{
    char* argv[] = {path.data(), nullptr};
    pid_t child = 0;
    // glibc's posix_spawn hands back the error of the program's start:
    // ENOEXEC is the kernel saying it does not run such programs.
    const int started = ::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ);
    if (started == ENOEXEC) return ThirtyTwoBit::DoesNotRun;
    if (started != 0) return ThirtyTwoBit::Unknown;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == kProbeExitStatus ? ThirtyTwoBit::Runs : ThirtyTwoBit::Unknown;
}

ThirtyTwoBit askTheKernel()
{
    std::string path = temporaryFolder() + "/fwupgrade-32bit-XXXXXX";
    // Close-on-exec: a child another thread starts meanwhile must not hold
    // the file open for writing, or the kernel refuses to run it.
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return ThirtyTwoBit::Unknown;
    const bool written = writeProbe(fd);
    ::close(fd);
    const ThirtyTwoBit answer = written ? runProbe(path) : ThirtyTwoBit::Unknown;
    ::unlink(path.c_str());
    return answer;
}

} // namespace

ThirtyTwoBit thisMachineRuns32BitPrograms()
{
    static const ThirtyTwoBit answer = askTheKernel();
    return answer;
}

} // namespace fw::platform
