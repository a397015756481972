// Wakes the thread that watches a connected line when something outside the
// line's own timeline changes it: a hang-up, a drop asked for from outside,
// a reset of the service. The watch sleeps on this instead of looking at the
// shared state every few milliseconds, so an idle line costs no processor.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace standin {

struct CloseEvent {
  void operator()(HANDLE event) const { CloseHandle(event); }
};
using LineWatchEvent = std::unique_ptr<void, CloseEvent>;

// The auto-reset event the watch of `handle` sleeps on, made when the watch
// begins (before its first look, so that no wake-up is missed). Null when
// none can be made.
LineWatchEvent OpenLineWatch(uint64_t handle);

// Wakes the watch of `handle`, in whichever process it runs; nothing when
// nobody watches that line.
void WakeLineWatch(uint64_t handle);

}  // namespace standin
