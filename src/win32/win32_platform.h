// PlatformPort over the Windows version information.
#pragma once

#include "system/platform_port.h"

namespace corvane {

class Win32Platform : public PlatformPort {
 public:
  int WinPlatformId() override;
};

}  // namespace corvane
