// WaitForHandleRelease and HandleReleasedOrOverdue.
#include "dial/handle_release.h"

#include "dial/dialup_service.h"
#include "system/clock_port.h"
#include "system/event_pump_port.h"

namespace corvane {

bool WaitForHandleRelease(DialUpService& service, EventPumpPort& pump, ClockPort& clock, uintptr_t handle,
                          double maxSeconds) {
  const double start = clock.MonotonicSeconds();
  for (;;) {
    ConnectStatus status;
    if (service.QueryConnectStatus(handle, status) == kRasInvalidHandle) return true;
    if (clock.MonotonicSeconds() - start >= maxSeconds) return false;
    pump.Pause();
  }
}

bool HandleReleasedOrOverdue(DialUpService& service, ClockPort& clock, uintptr_t handle, double maxSeconds,
                             ReleaseWait& wait) {
  ConnectStatus status;
  const bool released = service.QueryConnectStatus(handle, status) == kRasInvalidHandle;
  const double now = clock.MonotonicSeconds();
  if (!wait.started) wait = ReleaseWait{true, now};
  if (!released && now - wait.since < maxSeconds) return false;
  wait = ReleaseWait{};
  return true;
}

}  // namespace corvane
