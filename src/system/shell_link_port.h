// Shell links (".lnk" shortcut files) and the special folders they go in:
// saving an entry puts a shortcut that starts the program with the entry's
// name on the desktop, and "load at Windows startup" puts one in Startup.
#pragma once

#include <string>

#include "system/shell_port.h"

namespace corvane {

enum class ShellFolder { UserDesktop, CommonDesktop, Startup };

struct ShellLink {
  std::string target;         // the program the link starts
  std::string arguments;      // empty: none
  std::string workingFolder;  // empty: none
  std::string iconFile;       // empty: the target's own icon
  int iconIndex = 0;          // icon group in `iconFile`, counted from 0
  // A link knows only Normal, Maximized and MinimizedNoActivate; the
  // others start the program as Normal.
  ShowMode show = ShowMode::Normal;
  std::string description;
};

class ShellLinkPort {
 public:
  virtual ~ShellLinkPort() = default;

  // Writes `link` as the link file `linkPath` (full path, ".lnk" included),
  // replacing an existing one. False when the link could not be saved.
  virtual bool CreateLink(const std::string& linkPath, const ShellLink& link) = 0;

  // Deletes the link file `linkPath`. False when there was none to delete.
  virtual bool RemoveLink(const std::string& linkPath) = 0;

  // The full path of `folder`, without a trailing separator; empty when
  // this system or user has no such folder.
  virtual std::string FolderPath(ShellFolder folder) = 0;
};

}  // namespace corvane
