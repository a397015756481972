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
  // Bytes in use in its heaps, read by heap_probe.dll loaded into it for a
  // moment: the process heap holds what the system's own DLLs keep (Wine's,
  // under Wine); the others, the C runtime's, what the program's and the
  // stand-in's code keeps. 0 when the probe could not run.
  ULONGLONG processHeapBytes = 0;
  ULONGLONG otherHeapBytes = 0;
};

// `process` needs the access CreateProcess gives: query, read, write and
// create a thread (for the heap probe).
ProcessResources MeasureProcess(HANDLE process);

bool RunningUnderWine();

}  // namespace corvane::testing
