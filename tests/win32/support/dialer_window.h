// What the Wine tests wait for on the real program's dialer window.
#pragma once

#include <windows.h>

#include "app/dialer_ids.h"
#include "support/program_under_test.h"

namespace corvane::testing {

// Waits until a connection has hidden the dialer window, its status reading
// "Connected", with the program still running.
inline bool WaitConnected(ProgramUnderTest& program, HWND dialer, DWORD timeoutMs = 20000) {
  return WaitUntil([&] { return !IsWindowVisible(dialer) && program.Running() &&
                                ControlText(dialer, IDC_LBLMESS) == "Status:  Connected"; },
                   timeoutMs);
}

}  // namespace corvane::testing
