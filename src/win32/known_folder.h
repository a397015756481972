// The system's known folders (desktop, start-up, local application data) as
// paths the program, which speaks ANSI, can open.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace corvane {

// The folder's path in the ANSI code page, or its short name where the page
// cannot spell it; empty when the system does not know the folder.
std::string KnownFolderPath(REFKNOWNFOLDERID id);

}  // namespace corvane
