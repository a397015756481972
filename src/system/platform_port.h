// Which family of Windows the program runs on, as the version information
// reports it.
#pragma once

namespace corvane {

class PlatformPort {
 public:
  virtual ~PlatformPort() = default;

  // The platform identifier of the version information: 0 Win32s,
  // 1 Windows 95/98/ME, 2 the Windows NT family.
  virtual int WinPlatformId() = 0;
};

}  // namespace corvane
