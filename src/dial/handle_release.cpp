// WaitForHandleRelease.
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

}  // namespace corvane
