// The platform-family test that chooses between the NT and the 95-family
// ways of asking the dial-up service and the system.
#pragma once

#include "system/platform_port.h"

namespace corvane {

// True on the Windows NT family: bit 1 of the platform identifier.
bool IsWinNT(PlatformPort& platform);

}  // namespace corvane
