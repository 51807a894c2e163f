#include "TestPlatform.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace fw::testing {

bool hasFifos() { return true; }

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

bool filesCanBeMadeUnreadable() { return true; }

struct ReadPermissionEnforced::Saved {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
};

ReadPermissionEnforced::ReadPermissionEnforced() : saved_(std::make_unique<Saved>())
{
    if (syscall(SYS_capget, &saved_->header, saved_->data) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_->data[0], saved_->data[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    syscall(SYS_capset, &saved_->header, lowered);
}

ReadPermissionEnforced::~ReadPermissionEnforced() { syscall(SYS_capset, &saved_->header, saved_->data); }

bool namesMayHoldAnyByte() { return true; }

bool canMakeLinks() { return true; }

bool pdfReaderRuns() { return true; }

// fontconfig finds the system's fonts by itself.
void letOffscreenDrawingFindFonts() {}

} // namespace fw::testing
