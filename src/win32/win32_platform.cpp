// The platform identifier from GetVersionExA. Compatibility shims may lie
// about the version numbers, but never about the platform family.
#include "win32/win32_platform.h"

#include <windows.h>

namespace corvane {

int Win32Platform::WinPlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  // Every system this program builds for is of the NT family.
  return ok ? static_cast<int>(info.dwPlatformId) : VER_PLATFORM_WIN32_NT;
}

}  // namespace corvane
