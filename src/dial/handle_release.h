// Waiting, after a hang-up, until the service has let go of a connection
// handle, so the next dial does not find the line still busy.
#pragma once

#include <cstdint>

namespace corvane {

class ClockPort;
class DialUpService;
class EventPumpPort;

// Polls the handle's status, yielding the processor between polls, until the
// service answers "invalid handle" or `maxSeconds` pass. True when released.
// Bounded, so a service that never lets go cannot freeze the program.
bool WaitForHandleRelease(DialUpService& service, EventPumpPort& pump, ClockPort& clock, uintptr_t handle,
                          double maxSeconds);

// How long the program waits for a hung-up handle before dialing anyway.
inline constexpr double kHandleReleaseSeconds = 5.0;

// A wait for a released handle spread over timer ticks: when it began.
struct ReleaseWait {
  bool started = false;
  double since = 0;
};

// One look at the handle's status, for a wait that lets the window run
// between looks: true once the service answers "invalid handle", or once
// `maxSeconds` have passed since the first look of `wait` (which then
// starts afresh).
bool HandleReleasedOrOverdue(DialUpService& service, ClockPort& clock, uintptr_t handle, double maxSeconds,
                             ReleaseWait& wait);

}  // namespace corvane
