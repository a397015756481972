// Connection: the running entry's monthly allowance, checked at the
// supervisor tick from figures the line watch has already read (the
// service is asked no more often for it): the warnings from the tray icon,
// the hang-up at the limit, no reconnect past it, and the question before a
// dial past it.
#include "app/connection.h"
#include "stats/monthly_online_time.h"
#include "system/message_box_port.h"
#include "system/tray_icon_port.h"

namespace corvane {

AllowanceUse Connection::AllowanceUsed() {
  return allowance_.Used(MonthTotal(ledger_, store_, *this, runningEntryName_), recorder_.LineBytes(), LineCost());
}

int64_t Connection::LineCost() const {
  const Tariff& tariff = allowance_.EntryTariff();
  if (!tariff.Any() || phase_ != Phase::Connected || entry_.MonitorTime != 1) return 0;
  return recorder_.CostAfter(tariff, static_cast<int64_t>(ledger_.ElapsedSeconds()));
}

void Connection::WatchAllowance() {
  const AllowanceSettings& allowance = allowance_.Settings();
  // Once the line is being hung up, its end is settled.
  if (!allowance.Any() || !lineUp_) return;
  const AllowanceUse use = AllowanceUsed();
  // A custom entry's line is its provider program's: it is never hung up here.
  const bool hangUp = allowance.HangUp == 1 && !allowanceOverridden_ && session_.ConnectionHandle != 0 &&
                      allowance_.UsedUp(use);
  ShowAllowanceWarnings(use, hangUp ? "\r\nThe line is hung up." : "");
  if (!hangUp) return;
  // As the age limit does: the next tick finds the line gone and ends the
  // program.
  disconnectRequested_ = true;
  EndLine(ConnectionEnd::Allowance);
}

// The warnings `use` has newly reached, each once; `limitNote` follows the
// limit's text.
void Connection::ShowAllowanceWarnings(const AllowanceUse& use, const std::string& limitNote) {
  for (const AllowanceWarning& warning : allowance_.NewWarnings(use)) {
    const std::string note = warning.Level == AllowanceLevel::Limit ? limitNote : "";
    ports_.TrayIcon.ShowBalloon(warning.Title, warning.Text + note);
  }
}

// A line lost while the allowance is used up is not redialled that month,
// whoever hung it up. The line may have passed the limit since the last
// tick looked (its last traffic is read as it is booked): then the user
// learns from the limit's warning why it is not redialled.
bool Connection::AllowanceBarsReconnect() {
  if (allowance_.Settings().HangUp != 1) return false;
  const AllowanceUse use = AllowanceUsed();
  if (!allowance_.UsedUp(use)) return false;
  ShowAllowanceWarnings(use, "\r\nThe line is not dialled again.");
  return true;
}

// Without monitoring nothing is counted, so there is no allowance to ask
// about. A Yes holds for the rest of the run.
bool Connection::DialPastAllowanceAllowed() {
  if (allowanceOverridden_ || entry_.MonitorTime != 1) return true;
  allowance_.Load(runningEntryName_);
  const AllowanceUse use = allowance_.Used(MonthTotal(ledger_, store_, *this, runningEntryName_), 0, 0);
  if (allowance_.Settings().HangUp != 1 || !allowance_.UsedUp(use)) return true;
  const std::string question =
      "This month's allowance for '" + ShownEntryName(runningEntryName_) + "' is used up. Dial anyway?";
  allowanceOverridden_ =
      ports_.Messages.Show(question, "Corvane", MsgIcon::Question, MsgButtons::YesNoDefaultNo) == MsgResult::Yes;
  return allowanceOverridden_;
}

}  // namespace corvane
