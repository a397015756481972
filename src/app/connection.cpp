// Connection: its phase, the end of the program, disconnecting, and the
// options window's hand-overs of the running entry.
#include "app/connection.h"

#include "app/dialer_captions.h"
#include "app/dialer_form.h"
#include "settings/password.h"
#include "system/clock_port.h"
#include "system/tray_icon_port.h"

namespace corvane {

Connection::Connection(const ConnectionPorts& ports, SettingsStore& store, OnlineTimeLedger& ledger,
                       LineRecorder& recorder, AllowanceWatch& allowance, std::string commandLine,
                       std::string& currentEntryName, uint32_t randomSeed)
    : ports_(ports),
      store_(store),
      ledger_(ledger),
      recorder_(recorder),
      allowance_(allowance),
      currentEntryName_(currentEntryName),
      commandLine_(std::move(commandLine)),
      random_(randomSeed) {}

void Connection::Attach(DialerForm& view, ConnectionWindows windows) {
  view_ = &view;
  windows_ = std::move(windows);
}

bool Connection::TickNeeded() const {
  switch (phase_) {
    case Phase::CustomWait:
    case Phase::Dialling:
    case Phase::RedialCountdown:
    case Phase::RedialDue:
    case Phase::Connected:
    case Phase::ReconnectWait: return true;
    case Phase::Idle:
    case Phase::Ending: return false;
  }
  return false;
}

// Every change of phase goes through here, so the supervisor tick runs
// exactly while something is live or pending, whatever the monitoring
// switch says: a redial or a reconnect never waits for a tick that is off.
void Connection::SetPhase(Phase phase) {
  phase_ = phase;
  view_->Timer1.SetEnabled(TickNeeded());
}

void Connection::EndLine(ConnectionEnd end, RasHandle line) {
  const bool up = lineUp_;
  lineUp_ = false;
  if (up) recorder_.ReadTraffic();
  // Handle 0 is no connection (nothing dialled yet, or a custom entry's line,
  // which is the provider program's): there is nothing to hang up.
  if (line != 0) ports_.DialUp.HangUp(line);
  if (!up) return;
  StoreLastOffTime();
  if (entry_.MonitorTime == 0) return;
  const bool recording = recorder_.Recording();
  BookLine(end);
  // Last: the user's action learns of the line as it was booked and
  // logged, and whatever it does cannot hold up either.
  if (recording && !recorder_.Recording()) RunDisconnectAction(recorder_.LastRecord());
}

void Connection::StoreLastOffTime() {
  const auto now = static_cast<long>(ports_.Clock.SecondsSinceMidnight());
  store_.SaveRegValue(RunningEntryKey(), kLastOffTimeValue, std::to_string(now));
}

void Connection::StartTiming(double upAlreadySeconds) {
  ledger_.StartCounting(upAlreadySeconds);
  lineUp_ = true;
  allowance_.Load(runningEntryName_);
  // An unmonitored line is never booked, so it has no record either.
  if (entry_.MonitorTime != 0) {
    recorder_.Begin(runningEntryName_, RunningEntryKey(), entry_.PhoneNumber, entry_.UserName, RunningConnection(),
                    upAlreadySeconds);
    TellLogFailure();
  }
  StartIdleWatch();
}

void Connection::BookLine(ConnectionEnd end) {
  const std::optional<Booking> booking = ledger_.SaveOnlineTime(RunningEntryKey());
  if (!booking) return;
  const std::string failure = recorder_.Finish(end, *booking, allowance_.EntryTariff());
  if (failure.empty()) return;
  AppendDetails(failure);
  // The program's end takes the icon away at once: the next run tells it.
  if (phase_ != Phase::Ending) TellLogFailure();
}

void Connection::TellLogFailure() {
  const std::string& notice = recorder_.LogFailureNotice();
  if (!notice.empty() && ports_.TrayIcon.ShowBalloon("Connection log not written", notice)) {
    recorder_.LogFailureNoticeShown();
  }
}

// The connection ends here and now, then the dialer window unloads. The
// end must not wait for that unload: it is refused while the window is
// already in its close-box question, and the program would go on waiting
// with nothing left to end it.
void Connection::EndProgram() {
  End();
  view_->Unload();
}

void Connection::End() {
  // Once is enough: the unload that follows a rule's end comes here again.
  if (phase_ == Phase::Ending) return;
  // Whatever still waits (a busy-redial countdown, a pending redial) must
  // stop with the window.
  SetPhase(Phase::Ending);
  session_.Hooked = 0;
  // A custom entry's line is the provider program's: it is not hung up here.
  EndLine(sessionEnding_ ? ConnectionEnd::Shutdown : ConnectionEnd::User);
  ports_.TrayIcon.Delete();
  if (windows_.closeOtherWindows) windows_.closeOtherWindows();
}

bool Connection::CloseBoxClicked() {
  if (entry_.MonitorTime == 0) {
    EndLine(ConnectionEnd::User);
    return true;
  }
  // While waiting to reconnect there is no line to drop: the window just closes.
  if (phase_ == Phase::ReconnectWait) return true;
  return DisconnectActiveLine();
}

void Connection::DisconnectClicked() {
  // The item reads "&Connect" while a dropped line waits to reconnect: the
  // user wants the line back now rather than after the pause.
  if (phase_ == Phase::ReconnectWait) {
    ReconnectNow();
    return;
  }
  DisconnectActiveLine();
}

void Connection::DisconnectButtonClicked() {
  if (phase_ == Phase::ReconnectWait) {
    EndProgram();
    return;
  }
  DisconnectActiveLine();
}

// Hangs up the active line, asking first unless `ask` is false or the user
// chose not to be asked; false when the user answered No. The question is asked before anything changes: the
// supervisor goes on while it is open, and a No leaves the connection as
// the supervisor has it by then, never half disconnected.
bool Connection::DisconnectActiveLine(bool ask) {
  std::vector<ActiveConnection> connections;
  const int count = ports_.DialUp.EnumActiveConnections(connections);
  // A service that cannot list its connections still knows the one this
  // program runs (dialled, or the custom entry's): the user asked for it to
  // go, so it goes.
  const bool listed = count != kConnectionsUnknown;
  if (listed && (count == 0 || connections.empty())) {
    // No line yet, but a dial on its way: left unwatched it would bring up
    // a line nobody times. The user asked for no line: the dial goes too.
    // (The exit path hangs it up.)
    if (phase_ == Phase::Dialling || phase_ == Phase::RedialCountdown || phase_ == Phase::RedialDue) {
      EndProgram();
      return true;
    }
    disconnectRequested_ = true;
    session_.Hooked = 0;
    return true;
  }
  const RasHandle line = listed ? connections.back().Handle : RunningConnection();
  const bool declined = ask && entry_.DoNotAsk == 0 && windows_.confirmDisconnect && !windows_.confirmDisconnect();
  // The line may have dropped while the question was open and a rule ended
  // the program: it ends whatever the answer was.
  if (!view_->Loaded() || phase_ == Phase::Ending) return true;
  if (declined) return false;
  disconnectRequested_ = true;
  session_.Hooked = 0;
  EndLine(ConnectionEnd::User, line);
  EndProgram();
  return true;
}

void Connection::RunningEntrySaved() {
  const uint8_t monitorTime = entry_.MonitorTime;
  // In list mode the record holds the attempt's number and login, taken from
  // the lists; the stored entry has none. A busy redial, a retry or Redial
  // dials them again, so they stay; the saved lists apply from the next
  // prepared dial.
  const bool listAttempt = entry_.UseList == 1;
  std::string number = std::move(entry_.PhoneNumber);
  std::string userName = std::move(entry_.UserName);
  std::string password = std::move(entry_.Password);
  entry_ = LoadEntry(store_, RunningEntryKey());
  view_->ShowEntryNumber(entry_);
  if (listAttempt && entry_.UseList == 1) {
    entry_.PhoneNumber = std::move(number);
    entry_.UserName = std::move(userName);
    entry_.Password.swap(password);
  }
  WipeText(password);
  allowance_.Load(runningEntryName_);
  // The monitoring of a live line changes only through the switch's own
  // hand-overs, which have booked or restarted the count already.
  if (phase_ == Phase::Connected) {
    entry_.MonitorTime = monitorTime;
    // The saved idle rule counts from now.
    StartIdleWatch();
  }
  if (entry_.UseList == 0) {
    view_->cmbList.SetVisible(false);
    view_->txtCombo.SetVisible(phase_ == Phase::Idle);
  }
}

void Connection::InterruptMonitoring() {
  recorder_.ReadTraffic();
  BookLine(ConnectionEnd::MonitoringOff);
  entry_.MonitorTime = 0;
  idle_.Stop();
}

void Connection::ResumeMonitoring() {
  entry_.MonitorTime = 1;
  // A line whose drop was reported and ended, though the tick has not yet
  // left the phase, is not timed again: it would be booked and logged twice.
  if (phase_ != Phase::Connected || !lineUp_) return;
  StartTiming();
  // The line's traffic until now was booked when monitoring stopped, or
  // belongs to no timed span at all.
  recorder_.CountTrafficFromNow();
}

std::string Connection::ChosenPhoneLine() const { return view_ != nullptr ? view_->cmbList.Text() : std::string(); }

std::string Connection::ListModeSuffix() const {
  if (entry_.UseList != 1) return {};
  return "   UserID(" + std::to_string(session_.UserIndex) + ")";
}

}  // namespace corvane
