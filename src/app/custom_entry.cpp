// The custom entry: an Internet provider's own connection program is
// started, and once its connection is up the program stays in the tray as
// a watcher that times it.
#include <string>

#include "app/connection.h"
#include "app/dialer_form.h"
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

void Connection::StartCustomEntry() {
  DialerForm& view = *view_;
  const std::string customKey = store_.SettingsRoot + store_.CustomEntryKey;
  const std::string location = store_.ReadRegValue(customKey, "Location");
  const size_t slash = location.rfind('\\');
  std::string folder = slash == std::string::npos ? std::string() : location.substr(0, slash + 1);
  if (folder.empty()) folder = "c:\\";
  const long started = ports_.Shell.Execute("open", location, "", folder, ShowMode::MinimizedNoActivate);
  // A hidden process would only hold the single-instance token.
  if (started <= kShellExecuteFailedAtMost) {
    view.Unload();
    return;
  }
  if (!WaitForCustomConnection()) {
    if (view.Loaded()) view.Unload();
    return;
  }

  SetPhase(Phase::Connected);
  StartTiming();
  view.mnuOptions.SetEnabled(false);
  entry_.DoNotAsk = ReadByte(store_.ReadRegValue(customKey, "DoNotAsk"), 0);
  const uint8_t customIcon = ReadByte(store_.ReadRegValue(customKey, "Icon"), 0);
  ports_.TrayIcon.Add(customIcon != 0 ? customIcon : kDefaultCustomTrayIcon,
                      "Connected to: '" + runningEntryName_ + "'");
  view.Hide();
  view.SetWindowState(forms::WindowState::Minimized);
}

// Lets window events run until the tick sees the provider's connection, for
// at most the custom wait measured on the monotonic clock. False when it did
// not come (or the window was closed meanwhile).
bool Connection::WaitForCustomConnection() {
  DialerForm& view = *view_;
  // A custom entry is always timed; its line is watched from the first tick.
  entry_.MonitorTime = 1;
  SetPhase(Phase::CustomWait);
  ClockPort& clock = ports_.Clock;
  const double start = clock.MonotonicSeconds();
  while (!view.ConnectionDetected && view.Loaded() && clock.MonotonicSeconds() - start < kCustomWaitSeconds) {
    ports_.Pump.WaitForEvents(kCustomWaitPassMs);
  }
  return view.ConnectionDetected && view.Loaded();
}

}  // namespace corvane
