// WaitForHandleRelease and HandleReleasedOrOverdue.
#include "dial/handle_release.h"

#include "dial/dialup_service.h"
#include "system/clock_port.h"
#include "system/event_pump_port.h"

namespace corvane {

bool WaitForHandleRelease(DialUpService& service, EventPumpPort& pump, ClockPort& clock, uintptr_t handle,
                          double maxSeconds, int32_t& lastResult) {
  const double start = clock.MonotonicSeconds();
  for (;;) {
    ConnectStatus status;
    lastResult = service.QueryConnectStatus(handle, status);
    if (lastResult == kRasInvalidHandle) return true;
    if (clock.MonotonicSeconds() - start >= maxSeconds) return false;
    pump.Pause();
  }
}

bool HandleReleasedOrOverdue(DialUpService& service, ClockPort& clock, uintptr_t handle, double maxSeconds,
                             ReleaseWait& wait, int32_t& lastResult) {
  ConnectStatus status;
  lastResult = service.QueryConnectStatus(handle, status);
  const double now = clock.MonotonicSeconds();
  if (!wait.started) wait = ReleaseWait{true, now};
  if (lastResult != kRasInvalidHandle && now - wait.since < maxSeconds) return false;
  wait = ReleaseWait{};
  return true;
}

}  // namespace corvane
