// resource_holder.exe: takes hold of a known number of kernel handles, GDI
// objects, windows and heap blocks and keeps them, so that a test can check
// that what the soak measures from outside sees them. Says it is ready, waits
// to be told to go, takes its share, says it is done, and waits to be ended.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "support/resource_holder.h"
#include "win32/unique_handle.h"

int main() {
  using namespace corvane::testing;
  const corvane::UniqueKernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kHolderReadyEvent));
  const corvane::UniqueKernelHandle go(OpenEventA(SYNCHRONIZE, FALSE, kHolderGoEvent));
  const corvane::UniqueKernelHandle done(OpenEventA(EVENT_MODIFY_STATE, FALSE, kHolderDoneEvent));
  if (!ready || !go || !done) return 1;
  SetEvent(ready.get());
  WaitForSingleObject(go.get(), INFINITE);
  // Never freed: this process is the leak the measures must see.
  std::vector<void*> blocks;
  for (int i = 0; i < kHeldOfEachKind; ++i) {
    CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CreateSolidBrush(RGB(i, 0, 0));
    CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    blocks.push_back(HeapAlloc(GetProcessHeap(), 0, kHeldBlockBytes));
    blocks.push_back(std::malloc(kHeldBlockBytes));
  }
  SetEvent(done.get());
  Sleep(INFINITE);
}
