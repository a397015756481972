// The shortcut files of an entry: the desktop shortcut that dials it, the
// Startup shortcut that dials it when Windows starts, and removing them all.
#pragma once

#include <cstdint>
#include <string>

#include "system/shell_link_port.h"

namespace corvane {

// The folder of a program file, without its trailing "\"; empty for a bare
// file name.
std::string FolderOf(const std::string& file);

// Puts the shortcut that starts `programFile` with "/" + `name` on the
// desktop: on the all-users desktop as the upper-case name when that
// folder takes it, otherwise on the user's desktop as typed; an older copy
// on either desktop goes first. `icon` is the entry's icon resource (0:
// the program's own icon). False when no desktop took it.
bool CreateDesktopShortcut(ShellLinkPort& links, const std::string& name, uint8_t icon,
                           const std::string& programFile);

// Creates the Startup folder's "CRV - " + name shortcut, which starts the
// program with "/" + name. False when it could not be made.
bool CreateStartupShortcut(ShellLinkPort& links, const std::string& name, const std::string& programFile);

// Removes the Startup folder's "CRV - " + name shortcut, when there is one.
void RemoveStartupShortcut(ShellLinkPort& links, const std::string& name);

// Removes every shortcut the entry may have: the Startup one, the desktop
// copies as `typedName` and `name` on both desktops, and the copy older
// versions left in the program folder. Only these files, nothing else.
void RemoveEntryShortcuts(ShellLinkPort& links, const std::string& typedName, const std::string& name,
                          const std::string& programFile);

}  // namespace corvane
