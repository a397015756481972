// The stand-in's own texts for the service's error codes.
#pragma once

#include <windows.h>

namespace standin {

// The text for a service code (600 and above), or null when it has none.
const char* ServiceErrorText(DWORD code);

}  // namespace standin
