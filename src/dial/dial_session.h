// DialSession: the state of the current dial attempt and connection, shared
// by the dial start, the dial-event procedure, the periodic timer and the
// exit path.
#pragma once

#include <cstdint>

namespace corvane {

struct DialSession {
  // Service handle of the current connection attempt; 0 for none. Pointer
  // sized, as the service hands out pointers on 64-bit Windows.
  uintptr_t ConnectionHandle = 0;
  uint8_t IsConnected = 0;
  // Seconds since midnight when the line came up.
  float ConnectTime = 0;
  uint8_t CancelRequested = 0;
  uint8_t DisconnectRequested = 0;
  // Dial-event messages reach the dial-event procedure while this is set.
  uint8_t Hooked = 0;
};

}  // namespace corvane
