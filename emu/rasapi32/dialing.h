// A dial's timeline, and following it: reporting each state to the caller's
// window or callback at its time, then watching the line until it drops.
#pragma once

#include <windows.h>

#include <cstdint>

#include "scenario.h"
#include "shared_state.h"

namespace standin {

// The progress states of a dial, each `paceMs` apart except the dialling
// itself, which takes `dialMs`; a failing dial ends with its error reported
// in the state it fails in.
uint32_t BuildTimeline(const DialOutcome& outcome, const Scenario& scenario, Step (&steps)[kMaxSteps]);

// Who hears about a dial's progress.
struct Notifier {
  DWORD type = 0;           // 0, 1, 2: callbacks; 0xFFFFFFFF: a window
  void* target = nullptr;   // null: nobody (a synchronous dial)
  UINT message = 0;
  ULONG_PTR callbackId = 0;
  DWORD subEntry = 0;
  uint64_t handle = 0;
};

// Follows the dial of `notifier.handle` until it connects or fails; then,
// when `watchLine`, until the line drops or is hung up. Returns the dial's
// error (0 once connected, 6 when the handle went away).
DWORD FollowDial(const Notifier& notifier, bool watchLine);

// Follows the dial on a thread of its own; false when none can be started.
bool FollowDialInBackground(const Notifier& notifier);

}  // namespace standin
