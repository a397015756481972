// ShellLinkPort over IShellLinkA and IPersistFile, and the shell's
// known-folder call for the desktops and the Startup folder.
#pragma once

#include "system/shell_link_port.h"

namespace corvane {

class Win32ShellLinks : public ShellLinkPort {
 public:
  bool CreateLink(const std::string& linkPath, const ShellLink& link) override;
  bool RemoveLink(const std::string& linkPath) override;
  std::string FolderPath(ShellFolder folder) override;
};

}  // namespace corvane
