// The dial-event procedure: what each progress message of the service does
// to the dialer window and the dial session, and what follows a failure.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
#include "app/number_sources.h"
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

constexpr float kSecondsPerDay = 86400.0f;
// The longest pass of the busy-redial countdown; a window event (Cancel,
// the supervisor tick) ends a pass earlier.
constexpr unsigned kCountdownPassMs = 1000;

const std::string kStatus = "Status:  ";

std::string ListModeSuffix(const AppContext& ctx) {
  if (ctx.Entry.UseList != 1) return {};
  return "   UserID(" + std::to_string(ctx.Session.UserIndex) + ")";
}

void OnConnected(AppContext& ctx) {
  DialSession& session = ctx.Session;
  DialerForm& dialer = ctx.frmDialer;
  session.IsConnected = 1;
  session.RetryCount = 0;
  ctx.Platform.TrayIcon.Add(dialer.Icon(), "Connected to: '" + ctx.CurrentEntryName + "'");
  dialer.mnuDisconnect.SetCaption(kCaptionDisconnect);
  dialer.Hide();
  ctx.Ledger.StartCounting();
  if (ctx.Entry.StartBrowser == 1) {
    std::string browser = ctx.Store.ReadRegValue(ctx.Store.SettingsRoot + ctx.CurrentEntryName, "BrowserPath");
    if (browser.empty()) browser = DefaultBrowserPath(ctx.Platform.Shell, ctx.LastResult);
    // With no browser at all, asking the shell to open nothing could open c:\ instead.
    if (!browser.empty()) {
      ctx.LastResult = static_cast<int32_t>(ctx.Platform.Shell.Execute("Open", browser, "", "c:\\", ShowMode::Normal));
    }
  }
}

// How long until the countdown shows another number of seconds (it shows
// `left` rounded to the nearest), or ends; a little past that moment, beyond
// the 8 ms steps of a float time of day late in the day, so that the next
// pass surely sees the change.
unsigned MillisecondsToNextChange(float left) {
  constexpr unsigned kPastTheChangeMs = 10;
  const float shown = std::round(left);
  const float untilChange = std::min(left, left - (shown - 0.5f));
  const auto ms = static_cast<unsigned>(std::ceil(std::max(untilChange, 0.0f) * 1000.0f)) + kPastTheChangeMs;
  return std::min(ms, kCountdownPassMs);
}

// Counts down the entry's redial pause, letting window events run so Cancel
// works and the text stays live, without spinning the processor. True when
// the pause ran out; false when the user cancelled or closed the window.
bool RedialCountdown(AppContext& ctx) {
  DialSession& session = ctx.Session;
  DialerForm& dialer = ctx.frmDialer;
  ClockPort& clock = ctx.Platform.Clock;
  // In floating point: hand-edited values must not overflow.
  session.RedialWaitSeconds = static_cast<float>(ctx.Entry.Minutes * 60.0 + ctx.Entry.Seconds);
  session.RedialWaitStart = static_cast<float>(clock.SecondsSinceMidnight());
  session.CountdownRunning = 1;
  bool ranOut = false;
  for (;;) {
    const auto now = static_cast<float>(clock.SecondsSinceMidnight());
    float elapsed = now - session.RedialWaitStart;
    if (now < session.RedialWaitStart) elapsed += kSecondsPerDay;
    if (elapsed >= session.RedialWaitSeconds) {
      ranOut = session.CancelRequested != 1;
      break;
    }
    if (session.CancelRequested == 1 || !dialer.Loaded()) break;
    // Wakes only when there is something new to show: each wake-up of an
    // idle program costs more than the text it refreshes.
    const float left = session.RedialWaitSeconds - elapsed;
    dialer.txtErr.SetText(session.ErrorLine + "\r\nRedialing in :   " + std::to_string(std::lround(left)) +
                          " seconds.");
    ctx.Platform.Pump.WaitForEvents(MillisecondsToNextChange(left));
  }
  session.CountdownRunning = 0;
  return ranOut;
}

// After the pause of a busy line: the same number and login again.
void HandOffBusyRedial(AppContext& ctx) {
  DialSession& session = ctx.Session;
  DialerForm& dialer = ctx.frmDialer;
  dialer.SetCaption("Redialing:  x " + std::to_string(session.RedialCount) + "  " + session.LocationName + "  " +
                    ctx.Entry.PhoneNumber + ListModeSuffix(ctx));
  dialer.Image1.SetVisible(true);
  dialer.Image2.SetVisible(false);
  dialer.cmdShowOnTime.SetVisible(true);
  dialer.cmdCancel.SetVisible(false);
  dialer.cmdInfo.SetVisible(true);
  dialer.txtErr.SetText("");
  dialer.txtErr.SetVisible(false);
  session.BusyRedialPending = 1;
}

// How many prepared retries may follow one another: the redial limit, and
// in list mode that many rounds of the logins, so each login gets as many
// tries as a single one would.
int64_t RetryLimit(const AppContext& ctx) {
  const int64_t rounds = ctx.Entry.NumberOfRedials;
  return ctx.Entry.UseList == 1 ? rounds * std::max<int32_t>(ctx.Session.UserCount, 1) : rounds;
}

bool IsLineProblem(int32_t error) {
  return error == kRasLineBusy || error == kRasNoDialTone || error == kRasHardwareFailure ||
         error == kRasDeviceNotFoundOrBusy;
}

void OnFailure(AppContext& ctx, int32_t error) {
  DialSession& session = ctx.Session;
  DialerForm& dialer = ctx.frmDialer;
  const EntrySettings& entry = ctx.Entry;

  HangUpConnection(ctx.Platform.DialUp, session.ConnectionHandle, ctx.LastResult);
  session.ErrorLine = "Error " + std::to_string(error) + ": " + ctx.Platform.DialUp.DialErrorText(error);
  dialer.txtErr.SetVisible(true);
  dialer.txtErr.SetText(session.ErrorLine);
  dialer.lblMess.SetCaption(kStatus + "Disconnected.");
  AppendDetails(dialer.txtDetails, dialer.lblMess.Caption() + "\r\n" + session.ErrorLine);
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
  const bool retriesUsedUp = !busyRedial && session.RetryCount >= RetryLimit(ctx);
  if (session.RedialCount >= entry.NumberOfRedials || retriesUsedUp || session.RefusedWith != 0) {
    const int32_t redials = retriesUsedUp ? session.RetryCount : session.RedialCount;
    dialer.SetCaption("End of Redials");
    dialer.cmdInfo.SetCaption(kCaptionOptions);
    dialer.cmdInfo.SetVisible(true);
    dialer.lblMess.SetCaption(kStatus + "Redialed x " + std::to_string(redials) + " times.");
    dialer.txtErr.SetText(session.ErrorLine);
    AppendDetails(dialer.txtDetails, dialer.lblMess.Caption());
    dialer.cmdCancel.SetVisible(true);
    return;
  }

  dialer.SetCaption("Connection Error");
  if (entry.UseList == 1 && !IsLineProblem(error)) {
    const int32_t next = session.UserIndex < session.UserCount ? session.UserIndex + 1 : 1;
    dialer.lblMess.SetCaption(kStatus + "Switching UserID(" + std::to_string(session.UserIndex) + ")  to UserID(" +
                              std::to_string(next) + ")");
    dialer.cmdCancel.SetVisible(false);
    dialer.txtErr.SetText(session.ErrorLine);
    AppendDetails(dialer.txtDetails, dialer.lblMess.Caption());
    HangUpConnection(ctx.Platform.DialUp, session.ConnectionHandle, ctx.LastResult);
  }

  if (busyRedial) {
    ++session.RedialCount;
    dialer.cmdCancel.SetVisible(false);
    if (session.CancelRequested == 1) return;
    if (RedialCountdown(ctx)) HandOffBusyRedial(ctx);
    return;
  }
  // Retries wait the same pause as busy redials: a provider may lock an
  // account that is refused several times a second.
  ++session.RetryCount;
  if (session.CancelRequested == 1) return;
  if (RedialCountdown(ctx)) session.RetryPending = 1;
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

void OnDialEvent(AppContext& ctx, uint32_t /*message*/, uint32_t state, int32_t error) {
  DialSession& session = ctx.Session;
  DialerForm& dialer = ctx.frmDialer;
  if (session.CountdownRunning == 1) return;

  const std::string text = DialStateText(state);
  dialer.lblMess.SetCaption(kStatus + text);
  if (state == kRasStateConnected) {
    OnConnected(ctx);
    if (!ctx.Entry.FileURL.empty()) {
      ReadInternetFile(ctx);
      return;
    }
  }
  if (state == kRasStateDisconnected) {
    HangUpConnection(ctx.Platform.DialUp, session.ConnectionHandle, ctx.LastResult);
    dialer.lblMess.SetCaption(kStatus + "Disconnected.");
  }
  if (session.LastStatusText != text) AppendDetails(dialer.txtDetails, dialer.lblMess.Caption());
  if (!text.empty()) session.LastStatusText = text;
  if (error == 0) return;
  OnFailure(ctx, error);
}

}  // namespace corvane
