// The tray icon's callback and tooltip: every mouse event on the icon
// rebuilds its tooltip; a left click opens the statistics window, a right
// click the pop-up menu.
#include <string>

#include "app/connection.h"
#include "app/dialer_form.h"
#include "app/tray_display.h"
#include "dial/dialup_service.h"
#include "stats/money_text.h"
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
  if (const std::string tip = connection_.TrayTooltip(); !tip.empty()) {
    services_.trayIcon.Modify(kTrayKeepIcon, tip);
  }
  if (mouseMessage == kLeftButtonUp || mouseMessage == kLeftDoubleClick) {
    if (windows_.showStatistics) windows_.showStatistics({});
  } else if (mouseMessage == kRightButtonUp) {
    // The menu only closes when the user clicks elsewhere if its owner is
    // the foreground window. Done here rather than on every mouse event, so
    // that merely passing over the icon leaves the keyboard where it was.
    SetForeground();
    PopupMenu(mnuSystray);
  }
}

std::string Connection::TrayTooltip() {
  const std::string& name = runningEntryName_;
  if (phase_ != Phase::Connected) {
    return phase_ == Phase::ReconnectWait ? ReconnectCountdownText(reconnectCountdown_) : std::string();
  }
  if (entry_.MonitorTime != 1) return "Connected to: '" + name + "'";

  tooltipAlternate_ = tooltipAlternate_ == 0 ? 1 : 0;
  ledger_.UpdateElapsed();
  if (tooltipAlternate_ == 0) {
    // The nearer of the two hang-ups is the one worth knowing.
    const double ageLeft = entry_.AutoDisconnect == 1 ? entry_.AutoDisconnectTime - ledger_.ElapsedSeconds() : -1;
    const double idleLeft = IdleSecondsLeft();
    if (idleLeft >= 0 && (entry_.AutoDisconnect != 1 || idleLeft < ageLeft)) return IdleCountdownText(idleLeft);
    if (entry_.AutoDisconnect == 1) return DisconnectionCountdownText(ageLeft);
  }

  ConnectionStatistics statistics;
  const uint32_t speed =
      ports_.DialUp.GetConnectionStatistics(RunningConnection(), statistics) == kRasSuccess ? statistics.Bps : 0;
  const auto connectionSeconds = static_cast<int64_t>(ledger_.ElapsedSeconds());
  const int64_t monthSeconds = ledger_.StoredMonthSeconds(RunningEntryKey()) + connectionSeconds;
  ClockPort& clock = ports_.Clock;
  const Tariff& tariff = allowance_.EntryTariff();
  std::string left =
      AllowanceLeftText(allowance_.Settings(), allowance_.Used(monthSeconds, LineBytes(), LineCost()), tariff);
  if (left.empty() && tariff.Any()) left = "Cost: " + MoneyText(LineCost(), tariff.Decimals, tariff.Currency);
  return ConnectionStatisticsText(ShownEntryName(name), speed, connectionSeconds, monthSeconds,
                                  clock.MonthName(clock.Today().Month), left);
}

}  // namespace corvane
