// The platform-family test.
#include "settings/win_platform.h"

namespace corvane {

bool IsWinNT(PlatformPort& platform) {
  return (platform.WinPlatformId() & 2) != 0;
}

}  // namespace corvane
