// The periodic timer's own state: the reconnect wait after a dropped line,
// the watched connection of a custom entry, and the dialing animation.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct SupervisorState {
  // Set while waiting to reconnect a dropped line; cleared at each dial start.
  uint8_t LineDropped = 0;
  // Monotonic seconds when the dropped line was seen gone: the reconnect
  // wait is measured from here, whatever the wall clock does meanwhile.
  double DroppedAt = 0;
  float ReconnectCountdown = 0;
  // "OffTimeEx1" or "OffTimeEx2": the delay rule chosen at the last drop.
  std::string ReconnectRule;
  float StoredOnlineTime = 0;
  // The one active connection a custom entry's provider program made; the
  // program never dialled it, so it is watched, not owned.
  uintptr_t WatchedConnection = 0;
  // Icon resource (1..6) the dialing picture shows next; 0 = no animation.
  uint8_t DialAnimationFrame = 0;
};

}  // namespace corvane
