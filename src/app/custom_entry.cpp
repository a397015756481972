// The custom entry: an Internet provider's own connection program is
// started, and once its connection is up the program stays in the tray as
// a watcher that times it.
#include <string>

#include "app/app_context.h"
#include "system/clock_port.h"
#include "system/event_pump_port.h"
#include "system/shell_port.h"
#include "system/tray_icon_port.h"

namespace corvane {

namespace {

constexpr int kDefaultCustomTrayIcon = 101;
// The shell answers 32 or less when it could not start a program.
constexpr long kShellExecuteFailedAtMost = 32;
// How long the provider's program may take to connect, seconds.
constexpr double kCustomWaitSeconds = 180.0;
// One pass of that wait sleeps at most this long when no event arrives.
constexpr unsigned kCustomWaitPassMs = 200;

}  // namespace

// Starts the provider's own connection program and, once its connection is
// up, stays in the tray as a watcher that times it.
void DialerForm::StartCustomEntry() {
  ctx_.CurrentEntryName = "*" + ctx_.CurrentEntryName;
  SettingsStore& store = ctx_.Store;
  const std::string customKey = store.SettingsRoot + store.CustomEntryKey;
  const std::string location = store.ReadRegValue(customKey, "Location");
  const size_t slash = location.rfind('\\');
  std::string folder = slash == std::string::npos ? std::string() : location.substr(0, slash + 1);
  if (folder.empty()) folder = "c:\\";
  const long started = ctx_.Platform.Shell.Execute("open", location, "", folder, ShowMode::MinimizedNoActivate);
  // A hidden process would only hold the single-instance token.
  if (started <= kShellExecuteFailedAtMost) {
    Unload();
    return;
  }
  if (!WaitForCustomConnection()) {
    if (Loaded()) Unload();
    return;
  }

  DialSession& session = ctx_.Session;
  session.IsConnected = 1;
  ctx_.Ledger.StartCounting();
  mnuOptions.SetEnabled(false);
  ctx_.Entry.DoNotAsk = ReadByte(store.ReadRegValue(customKey, "DoNotAsk"), 0);
  const uint8_t customIcon = ReadByte(store.ReadRegValue(customKey, "Icon"), 0);
  ctx_.Platform.TrayIcon.Add(customIcon != 0 ? customIcon : kDefaultCustomTrayIcon,
                             "Connected to: '" + ctx_.CurrentEntryName + "'");
  Hide();
  SetWindowState(forms::WindowState::Minimized);
}

// Lets window events run until the tick sees the provider's connection, for
// at most the custom wait measured on the monotonic clock. False when it did
// not come (or the window was closed meanwhile).
bool DialerForm::WaitForCustomConnection() {
  // A custom entry is always timed; its line is watched from the first tick.
  ctx_.Entry.MonitorTime = 1;
  Timer1.SetEnabled(true);
  ClockPort& clock = ctx_.Platform.Clock;
  const double start = clock.MonotonicSeconds();
  while (!ConnectionDetected && Loaded() && clock.MonotonicSeconds() - start < kCustomWaitSeconds) {
    ctx_.Platform.Pump.WaitForEvents(kCustomWaitPassMs);
  }
  return ConnectionDetected && Loaded();
}

}  // namespace corvane
