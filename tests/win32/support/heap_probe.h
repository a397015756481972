// What heap_probe.dll, loaded into another process, hands back through a
// named shared block: the bytes in use in that process's heaps.
#pragma once

#include <windows.h>

namespace corvane::testing {

inline constexpr char kHeapProbeBlockName[] = "Local\\CorvaneHeapProbe";

struct HeapProbeFigures {
  ULONGLONG processHeapBytes;  // the process heap: the system's own DLLs (Wine's, under Wine)
  ULONGLONG otherHeapBytes;    // every other heap: the C runtime's, so the program's and the stand-in's objects
  ULONG heaps;
};

}  // namespace corvane::testing
