// The dialer window's tray icon callback: every mouse event on the icon
// rebuilds its tooltip; a left click opens the statistics window, a right
// click the pop-up menu.
#include <string>

#include "app/app_context.h"
#include "app/tray_display.h"
#include "dial/dialup_service.h"
#include "stats/monthly_online_time.h"
#include "system/clock_port.h"
#include "system/tray_icon_port.h"

namespace corvane {

namespace {

// Mouse messages as the shell reports them for the icon.
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kLeftDoubleClick = 0x0203;
constexpr uint32_t kRightButtonUp = 0x0205;

}  // namespace

void DialerForm::TrayIcon_Callback(uint32_t mouseMessage) {
  if (const std::string tip = TrayTooltip(); !tip.empty()) ctx_.Platform.TrayIcon.Modify(kTrayKeepIcon, tip);
  if (mouseMessage == kLeftButtonUp || mouseMessage == kLeftDoubleClick) {
    // The window keeps the entry it was last opened for; only before any
    // opener has named one does it take the running entry, rather than
    // showing an account of no entry at all.
    ShowStatisticsWindow(ctx_.StatsEntryName.empty() ? ctx_.CurrentEntryName : ctx_.StatsEntryName);
  } else if (mouseMessage == kRightButtonUp) {
    // The menu only closes when the user clicks elsewhere if its owner is
    // the foreground window. Done here rather than on every mouse event, so
    // that merely passing over the icon leaves the keyboard where it was.
    SetForeground();
    PopupMenu(mnuSystray);
  }
}

// The tooltip for the moment; empty to leave it as it is.
std::string DialerForm::TrayTooltip() {
  const DialSession& session = ctx_.Session;
  const SupervisorState& supervisor = ctx_.Supervisor;
  const std::string& name = ctx_.CurrentEntryName;
  if (session.IsConnected != 1) {
    return supervisor.LineDropped == 1 ? ReconnectCountdownText(supervisor.ReconnectCountdown) : std::string();
  }
  const EntrySettings& entry = ctx_.Entry;
  if (entry.MonitorTime != 1) return "Connected to: '" + name + "'";

  TooltipAlternate = TooltipAlternate == 0 ? 1 : 0;
  OnlineTimeLedger& ledger = ctx_.Ledger;
  ledger.UpdateElapsed();
  if (TooltipAlternate == 0 && entry.AutoDisconnect == 1) {
    return DisconnectionCountdownText(entry.AutoDisconnectTime - ledger.ElapsedSeconds());
  }

  ConnectionStatistics statistics;
  const uint32_t speed = ctx_.Platform.DialUp.GetConnectionStatistics(ctx_.RunningConnection(), statistics) == kRasSuccess
                             ? statistics.Bps
                             : 0;
  const auto connectionSeconds = static_cast<int64_t>(ledger.ElapsedSeconds());
  const int64_t monthSeconds = ledger.StoredMonthSeconds(ctx_.CurrentEntryKey()) + connectionSeconds;
  ClockPort& clock = ctx_.Platform.Clock;
  return ConnectionStatisticsText(ShownEntryName(name), speed, connectionSeconds, monthSeconds,
                                  clock.MonthName(clock.MonthNumber()));
}

}  // namespace corvane
