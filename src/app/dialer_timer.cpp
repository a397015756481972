// Timer1: the dialer window's 500 ms supervisor tick, and the window's
// subclass-like handling of the service's progress messages.
#include "app/app_context.h"
#include "app/dialing.h"
#include "dial/dialup_service.h"
#include "dial/handle_release.h"
#include "dial/hang_up.h"
#include "dial/phonebook_entry.h"

namespace corvane {

namespace {

constexpr uint8_t kLastAnimationFrame = 6;

}  // namespace

void DialerForm::Timer1_Timer() {
  DialSession& session = ctx_.Session;
  if (session.CancelRequested == 1) {
    HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
    Timer1.SetEnabled(false);
    Unload();
    return;
  }
  RunHandOffs();
}

// The tail of every tick: re-dials handed over by the dial-event procedure,
// a cancel that arrived meanwhile, and the dialing animation.
void DialerForm::RunHandOffs() {
  DialSession& session = ctx_.Session;
  Ports& ports = ctx_.Platform;
  if (session.CancelRequested == 1) {
    HangUpConnection(ports.DialUp, session.ConnectionHandle, ctx_.LastResult);
    Unload();
    return;
  }
  WatchSilentDial(ctx_);
  // A re-dial waits for the old handle's release one look per tick, so a
  // service slow to let go (or never letting go) leaves the window live.
  const bool handOff = session.BusyRedialPending == 1 || session.RetryPending == 1;
  if (handOff && !HandleReleasedOrOverdue(ports.DialUp, ports.Clock, session.ConnectionHandle, kHandleReleaseSeconds,
                                          session.HandOffWait, ctx_.LastResult)) {
    AnimateDialing();
    return;
  }
  if (session.BusyRedialPending == 1) {
    session.BusyRedialPending = 0;
    session.ConnectionHandle = DialEntry(ctx_, "", kPhonebookEntryName);
    ReportRefusedDial(ctx_);
  }
  if (session.RetryPending == 1) {
    txtErr.SetVisible(false);
    PrepareAndDial(ctx_);
  }
  if (session.CancelRequested == 1) {
    HangUpConnection(ports.DialUp, session.ConnectionHandle, ctx_.LastResult);
    Unload();
    return;
  }
  AnimateDialing();
}

void DialerForm::AnimateDialing() {
  uint8_t& frame = ctx_.Supervisor.DialAnimationFrame;
  if (frame == 0) return;
  Image1.SetPicture(frame);
  frame = frame == kLastAnimationFrame ? 1 : frame + 1;
  Refresh();
}

void DialerForm::Form_WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  DialSession& session = ctx_.Session;
  if (session.Hooked == 1 && message == session.DialEventMessage) {
    const auto state = static_cast<uint32_t>(wParam);
    const auto error = static_cast<int32_t>(lParam);
    if (state == kRasStateConnected || error != 0) {
      // The end of this dial was already handled from its status, when its
      // message was late: the message must not connect or fail it twice.
      if (session.EndedFromStatus == 1 && session.EndedHandle == session.ConnectionHandle) return;
      session.EndedHandle = session.ConnectionHandle;
    }
    OnDialEvent(ctx_, message, state, error);
  }
}

}  // namespace corvane
