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
  if (session.BusyRedialPending == 1) {
    WaitForHandleRelease(ports.DialUp, ports.Pump, ports.Clock, session.ConnectionHandle, kHandleReleaseSeconds,
                         ctx_.LastResult);
    session.BusyRedialPending = 0;
    session.ConnectionHandle = DialEntry(ctx_, "", kPhonebookEntryName);
  }
  if (session.RetryPending == 1) {
    WaitForHandleRelease(ports.DialUp, ports.Pump, ports.Clock, session.ConnectionHandle, kHandleReleaseSeconds,
                         ctx_.LastResult);
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
  // Setting the picture repaints just that control. Hidden in the tray the
  // frames go on without drawing; the first tick after the window shows
  // again puts the current one up.
  if (Visible()) Image1.SetPicture(frame);
  frame = frame == kLastAnimationFrame ? 1 : frame + 1;
}

void DialerForm::Form_WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const DialSession& session = ctx_.Session;
  if (session.Hooked == 1 && message == session.DialEventMessage) {
    OnDialEvent(ctx_, message, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
  }
}

}  // namespace corvane
