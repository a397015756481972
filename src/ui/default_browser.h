// Which program the system opens web pages with, found by asking the shell
// about an empty page made for the purpose in the temporary folder.
#pragma once

#include <cstdint>
#include <string>

#include "system/shell_port.h"

namespace corvane {

// Full path of the program that opens ".html" files, or empty text when
// none is associated (or there is no temporary folder to ask about).
std::string DefaultBrowserPath(ShellPort& shell);

}  // namespace corvane
