// Timer1: the dialer window's 500 ms supervisor tick, and the window's
// subclass-like handling of the service's progress messages.
#include <cmath>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
#include "app/tray_display.h"
#include "dial/dialup_service.h"
#include "dial/handle_release.h"
#include "dial/hang_up.h"
#include "dial/phonebook_entry.h"
#include "system/clock_port.h"
#include "system/tray_icon_port.h"
#include "ui/bring_to_front.h"

namespace corvane {

namespace {

constexpr uint8_t kLastAnimationFrame = 6;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerMinute = 60.0;
// An off-time of exactly this text means: never reconnect.
constexpr const char* kNeverReconnect = "100";

}  // namespace

void DialerForm::Timer1_Timer() {
  DialSession& session = ctx_.Session;
  if (session.CancelRequested == 1) {
    HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
    Timer1.SetEnabled(false);
    Unload();
    return;
  }
  // Without online-time monitoring the line is not watched; the re-dials
  // handed over by the dial-event procedure still run.
  if (ctx_.Entry.MonitorTime == 1 && !WatchLine()) return;
  RunHandOffs();
}

// The line watch; false when the tick ends here.
bool DialerForm::WatchLine() {
  DialSession& session = ctx_.Session;
  SupervisorState& supervisor = ctx_.Supervisor;
  if (supervisor.LineDropped == 1) {
    WaitToReconnect();
    return false;
  }
  std::vector<ActiveConnection> connections;
  const int count = ctx_.Platform.DialUp.EnumActiveConnections(connections);
  if (session.IsConnected == 1 && count == 0) return OnLineLost();
  if (session.IsConnected == 0 && count == 1) {
    ConnectionDetected = true;
    if (!connections.empty()) supervisor.WatchedConnection = connections.front().Handle;
  }
  if (session.IsConnected == 1) {
    DisconnectAtAge();
    ctx_.Ledger.Checkpoint(ctx_.CurrentEntryKey());
  }
  return true;
}

// The line is gone: books it once, then ends or waits to reconnect. False
// when the program ends.
bool DialerForm::OnLineLost() {
  DialSession& session = ctx_.Session;
  SupervisorState& supervisor = ctx_.Supervisor;
  SettingsStore& store = ctx_.Store;
  const std::string key = ctx_.CurrentEntryKey();
  ClockPort& clock = ctx_.Platform.Clock;
  if (ctx_.Ledger.Counting()) {
    const auto now = static_cast<long>(clock.SecondsSinceMidnight());
    store.SaveRegValue(key, kLastOffTimeValue, std::to_string(now));
  }
  ctx_.Ledger.SaveOnlineTime(key);
  // A dropped line's handle still holds the port until it is hung up; the
  // dial-event procedure may not have seen the drop to do it.
  HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
  if (session.DisconnectRequested == 1 || ctx_.Entry.AutoReconnect == 0) {
    EndAfterLostLine();
    return false;
  }

  UnhookDialEvents(ctx_);
  session.IsConnected = 0;
  supervisor.LineDropped = 1;
  supervisor.DroppedAt = clock.MonotonicSeconds();
  mnuDisconnect.SetCaption(kCaptionConnect);
  SetWindowState(forms::WindowState::Normal);
  ctx_.Platform.TrayIcon.Modify(ReconnectWaitIcon(ctx_.Entry.Icon), "Disconnected");

  supervisor.StoredOnlineTime = static_cast<float>(LeadingNumber(store.ReadRegValue(key, kOnlineTimeValue)));
  const double onTime1 = LeadingNumber(store.ReadRegValue(key, "OnTimeEx1"));
  const double onTime2 = LeadingNumber(store.ReadRegValue(key, "OnTimeEx2"));
  if (onTime1 != 0 && onTime1 * kSecondsPerHour < supervisor.StoredOnlineTime) {
    supervisor.ReconnectRule = "OffTimeEx1";
  } else if (onTime2 != 0 && onTime2 * kSecondsPerHour >= supervisor.StoredOnlineTime) {
    supervisor.ReconnectRule = "OffTimeEx2";
  }
  if (!supervisor.ReconnectRule.empty() && store.ReadRegValue(key, supervisor.ReconnectRule) == kNeverReconnect) {
    EndAfterLostLine();
    return false;
  }
  return true;
}

void DialerForm::EndAfterLostLine() {
  Timer1.SetEnabled(false);
  ctx_.Session.CancelRequested = 1;
  Unload();
}

void DialerForm::WaitToReconnect() {
  SupervisorState& supervisor = ctx_.Supervisor;
  const double waited = ctx_.Platform.Clock.MonotonicSeconds() - supervisor.DroppedAt;
  const double minutes = supervisor.ReconnectRule.empty()
                             ? 0
                             : LeadingNumber(ctx_.Store.ReadRegValue(ctx_.CurrentEntryKey(), supervisor.ReconnectRule));
  supervisor.ReconnectCountdown = static_cast<float>(minutes * kSecondsPerMinute - std::floor(waited));
  if (supervisor.ReconnectCountdown > 0) return;
  ReconnectNow();
}

void DialerForm::ReconnectNow() {
  Show();
  SetCaption("Corvane     '" + ctx_.CurrentEntryName + "'");
  cmdDial.SetCaption(kCaptionDial);
  BringToFront(*this);
  ctx_.Platform.TrayIcon.Modify(Icon(), "Connecting to: '" + ctx_.CurrentEntryName + "'");
  Refresh();
  cmdDial_Click();
}

// Hangs up once the connection has reached the entry's age limit; the next
// tick finds the line gone and ends the program.
void DialerForm::DisconnectAtAge() {
  const EntrySettings& entry = ctx_.Entry;
  if (entry.AutoDisconnect != 1) return;
  ctx_.Ledger.UpdateElapsed();
  if (ctx_.Ledger.ElapsedSeconds() < entry.AutoDisconnectTime) return;
  DialSession& session = ctx_.Session;
  session.DisconnectRequested = 1;
  HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
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
  // Setting the picture repaints just that control. Hidden in the tray, or
  // the picture hidden behind a failure's, the frames go on without drawing;
  // the first tick after it shows again puts the current one up.
  if (Visible() && Image1.Visible()) Image1.SetPicture(frame);
  frame = frame == kLastAnimationFrame ? 1 : frame + 1;
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
