// Hanging up a connection: nothing is shown and nothing waits here.
#pragma once

#include <cstdint>

namespace corvane {

class DialUpService;

// Hangs up `handle`; the service's answer goes to `lastResult`.
void HangUpConnection(DialUpService& service, uintptr_t handle, int32_t& lastResult);

}  // namespace corvane
