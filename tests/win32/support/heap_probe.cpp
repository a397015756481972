// heap_probe.dll: loaded into a process from outside (a thread of LoadLibrary
// started by the soak), it walks that process's heaps, writes what is in use
// to the soak's shared block, and refuses to stay loaded. No hook in the
// program is needed for it.
#include "support/heap_probe.h"

#include "win32/unique_handle.h"

namespace {

ULONGLONG BytesInUse(HANDLE heap) {
  ULONGLONG bytes = 0;
  PROCESS_HEAP_ENTRY entry{};
  if (!HeapLock(heap)) return 0;
  while (HeapWalk(heap, &entry)) {
    if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
  }
  HeapUnlock(heap);
  return bytes;
}

void WriteFigures() {
  using corvane::testing::HeapProbeFigures;
  const corvane::UniqueKernelHandle block(
      OpenFileMappingA(FILE_MAP_WRITE, FALSE, corvane::testing::kHeapProbeBlockName));
  if (!block) return;
  const corvane::UniqueMappedView view(MapViewOfFile(block.get(), FILE_MAP_WRITE, 0, 0, sizeof(HeapProbeFigures)));
  if (!view) return;
  auto* figures = static_cast<HeapProbeFigures*>(view.get());
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  const HANDLE processHeap = GetProcessHeap();
  for (DWORD i = 0; i < count && i < 64; ++i) {
    (heaps[i] == processHeap ? figures->processHeapBytes : figures->otherHeapBytes) += BytesInUse(heaps[i]);
  }
  figures->heaps = count;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  WriteFigures();
  return FALSE;  // done: the loader unloads it at once
}
