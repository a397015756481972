// HangUpConnection.
#include "dial/hang_up.h"

#include "dial/dialup_service.h"

namespace corvane {

void HangUpConnection(DialUpService& service, uintptr_t handle, int32_t& lastResult) {
  lastResult = service.HangUp(handle);
}

}  // namespace corvane
