// What another process holds, read from outside it with no help from it:
// kernel handles, GDI and USER objects, and memory. The soak samples the
// program with it.
#pragma once

#include <windows.h>

namespace corvane::testing {

struct ProcessResources {
  DWORD handles = 0;      // kernel handles
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;  // under Wine: its windows, the only USER objects it can see
  SIZE_T workingSet = 0;
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
ProcessResources MeasureProcess(HANDLE process);

bool RunningUnderWine();

}  // namespace corvane::testing
