// Connection: the one owner of the dial and the line. It runs the start-up
// decision, the attempts with their redials and login rotation, the
// progress messages, the supervisor tick (line watch, auto-disconnect,
// reconnect wait), the booking of the online time and the end of the
// program, in one explicit phase. The dialer window is its view: the
// connection tells it what to show, and the window forwards the user's
// commands here. The running entry's record belongs to the connection; the
// options window edits a copy of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "dial/dial_session.h"
#include "dial/dialup_service.h"
#include "app/line_status.h"
#include "settings/entry_settings.h"
#include "settings/settings_store.h"
#include "stats/allowance_watch.h"
#include "stats/connection_record.h"
#include "stats/idle_watch.h"
#include "stats/line_recorder.h"
#include "stats/live_connection.h"
#include "stats/online_time_ledger.h"

namespace corvane {

class ClockPort;
class DownloadPort;
class EventPumpPort;
class FileSystemPort;
class MessageBoxPort;
class PlatformPort;
class ProcessPort;
class ShellPort;
class TrayIconPort;
class DialerForm;

// Where the connection stands. The flags the design names are views of it:
// IsConnected, LineDropped, BusyRedialPending, RetryPending, CancelRequested.
enum class Phase {
  Idle,             // nothing in flight: waiting for the user, or the redials ended
  CustomWait,       // a custom entry's provider program was started; its line is awaited
  Dialling,         // an attempt is in flight; its progress messages are awaited
  RedialCountdown,  // a failed attempt's pause is counted down, window events running
  RedialDue,        // the pause is over; the next attempt waits for the old handle's release
  Connected,        // the line is up and timed
  ReconnectWait,    // a dropped line waits out its reconnect pause
  Ending,           // the user or a rule ended the program: nothing more is dialled
};

// What the next attempt after a failure dials.
enum class NextAttempt {
  SameLogin,  // a busy line: the same number and login again
  Prepared,   // any other failure: a prepared attempt (the next login in list mode)
};

struct ConnectionPorts {
  DialUpService& DialUp;
  ClockPort& Clock;
  EventPumpPort& Pump;
  TrayIconPort& TrayIcon;
  ShellPort& Shell;
  MessageBoxPort& Messages;
  FileSystemPort& Files;
  DownloadPort& Download;
  PlatformPort& Platform;
  ProcessPort& Processes;
};

// What the connection asks of the program's other windows.
struct ConnectionWindows {
  // Shows the options window on tab `tabIndex` (0 the first); false when
  // there is none to show.
  std::function<bool(int tabIndex)> showOptions;
  // Asks whether the active line may go; false when the user answered No.
  std::function<bool()> confirmDisconnect;
  // Unloads every other open window of the program.
  std::function<void()> closeOtherWindows;
};

class Connection : public LiveConnection {
 public:
  // `commandLine` is the program's, without the program name.
  // `currentEntryName` is the program-wide current entry name the other
  // windows read (the options window clears it when the entry is removed);
  // the connection sets it at start and keeps its own copy for the line.
  // `recorder` writes each booked line to the connection log.
  // `allowance` watches the running entry's monthly allowance.
  Connection(const ConnectionPorts& ports, SettingsStore& store, OnlineTimeLedger& ledger, LineRecorder& recorder,
             AllowanceWatch& allowance, std::string commandLine, std::string& currentEntryName, uint32_t randomSeed);

  // The window the connection shows itself in, and the other windows.
  void Attach(DialerForm& view, ConnectionWindows windows);

  // --- views ---
  Phase CurrentPhase() const { return phase_; }
  bool IsConnected() const override { return phase_ == Phase::Connected; }
  bool LineDropped() const override { return phase_ == Phase::ReconnectWait; }
  bool BusyRedialPending() const { return phase_ == Phase::RedialDue && next_ == NextAttempt::SameLogin; }
  bool RetryPending() const { return phase_ == Phase::RedialDue && next_ == NextAttempt::Prepared; }
  bool CancelRequested() const { return phase_ == Phase::Ending; }
  bool DisconnectRequested() const { return disconnectRequested_; }
  float ReconnectCountdown() const override { return reconnectCountdown_; }
  RasHandle RunningConnection() const override {
    return session_.ConnectionHandle != 0 ? session_.ConnectionHandle : watchedConnection_;
  }
  const std::string& RunningEntryName() const override { return runningEntryName_; }
  const EntrySettings& RunningEntry() const override { return entry_; }
  std::string ChosenPhoneLine() const override;
  uint64_t LineBytes() const override { return recorder_.LineBytes(); }
  double IdleSecondsLeft() const override;
  int64_t LineCost() const override;
  const DialSession& Session() const { return session_; }
  // Icon resource (1..6) the dialing picture shows next; 0 = no animation.
  uint8_t DialAnimationFrame() const { return dialAnimationFrame_; }
  // SettingsRoot + the running entry's name: the key of every per-entry value.
  std::string RunningEntryKey() const { return store_.SettingsRoot + runningEntryName_; }
  // True when the start-up ended the program before any window showed
  // (a second instance, a refused entry name).
  bool EndedAtStart() const { return endedAtStart_; }
  // The supervisor tick must run: a line is up or awaited, or a redial or
  // reconnect is pending.
  bool TickNeeded() const;

  // --- the user's commands and the system's events ---
  // The start-up sequence of the dialer window.
  void Start();
  // The Dial button (it reads Cancel during a dial).
  void DialClicked();
  // The Cancel button (it reads Redial once the redials have ended).
  void CancelClicked();
  // The tray menu's Disconnect, which reads Connect while waiting to reconnect.
  void DisconnectClicked();
  // The statistics window's Disconnect, which never dials: while a dropped
  // line waits to reconnect it ends the wait and the program, as the tray's
  // Exit does; otherwise it drops the line as the tray's Disconnect does.
  void DisconnectButtonClicked();
  // The user closes the window from its close box; false when the window stays.
  bool CloseBoxClicked();
  // One 500 ms supervisor tick.
  void Tick();
  // A progress message of the dial-up service.
  void OnDialMessage(uint32_t message, uint32_t state, int32_t error);
  // The exit path, as the dialer window unloads: hangs up, books, ends.
  void End();
  // Windows is ending the session: the exit path that follows logs the
  // line as ended by the shutdown.
  void SessionEnding() { sessionEnding_ = true; }

  // --- the options window's explicit hand-overs ---
  // The running entry was saved: its stored values now apply to the line.
  void RunningEntrySaved();
  // The user switched the running entry's monitoring off (the time counted
  // so far is booked) or back on (counting starts afresh now).
  void InterruptMonitoring();
  void ResumeMonitoring();

  // Before each prepared dial: takes the number from the number box or the
  // chosen phone-list line and, in list mode, reads the user list.
  void FindPhoneNumber();
  // Once the line to the number server is up: fetches "FileURL"; a new
  // number is stored and, with DisconnectAndDial, the line is switched to it.
  void ReadInternetFile();

  // The user's "Do not ask me again" choice for the running entry, stored
  // by the question itself.
  void DoNotAskChosen(uint8_t doNotAsk) { entry_.DoNotAsk = doNotAsk; }

  // The state a script asks for (--status).
  LineStatus Status();
  // A script's --hang-up: the line goes as with the tray's Disconnect, without
  // the question; false when there is no line.
  bool HangUpForScript();

  // The tray icon's tooltip for the moment; empty to leave it as it is.
  std::string TrayTooltip();

 private:
  // start-up
  void BookLeftCheckpoints(const std::vector<std::string>& entryNames);
  void StartCustomEntry();
  bool WaitForCustomConnection();
  // attempts
  void SetPhase(Phase phase);
  bool CheckDialTexts();
  void PrepareAndDial();
  RasHandle DialEntry();
  void ReportRefusedDial();
  void RedialButton();
  // progress messages
  void OnDialEvent(uint32_t state, int32_t error);
  void OnConnected();
  void OnLineDroppedMessage();
  void OnFailure(int32_t error);
  bool RedialCountdown();
  void HandOffBusyRedial();
  void AppendDetails(const std::string& text);
  // supervisor
  bool WatchLine();
  bool OnLineLost();
  void WaitToReconnect();
  void ReconnectNow();
  void DisconnectAtAge();
  void RunHandOffs();
  void WatchSilentDial();
  void AnimateDialing();
  // ending
  bool DisconnectActiveLine(bool ask = true);
  void EndProgram();
  // Every end of a line comes here, in the order that keeps its record
  // whole: its last traffic is read while the service still knows the line
  // (the service forgets a line's counters as it lets go of it), then it is
  // hung up, its off time stored, its time booked and its record logged as
  // ended by `end`, then the entry's disconnect action started with that
  // record (once: only a line up is ended). The tray follows in the caller, which knows whether the
  // program ends or waits to reconnect. A line already ended, or a dial that
  // never brought one up, is only hung up (handle 0: nothing to hang up).
  void EndLine(ConnectionEnd end, RasHandle line);
  void EndLine(ConnectionEnd end) { EndLine(end, session_.ConnectionHandle); }
  void StoreLastOffTime();
  // The line came up `upAlreadySeconds` ago: it is timed and, while its time
  // is monitored, recorded for the connection log.
  void StartTiming(double upAlreadySeconds = 0);
  // Books the line's time, once, and logs it as ended by `end`.
  void BookLine(ConnectionEnd end);
  // Tells from the tray, once, that the connection log cannot be written.
  void TellLogFailure();
  std::string ListModeSuffix() const;
  // the monthly allowance
  AllowanceUse AllowanceUsed();
  void WatchAllowance();
  void ShowAllowanceWarnings(const AllowanceUse& use, const std::string& limitNote);
  bool AllowanceBarsReconnect();
  bool DialPastAllowanceAllowed();
  // the idle hang-up
  void StartIdleWatch();
  void WatchIdle();
  // the user's actions: started after the line is up (after the browser),
  // and after a line has ended and been booked
  void RunConnectAction();
  void RunDisconnectAction(const ConnectionRecord& ended);
  // Stores the number file's new `number` as the entry's, keeping the one
  // it replaces, and tells the user in the details log and a tray balloon.
  void StoreNewNumber(const std::string& number);

  ConnectionPorts ports_;
  SettingsStore& store_;
  OnlineTimeLedger& ledger_;
  LineRecorder& recorder_;
  AllowanceWatch& allowance_;
  std::string& currentEntryName_;
  DialerForm* view_ = nullptr;
  ConnectionWindows windows_;
  std::string commandLine_;

  Phase phase_ = Phase::Idle;
  NextAttempt next_ = NextAttempt::Prepared;
  bool endedAtStart_ = false;
  bool disconnectRequested_ = false;
  std::string runningEntryName_;
  EntrySettings entry_;
  DialSession session_;
  // Draws the login rotation's random start; seeded once, so a test that
  // fixes the seed fixes every draw.
  std::mt19937 random_;

  // The reconnect wait: monotonic seconds when the dropped line was seen
  // gone, the seconds left, and the delay rule chosen at the last drop
  // ("OffTimeEx1" or "OffTimeEx2").
  double droppedAt_ = 0;
  float reconnectCountdown_ = 0;
  std::string reconnectRule_;
  // The one active connection a custom entry's provider program made; the
  // program never dialled it, so it is watched, not owned.
  RasHandle watchedConnection_ = 0;
  // Icon resource (1..6) the dialing picture shows next; 0 = no animation.
  uint8_t dialAnimationFrame_ = 0;
  // A line came up (it is timed) and has not been ended yet.
  bool lineUp_ = false;
  // Windows is ending the session: the line is logged as ended by it.
  bool sessionEnding_ = false;
  // The user answered Yes to dialling past a used-up allowance: this run
  // neither asks again nor hangs up at the limit.
  bool allowanceOverridden_ = false;
  // What the dialer's buttons stand for: Dial cancels once a dial was issued
  // (until a reconnect starts afresh); Cancel redials once an attempt failed.
  bool dialCancels_ = false;
  bool cancelRedials_ = false;
  // The idle rule of the line up, and the time of the recorder's reading
  // it last took in.
  IdleWatch idle_;
  double idleReadingAt_ = 0;
  // The tooltip alternates between the statistics and the countdown.
  uint8_t tooltipAlternate_ = 0;
};

}  // namespace corvane
