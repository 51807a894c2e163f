#include "platform/DeviceAccess.h"

#include <cerrno>

namespace fw::platform {

OpenRefusal refusalForAccessError(int accessError)
{
    switch (accessError) {
    case 0: return OpenRefusal::InUse;
    case EACCES:
    case EPERM: return OpenRefusal::PermissionDenied;
    default: return OpenRefusal::InUseOrPermissionDenied;
    }
}

} // namespace fw::platform
