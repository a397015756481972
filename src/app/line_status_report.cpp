// Connection: what a script asks of the running program, its state and the
// end of its line.
#include <cmath>

#include "app/connection.h"
#include "stats/allowance_watch.h"
#include "stats/monthly_online_time.h"
#include "system/clock_port.h"

namespace corvane {

namespace {

LineState StateOf(Phase phase) {
  switch (phase) {
    case Phase::CustomWait:
    case Phase::Dialling:
      return LineState::Dialling;
    case Phase::RedialCountdown:
    case Phase::RedialDue:
      return LineState::Redialling;
    case Phase::Connected:
      return LineState::Connected;
    case Phase::ReconnectWait:
      return LineState::WaitingToReconnect;
    case Phase::Idle:
    case Phase::Ending:
      break;
  }
  return LineState::Ended;
}

int64_t WholeSecondsLeft(double seconds) { return seconds > 0 ? static_cast<int64_t>(std::ceil(seconds)) : 0; }

}  // namespace

LineStatus Connection::Status() {
  LineStatus status;
  status.State = StateOf(phase_);
  status.Entry = ShownEntryName(runningEntryName_);
  if (phase_ == Phase::RedialCountdown) {
    const double elapsed = ports_.Clock.MonotonicSeconds() - session_.RedialWaitStart;
    status.Countdown = WholeSecondsLeft(session_.RedialWaitSeconds - elapsed);
  } else if (phase_ == Phase::ReconnectWait) {
    status.Countdown = WholeSecondsLeft(reconnectCountdown_);
  }
  if (runningEntryName_.empty()) return status;
  status.MonthSeconds = MonthTotal(ledger_, store_, *this, runningEntryName_);
  if (phase_ != Phase::Connected) return status;

  ledger_.UpdateElapsed();
  status.ConnectedAt = static_cast<int64_t>(ledger_.ConnectTime());
  status.SecondsOnline = static_cast<int64_t>(ledger_.ElapsedSeconds());
  ConnectionStatistics statistics;
  if (ports_.DialUp.GetConnectionStatistics(RunningConnection(), statistics) == kRasSuccess) {
    status.Speed = statistics.Bps;
    status.BytesSent = statistics.BytesTransmitted;
    status.BytesReceived = statistics.BytesReceived;
  }
  // The allowance is the one the line was started with, as the tray's
  // tooltip shows it.
  static constexpr std::string_view kLeftPrefix = "Left: ";
  std::string left = AllowanceLeftText(allowance_.Settings(), AllowanceUsed());
  if (left.compare(0, kLeftPrefix.size(), kLeftPrefix) == 0) left.erase(0, kLeftPrefix.size());
  status.AllowanceLeft = left;
  return status;
}

bool Connection::HangUpForScript() {
  if (phase_ != Phase::Connected) return false;
  return DisconnectActiveLine(/*ask=*/false);
}

}  // namespace corvane
