// The supervisor tick (the dialer window's Timer1, every 500 ms): the line
// watch, the auto-disconnect, the reconnect wait, the re-dials after a
// failure and the dialing animation.
#include <cmath>
#include <string>
#include <vector>

#include "app/connection.h"
#include "app/dialer_captions.h"
#include "app/dialer_form.h"
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

void Connection::Tick() {
  // Without online-time monitoring the line is not watched; the re-dials
  // handed over by the dial-event procedure still run.
  if (entry_.MonitorTime == 1 && !WatchLine()) return;
  RunHandOffs();
}

// The line watch; false when the tick ends here.
bool Connection::WatchLine() {
  if (phase_ == Phase::ReconnectWait) {
    WaitToReconnect();
    return false;
  }
  std::vector<ActiveConnection> connections;
  const int count = ports_.DialUp.EnumActiveConnections(connections);
  if (phase_ == Phase::Connected && count == 0) return OnLineLost();
  if (phase_ != Phase::Connected && count == 1) {
    view_->ConnectionDetected = true;
    if (!connections.empty()) watchedConnection_ = connections.front().Handle;
  }
  if (phase_ == Phase::Connected) {
    DisconnectAtAge();
    if (ledger_.CheckpointDue()) ledger_.Checkpoint(RunningEntryKey());
    recorder_.Watch();
    WatchAllowance();
  }
  return true;
}

// The line is gone: books it once, then ends or waits to reconnect. False
// when the program ends.
bool Connection::OnLineLost() {
  DialerForm& view = *view_;
  const std::string key = RunningEntryKey();
  // A dropped line's handle still holds the port until it is hung up; the
  // dial-event procedure may not have seen the drop to do it. A line a rule
  // hung up was booked then, and is only released here.
  EndLine(ConnectionEnd::LineDropped);
  if (disconnectRequested_ || entry_.AutoReconnect == 0 || AllowanceBarsReconnect()) {
    EndProgram();
    return false;
  }

  session_.Hooked = 0;
  droppedAt_ = ports_.Clock.MonotonicSeconds();
  SetPhase(Phase::ReconnectWait);
  view.mnuDisconnect.SetCaption(kCaptionConnect);
  view.SetWindowState(forms::WindowState::Normal);
  ports_.TrayIcon.Modify(ReconnectWaitIcon(entry_.Icon), "Disconnected");

  const auto storedOnlineTime = static_cast<float>(LeadingNumber(store_.ReadRegValue(key, kOnlineTimeValue)));
  const double onTime1 = LeadingNumber(store_.ReadRegValue(key, "OnTimeEx1"));
  const double onTime2 = LeadingNumber(store_.ReadRegValue(key, "OnTimeEx2"));
  if (onTime1 != 0 && onTime1 * kSecondsPerHour < storedOnlineTime) {
    reconnectRule_ = "OffTimeEx1";
  } else if (onTime2 != 0 && onTime2 * kSecondsPerHour >= storedOnlineTime) {
    reconnectRule_ = "OffTimeEx2";
  }
  if (!reconnectRule_.empty() && store_.ReadRegValue(key, reconnectRule_) == kNeverReconnect) {
    EndProgram();
    return false;
  }
  return true;
}

void Connection::WaitToReconnect() {
  const double waited = ports_.Clock.MonotonicSeconds() - droppedAt_;
  const double minutes =
      reconnectRule_.empty() ? 0 : LeadingNumber(store_.ReadRegValue(RunningEntryKey(), reconnectRule_));
  reconnectCountdown_ = static_cast<float>(minutes * kSecondsPerMinute - std::floor(waited));
  if (reconnectCountdown_ > 0) return;
  ReconnectNow();
}

void Connection::ReconnectNow() {
  DialerForm& view = *view_;
  view.Show();
  view.SetCaption("Corvane     '" + runningEntryName_ + "'");
  view.cmdDial.SetCaption(kCaptionDial);
  // The tray item stands for the line again: choosing it during the new
  // dial disconnects, as it does once the line is up.
  view.mnuDisconnect.SetCaption(kCaptionDisconnect);
  BringToFront(view);
  ports_.TrayIcon.Modify(view.Icon(), "Connecting to: '" + runningEntryName_ + "'");
  view.Refresh();
  DialClicked();
}

// Ends the line once it has reached the entry's age limit; the next tick
// finds it gone and ends the program.
void Connection::DisconnectAtAge() {
  if (entry_.AutoDisconnect != 1) return;
  ledger_.UpdateElapsed();
  if (ledger_.ElapsedSeconds() < entry_.AutoDisconnectTime) return;
  disconnectRequested_ = true;
  EndLine(ConnectionEnd::AgeLimit);
}

// The tail of every tick: re-dials handed over by the dial-event procedure,
// and the dialing animation.
void Connection::RunHandOffs() {
  WatchSilentDial();
  // A re-dial waits for the old handle's release one look per tick, so a
  // service slow to let go (or never letting go) leaves the window live.
  if (phase_ == Phase::RedialDue &&
      !HandleReleasedOrOverdue(ports_.DialUp, ports_.Clock, session_.ConnectionHandle, kHandleReleaseSeconds,
                               session_.HandOffWait, lastResult_)) {
    AnimateDialing();
    return;
  }
  if (BusyRedialPending()) {
    session_.ConnectionHandle = DialEntry();
    ReportRefusedDial();
  } else if (RetryPending()) {
    view_->txtErr.SetVisible(false);
    PrepareAndDial();
  }
  AnimateDialing();
}

void Connection::AnimateDialing() {
  DialerForm& view = *view_;
  uint8_t& frame = dialAnimationFrame_;
  if (frame == 0) return;
  // Setting the picture repaints just that control. Hidden in the tray, or
  // the picture hidden behind a failure's, the frames go on without drawing;
  // the first tick after it shows again puts the current one up.
  if (view.Visible() && view.Image1.Visible()) view.Image1.SetPicture(frame);
  frame = frame == kLastAnimationFrame ? 1 : frame + 1;
}

}  // namespace corvane
