// DialSession: the particulars of the current dial attempt and connection:
// its handle, counters, logins and texts. Where the connection stands (up,
// awaited, waiting to redial or reconnect, ending) is its owner's phase, not
// a flag here. All zero or empty at start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dial/handle_release.h"

namespace corvane {

struct DialSession {
  // Service handle of the last dial; 0 before the first. Not cleared by a
  // hang-up. Pointer sized, as the service hands out pointers on 64-bit Windows.
  uintptr_t ConnectionHandle = 0;
  // Automatic busy redials done; reset only by the manual Redial button.
  // As wide as the redial limit it is compared with, so it cannot wrap.
  int32_t RedialCount = 0;
  // Prepared retries after failures other than a busy line, since the line
  // last came up or the user pressed Redial. They end at the entry's redial
  // limit (in list mode that many rounds of the logins), so a refused login
  // is not redialled without end.
  int32_t RetryCount = 0;

  // The user list, 1-based as the logins are numbered for the user: entry 0
  // of each vector is unused. UserIndex 0 means no login chosen yet.
  int32_t UserIndex = 0;
  int32_t UserCount = 0;
  std::vector<std::string> UserNames;
  std::vector<std::string> UserPasswords;
  // First field of the chosen phone-list line, shown in captions.
  std::string LocationName;

  std::string LastStatusText;
  // The wait for the old handle's release before a re-dial.
  ReleaseWait HandOffWait;

  // The redial pause, and when it began on the monotonic clock.
  float RedialWaitSeconds = 0;
  double RedialWaitStart = 0;
  // "Error <code>: <text>" of the last failed attempt.
  std::string ErrorLine;

  uint32_t DialEventMessage = 0;
  // Dial-event messages reach the dial-event procedure while this is set.
  uint8_t Hooked = 0;

  // The error the service refused the last dial with at once (0: it took
  // the dial). No progress message will ever report such a refusal.
  int32_t RefusedWith = 0;
  // The handle whose connection or failure has been handled, and whether
  // that was from its status because its message did not come (a message
  // that comes after that is stale).
  uintptr_t EndedHandle = 0;
  uint8_t EndedFromStatus = 0;
  // The dial whose messages are awaited, and on how many ticks in a row the
  // service has reported it ended without a message saying so.
  uintptr_t WatchedHandle = 0;
  uint8_t UnreportedEndTicks = 0;
  double UnreportedEndSince = 0;  // monotonic seconds of the first of those ticks
};

}  // namespace corvane
