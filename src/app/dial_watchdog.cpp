// WatchSilentDial: a dial whose progress messages never come would leave the
// window at its first status for good, with the line perhaps up and paid
// for. While a dial runs, each tick also asks the service how it stands.
#include "app/connection.h"
#include "dial/dialup_service.h"

namespace corvane {

namespace {

// How many ticks in a row the service must report the dial ended before the
// program acts without its message: a message posted at that moment is
// handled before the next tick, so only a message that is not coming waits
// this long.
constexpr uint8_t kTicksBeforeActing = 4;

}  // namespace

void Connection::WatchSilentDial() {
  DialSession& session = session_;
  const bool dialling = phase_ == Phase::Dialling && session.Hooked == 1 && session.ConnectionHandle != 0 &&
                        session.EndedHandle != session.ConnectionHandle;
  if (!dialling || session.WatchedHandle != session.ConnectionHandle) {
    session.WatchedHandle = dialling ? session.ConnectionHandle : 0;
    session.UnreportedEndTicks = 0;
    return;
  }
  ConnectStatus status;
  const bool ended = ports_.DialUp.QueryConnectStatus(session.ConnectionHandle, status) == kRasSuccess &&
                     (status.State == kRasStateConnected || status.Error != 0);
  session.UnreportedEndTicks = ended ? session.UnreportedEndTicks + 1 : 0;
  if (session.UnreportedEndTicks == 1) session.UnreportedEndSince = ports_.Clock.MonotonicSeconds();
  if (session.UnreportedEndTicks < kTicksBeforeActing) return;
  session.UnreportedEndTicks = 0;
  session.EndedHandle = session.ConnectionHandle;
  session.EndedFromStatus = 1;
  OnDialEvent(status.State, static_cast<int32_t>(status.Error));
  // The line has been up since the first tick that saw it, not since now.
  if (phase_ == Phase::Connected) StartTiming(ports_.Clock.MonotonicSeconds() - session.UnreportedEndSince);
}

}  // namespace corvane
