// The dial-event procedure: what each progress message of the service does
// to the dialer window and the dial session, and what follows a failure.
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "app/connection.h"
#include "app/dialer_captions.h"
#include "app/dial_state_text.h"
#include "app/dialer_form.h"
#include "dial/dialup_service.h"
#include "dial/hang_up.h"
#include "system/clock_port.h"
#include "system/event_pump_port.h"
#include "system/shell_port.h"
#include "system/tray_icon_port.h"
#include "ui/default_browser.h"
#include "ui/details_log.h"

namespace corvane {

namespace {

// The longest pass of the busy-redial countdown; a window event (Cancel,
// the supervisor tick) ends a pass earlier.
constexpr unsigned kCountdownPassMs = 1000;

const std::string kStatus = "Status:  ";

// How long until the countdown shows another number of seconds (it shows
// `left` rounded to the nearest), or ends; a little past that moment, beyond
// the clock's own resolution, so that the next pass surely sees the change.
unsigned MillisecondsToNextChange(double left) {
  constexpr unsigned kPastTheChangeMs = 10;
  const double shown = std::round(left);
  const double untilChange = std::min(left, left - (shown - 0.5));
  const auto ms = static_cast<unsigned>(std::ceil(std::max(untilChange, 0.0) * 1000.0)) + kPastTheChangeMs;
  return std::min(ms, kCountdownPassMs);
}

// How many prepared retries may follow one another: the redial limit, and
// in list mode that many rounds of the logins, so each login gets as many
// tries as a single one would.
int64_t RetryLimit(const EntrySettings& entry, const DialSession& session) {
  const int64_t rounds = entry.NumberOfRedials;
  return entry.UseList == 1 ? rounds * std::max<int32_t>(session.UserCount, 1) : rounds;
}

bool IsLineProblem(int32_t error) {
  return error == kRasLineBusy || error == kRasNoDialTone || error == kRasHardwareFailure ||
         error == kRasDeviceNotFoundOrBusy;
}

}  // namespace

std::string DialStateText(uint32_t state) {
  switch (state) {
    case 0: return "Opening port...";
    case 1: return "Port opened";
    case 2:
    case 3: return "Dialing...";
    case 4: return "All devices connected";
    case 5:
    case 6:
    case 10:
    case 18: return "Veryfying username and password...";
    case 7: return "AuthRetry";
    case 8: return "AuthCallback";
    case 9: return "AuthChangePassword";
    case 11: return "AuthLinkSpeed";
    case 12: return "AuthAck";
    case 13: return "ReAuthenticate";
    case 14: return "Authenticated";
    case 15: return "PrepareForCallback";
    case 16: return "WaitForModemReset";
    case 17: return "WaitForCallback";
    case 19: return "StartAuthentication";
    case 20: return "CallbackComplete";
    case 21: return "LogonNetwork";
    case 22: return "SubEntryConnected";
    case 23: return "SubEntryDisconnected";
    case 4096: return "Interactive";
    case 4097: return "RetryAuthentication";
    case 4098: return "CallbackSetByCaller";
    case 4099: return "PasswordExpired";
    case 4100: return "InvokeEapUI";
    case kRasStateConnected: return "Connected";
    case kRasStateDisconnected: return "Disconnected";
    default: return {};
  }
}

void Connection::OnDialMessage(uint32_t message, uint32_t state, int32_t error) {
  if (session_.Hooked != 1 || message != session_.DialEventMessage) return;
  if (state == kRasStateConnected || error != 0) {
    // The end of this dial was already handled from its status, when its
    // message was late: the message must not connect or fail it twice.
    if (session_.EndedFromStatus == 1 && session_.EndedHandle == session_.ConnectionHandle) return;
    session_.EndedHandle = session_.ConnectionHandle;
  }
  OnDialEvent(state, error);
}

// One progress message: status, details log, connect actions, and what
// follows a failed attempt.
void Connection::OnDialEvent(uint32_t state, int32_t error) {
  DialerForm& dialer = *view_;
  // Messages that come while the pause after a failure is counted down
  // belong to the attempt already failed.
  if (phase_ == Phase::RedialCountdown) return;
  // Once the line is up, an error or a Disconnected is the line going, not
  // a failed attempt: it is hung up here and the supervisor books it and
  // reconnects it as any dropped line.
  if (phase_ == Phase::Connected && (state == kRasStateDisconnected || error != 0)) {
    OnLineDroppedMessage();
    return;
  }

  const std::string text = DialStateText(state);
  dialer.lblMess.SetCaption(kStatus + text);
  if (state == kRasStateConnected && error == 0) {
    OnConnected();
    if (!entry_.FileURL.empty()) {
      ReadInternetFile();
      return;
    }
  }
  if (state == kRasStateDisconnected) {
    // An attempt that ended before its line came up: nothing to book.
    EndLine(ConnectionEnd::LineDropped);
    dialer.lblMess.SetCaption(kStatus + "Disconnected.");
  }
  if (session_.LastStatusText != text) AppendDetails(dialer.lblMess.Caption());
  if (!text.empty()) session_.LastStatusText = text;
  if (error == 0) return;
  OnFailure(error);
}

void Connection::OnLineDroppedMessage() {
  DialerForm& dialer = *view_;
  EndLine(ConnectionEnd::LineDropped);
  dialer.lblMess.SetCaption(kStatus + "Disconnected.");
  if (session_.LastStatusText != DialStateText(kRasStateDisconnected)) AppendDetails(dialer.lblMess.Caption());
  session_.LastStatusText = DialStateText(kRasStateDisconnected);
}

void Connection::OnConnected() {
  DialerForm& dialer = *view_;
  // The line is timed from its Connected message itself: the window work
  // after it (the tray icon, hiding) must not take from the count.
  SetPhase(Phase::Connected);
  StartTiming();
  session_.RetryCount = 0;
  ports_.TrayIcon.Add(dialer.Icon(), "Connected to: '" + runningEntryName_ + "'");
  dialer.mnuDisconnect.SetCaption(kCaptionDisconnect);
  dialer.Hide();
  if (entry_.StartBrowser == 1) {
    std::string browser = store_.ReadRegValue(RunningEntryKey(), "BrowserPath");
    if (browser.empty()) browser = DefaultBrowserPath(ports_.Shell, lastResult_);
    // With no browser at all, asking the shell to open nothing could open c:\ instead.
    if (!browser.empty()) {
      lastResult_ = static_cast<int32_t>(ports_.Shell.Execute("Open", browser, "", "c:\\", ShowMode::Normal));
    }
  }
}

void Connection::AppendDetails(const std::string& text) { AppendToDetailsLog(view_->txtDetails, text); }

// Counts down the entry's redial pause on the monotonic clock, letting
// window events run so Cancel works and the text stays live, without
// spinning the processor. True when the pause ran out; false when the user
// cancelled or closed the window.
bool Connection::RedialCountdown() {
  DialSession& session = session_;
  DialerForm& dialer = *view_;
  ClockPort& clock = ports_.Clock;
  // In floating point: hand-edited values must not overflow.
  session.RedialWaitSeconds = static_cast<float>(entry_.Minutes * 60.0 + entry_.Seconds);
  session.RedialWaitStart = clock.MonotonicSeconds();
  SetPhase(Phase::RedialCountdown);
  // A window handler that throws while the countdown lets events run ends
  // the countdown too: the next attempt is then due, so the phase never
  // stays in a countdown nobody counts (every later message would be taken
  // for the failed attempt's).
  struct LeftByException {
    Connection& connection;
    const int before = std::uncaught_exceptions();
    ~LeftByException() {
      if (std::uncaught_exceptions() > before && connection.phase_ == Phase::RedialCountdown) {
        connection.next_ = NextAttempt::Prepared;
        connection.SetPhase(Phase::RedialDue);
      }
    }
  } leftByException{*this};
  for (;;) {
    const double elapsed = clock.MonotonicSeconds() - session.RedialWaitStart;
    if (phase_ != Phase::RedialCountdown || !dialer.Loaded()) return false;
    if (elapsed >= session.RedialWaitSeconds) return true;
    // Wakes only when there is something new to show: each wake-up of an
    // idle program costs more than the text it refreshes.
    const double left = session.RedialWaitSeconds - elapsed;
    dialer.txtErr.SetText(session.ErrorLine + "\r\nRedialing in :   " + std::to_string(std::lround(left)) +
                          " seconds.");
    ports_.Pump.WaitForEvents(MillisecondsToNextChange(left));
  }
}

// After the pause of a busy line: the same number and login again.
void Connection::HandOffBusyRedial() {
  DialerForm& dialer = *view_;
  dialer.SetCaption("Redialing:  x " + std::to_string(session_.RedialCount) + "  " + session_.LocationName + "  " +
                    entry_.PhoneNumber + ListModeSuffix());
  dialer.Image1.SetVisible(true);
  dialer.Image2.SetVisible(false);
  dialer.cmdShowOnTime.SetVisible(true);
  dialer.cmdCancel.SetVisible(false);
  dialer.cmdInfo.SetVisible(true);
  dialer.txtErr.SetText("");
  dialer.txtErr.SetVisible(false);
}

void Connection::OnFailure(int32_t error) {
  DialSession& session = session_;
  DialerForm& dialer = *view_;
  const EntrySettings& entry = entry_;

  EndLine(ConnectionEnd::LineDropped);
  session.ErrorLine = "Error " + std::to_string(error) + ": " + ports_.DialUp.DialErrorText(error);
  dialer.txtErr.SetVisible(true);
  dialer.txtErr.SetText(session.ErrorLine);
  dialer.lblMess.SetCaption(kStatus + "Disconnected.");
  AppendDetails(dialer.lblMess.Caption() + "\r\n" + session.ErrorLine);
  dialer.Image1.SetVisible(false);
  dialer.Image2.SetVisible(true);
  dialer.cmdShowOnTime.SetVisible(true);
  dialer.cmdCancel.SetCaption(kCaptionRedial);
  dialer.cmdCancel.SetVisible(false);
  dialer.cmdInfo.SetVisible(true);
  if (dialer.cmdInfo.Caption() == kCaptionOptions) dialer.cmdInfo.SetCaption(kCaptionDetails);

  // A busy line with redial on is redialled as it is; every other failure
  // is followed by a prepared attempt (the next login in list mode). A dial
  // the service refused outright fails the same way every time: stop there,
  // with the Redial button, instead of retrying it.
  const bool busyRedial = error == kRasLineBusy && entry.EnableRedial == 1;
  const bool retriesUsedUp = !busyRedial && session.RetryCount >= RetryLimit(entry, session);
  if (session.RedialCount >= entry.NumberOfRedials || retriesUsedUp || session.RefusedWith != 0) {
    const int32_t redials = retriesUsedUp ? session.RetryCount : session.RedialCount;
    dialer.SetCaption("End of Redials");
    dialer.cmdInfo.SetCaption(kCaptionOptions);
    dialer.cmdInfo.SetVisible(true);
    dialer.lblMess.SetCaption(kStatus + "Redialed x " + std::to_string(redials) + " times.");
    dialer.txtErr.SetText(session.ErrorLine);
    AppendDetails(dialer.lblMess.Caption());
    dialer.cmdCancel.SetVisible(true);
    if (phase_ != Phase::Ending) SetPhase(Phase::Idle);
    return;
  }

  dialer.SetCaption("Connection Error");
  if (entry.UseList == 1 && !IsLineProblem(error)) {
    const int32_t next = session.UserIndex < session.UserCount ? session.UserIndex + 1 : 1;
    dialer.lblMess.SetCaption(kStatus + "Switching UserID(" + std::to_string(session.UserIndex) + ")  to UserID(" +
                              std::to_string(next) + ")");
    dialer.cmdCancel.SetVisible(false);
    dialer.txtErr.SetText(session.ErrorLine);
    AppendDetails(dialer.lblMess.Caption());
    EndLine(ConnectionEnd::LineDropped);
  }

  if (busyRedial) {
    ++session.RedialCount;
    dialer.cmdCancel.SetVisible(false);
    if (phase_ == Phase::Ending) return;
    if (RedialCountdown()) {
      HandOffBusyRedial();
      next_ = NextAttempt::SameLogin;
      SetPhase(Phase::RedialDue);
    }
    return;
  }
  // Retries wait the same pause as busy redials: a provider may lock an
  // account that is refused several times a second.
  ++session.RetryCount;
  if (phase_ == Phase::Ending) return;
  if (RedialCountdown()) {
    next_ = NextAttempt::Prepared;
    SetPhase(Phase::RedialDue);
  }
}


}  // namespace corvane
