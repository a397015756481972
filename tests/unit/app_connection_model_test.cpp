// The connection against a simulated dial-up service, driven by seeded
// random sequences of user and service events (dial, busy, refused login,
// refused request, connect, drops with and without an error, the options
// window browsed, saved and cancelled, the monitoring switch, the statistics
// window, Cancel, Redial, Exit, the tray's Disconnect, kill and restart, the
// wall clock moved, traffic on the line against a data allowance and the
// idle rule, the user away for a while). After
// every step the invariants below must hold (the connection log's among
// them: its seconds per entry and month are the account's, and each record
// is named for what ended its line; and the allowance's: no warning shown
// twice, no dial after its hang-up but the user's past its question; and
// the idle rule's: no idle hang-up while the traffic of its window was
// above the threshold; and each ended line's disconnect action started
// exactly once, with the end its record names); a
// failing sequence is shrunk to a short one and printed with its seed.
//
// CORVANE_MODEL_RUNS and CORVANE_MODEL_STEPS set the size of the run (the
// test command runs it briefly; the long run's figures are in the
// reliability notes).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "fakes/fake_dialup_service.h"
#include "fakes/fake_files.h"
#include "fakes/fake_form_host.h"
#include "fakes/fake_log_files.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system.h"
#include "fakes/fake_tray_icon.h"
#include "fakes/program_fixture.h"
#include "stats/connection_log.h"
#include "stats/online_time_ledger.h"
#include "support/model_run.h"

namespace corvane::testing {
namespace {

constexpr double kTick = 0.5;
constexpr double kCheckpointSeconds = 1;
constexpr uint32_t kDialing = 2;
constexpr uint32_t kAuthenticating = 5;
constexpr int32_t kDropError = 629;
constexpr int32_t kRejected = 633;
constexpr uint64_t kIdleThreshold = 2048;  // the entry's, in bytes a minute: the default
const char* const kDisconnectAction = "C:\\Tools\\down.exe";

// The service as the program meets it: one line at most, handles that turn
// invalid once hung up, and the record of when each line was up.
class SimulatedService : public FakeDialUpService {
 public:
  explicit SimulatedService(FakeClock& clock) : clock_(clock) {}

  int32_t Dial(const std::string& phonebook, RasWindow window, RasHandle& handle) override {
    FakeDialUpService::Dial(phonebook, window, handle);
    if (rejectNext) {
      rejectNext = false;
      handle = 0;
      return kRejected;
    }
    if (inFlight != 0 || upHandle != 0) {
      violation = "a dial was issued while another dial or line was live";
    }
    handle = ++lastHandle;
    inFlight = handle;
    return kRasSuccess;
  }
  int32_t HangUp(RasHandle handle) override {
    FakeDialUpService::HangUp(handle);
    if (handle == inFlight) inFlight = 0;
    if (handle == upHandle) {
      hungUpAt = clock_.monotonic;
      LineDown();
    }
    return kRasSuccess;
  }
  int32_t QueryConnectStatus(RasHandle handle, ConnectStatus& status) override {
    if (handle == 0 || (handle != inFlight && handle != upHandle)) return kRasInvalidHandle;
    status = ConnectStatus{};
    status.State = handle == upHandle ? kRasStateConnected : kDialing;
    return kRasSuccess;
  }

  // The far end answers the dial in flight.
  bool Connect() {
    if (inFlight == 0) return false;
    upHandle = inFlight;
    inFlight = 0;
    upSince = clock_.monotonic;
    statistics.BytesReceived = 0;
    traffic.clear();
    connections = {ListedLine(upHandle)};
    return true;
  }
  void LineDown() {
    upSeconds += clock_.monotonic - upSince;
    ++lines;
    upHandle = 0;
    connections.clear();
  }

  RasHandle lastHandle = 0x1000;
  RasHandle inFlight = 0;
  RasHandle upHandle = 0;
  double upSince = 0;
  double upSeconds = 0;  // of every line that has gone down
  double hungUpAt = 0;   // when the program last hung a line up
  // The traffic of the line up: when, and how many bytes.
  std::vector<std::pair<double, uint64_t>> traffic;
  int lines = 0;
  bool rejectNext = false;
  std::string violation;

 private:
  FakeClock& clock_;
};

enum class Act {
  Tick, Dial, Redial, Cancel, Busy, RefusedLogin, RejectNext, Connect, DropQuietly, DropWithError,
  OptionsBrowse, OptionsSave, MonitoringToggle, Statistics, TrayDisconnect, Exit, Kill, ClockJump, Traffic,
  AnswerYes, AnswerNo, Away, Count
};

const char* Name(Act act) {
  static const char* const kNames[] = {"Tick",          "Dial",         "Redial",          "Cancel",
                                       "Busy",          "RefusedLogin", "RejectNext",      "Connect",
                                       "DropQuietly",   "DropWithError", "OptionsBrowse",  "OptionsSave",
                                       "MonitoringToggle", "Statistics", "TrayDisconnect", "Exit",
                                       "Kill",          "ClockJump",    "Traffic",         "AnswerYes",
                                       "AnswerNo",      "Away"};
  return kNames[static_cast<int>(act)];
}

struct Step {
  Act act;
  uint32_t value;  // a number to save, a clock jump
};

std::vector<Step> RandomSteps(uint32_t seed, int count) {
  std::mt19937 random(seed);
  // Ticks are the most common event, as they are in a running program.
  std::discrete_distribution<int> pick({40, 4, 3, 1, 5, 3, 1, 8, 3, 3, 2, 2, 2, 2, 1, 1, 1, 2, 6, 1, 1, 2});
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back({static_cast<Act>(pick(random)), static_cast<uint32_t>(random())});
  return steps;
}

// One run of the program against the simulated service.
class Model {
 public:
  Model() {
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "8302749165");
    Seed("Work", {{"PhoneNumber", "5550100"}, {"UserName", "ann"}, {"MonitorTime", "1"}, {"AutoReconnect", "1"},
                  {"EnableRedial", "1"}, {"NumberOfRedials", "3"}, {"Minutes", "0"}, {"Seconds", "2"},
                  {"DoNotAsk", "1"}, {"AllowanceMegabytes", "1"}, {"AllowanceWarnPercent", "50"},
                  {"AllowanceHangUp", "1"}, {"IdleMinutes", "1"}, {"DisconnectAction", kDisconnectAction}});
    Seed("Other", {{"PhoneNumber", "5559999"}, {"UserName", "zed"}, {"MonitorTime", "0"}, {"Icon", "12"}});
    pump.onEvents = [this] { TickIfRunning(); };
    StartProgram();
  }

  // Applies one step; the first broken invariant, empty when all hold.
  std::string Apply(const Step& step) {
    // The dials of the start (or restart) before this step, against the
    // number as it stood.
    if (std::string broken = CheckDials(); !broken.empty()) return broken;
    if (std::string broken = CheckAllowance(); !broken.empty()) return broken;
    AppContext& app = *context;
    DialerForm& dialer = app.frmDialer;
    // The user's Disconnect ends the program once the line is found gone.
    bool endsByRule = app.Line.DisconnectRequested();
    switch (step.act) {
      case Act::Tick: Pass(kTick); break;
      case Act::Dial:
        if (dialer.Visible() && dialer.cmdDial.Caption() == "&DIAL") dialer.cmdDial.OnUserClick();
        break;
      case Act::Redial:
        if (dialer.cmdCancel.Visible() && dialer.cmdCancel.Caption() == "&Redial") dialer.cmdCancel.OnUserClick();
        break;
      case Act::Cancel:
        if (dialer.Visible() && dialer.cmdDial.Caption() == "&Cancel") {
          endsByRule = true;
          dialer.cmdDial.OnUserClick();
        }
        break;
      case Act::Busy: Fail(kRasLineBusy, kDialing); break;
      case Act::RefusedLogin: Fail(kRasAuthenticationFailure, kAuthenticating); break;
      case Act::RejectNext: service.rejectNext = true; break;
      case Act::Connect:
        if (service.inFlight != 0 && service.inFlight == app.Line.Session().ConnectionHandle) {
          service.Connect();
          Message(kRasStateConnected, 0);
          if (!app.Line.IsConnected()) return "the Connected message of the dial did not reach the connection";
        }
        break;
      case Act::DropQuietly:
        if (service.upHandle != 0) service.LineDown();
        break;
      case Act::DropWithError:
        if (service.upHandle != 0) {
          service.LineDown();
          Message(kRasStateDisconnected, kDropError);
        }
        break;
      case Act::OptionsBrowse: Options([&](OptionsForm& options) {
        options.cmbSelEntry_DropDown();
        options.cmbSelEntry.OnUserText("Other");
        options.cmdCancel.OnUserClick();
      }); break;
      case Act::OptionsSave: Options([&](OptionsForm& options) {
        const std::string number = "555" + std::to_string(1000 + step.value % 9000);
        options.txtPhoneNumber.OnUserText(number);
        options.txtPassword.OnUserText("secret");
        // The window opens on the entry it showed last, which may be another.
        const bool running = options.EditedEntryName == "Work";
        options.cmdOK.OnUserClick();
        if (!options.Loaded() && running) expectedNumber = number;
      }); break;
      case Act::MonitoringToggle: Options([&](OptionsForm& options) {
        messages.answer = MsgResult::Yes;
        options.chkMonitorTime.OnUserValue(0);
        options.chkMonitorTime.OnUserValue(1);
        if (app.Line.IsConnected()) ++bookings;
        options.cmdCancel.OnUserClick();
      }); break;
      case Act::Statistics:
        app.ShowStatisticsWindow("Work");
        app.frmStatistics.Timer1.OnTick();
        app.frmStatistics.Unload();
        break;
      case Act::TrayDisconnect:
        endsByRule = endsByRule || dialer.mnuDisconnect.Caption() == "&Disconnect";
        dialer.mnuDisconnect.OnUserClick();
        break;
      case Act::Exit:
        endsByRule = true;
        dialer.mnuExit.OnUserClick();
        break;
      case Act::Kill: Kill(); break;
      case Act::ClockJump:
        clock.secondsSinceMidnight = static_cast<double>(step.value % 86400);
        break;
      case Act::Traffic:
        if (service.upHandle != 0) {
          // Now and then only background traffic, below the idle threshold.
          const uint64_t bytes = step.value % 3 == 0 ? step.value % 1500 : step.value % 300'000;
          service.statistics.BytesReceived += static_cast<uint32_t>(bytes);
          service.traffic.emplace_back(clock.monotonic, bytes);
        }
        break;
      // Nothing from the user or the line for longer than the idle limit.
      case Act::Away:
        for (int tick = 0; tick < 130; ++tick) Pass(kTick);
        break;
      // How the user answers the questions from now on, "Dial anyway?" among them.
      case Act::AnswerYes: messages.answer = MsgResult::Yes; break;
      case Act::AnswerNo: messages.answer = MsgResult::No; break;
      case Act::Count: break;
    }
    std::string broken = Check(endsByRule, step.act);
    if (!context->frmDialer.Loaded()) Restart();
    return broken;
  }

 private:
  using Values = std::vector<std::pair<std::string, std::string>>;

  void Seed(const std::string& name, const Values& values) {
    const std::string key = std::string(kSettingsRoot) + name;
    registry.AddKey(RegHive::CurrentUser, key);
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, key, value, text);
  }

  void StartProgram() {
    context = std::make_unique<AppContext>(ports, "Work", ++runs, kCheckpointSeconds);
    context->frmDialer.Attach(&window);
    context->frmDialer.Load();
  }

  // The program is gone (ended or killed): its line with it, then a new start.
  void Restart() {
    if (service.upHandle != 0) service.LineDown();
    service.inFlight = 0;
    context.reset();
    StartProgram();
  }

  void Kill() {
    if (service.upHandle != 0) {
      // What the killed program had not booked is left in its checkpoint.
      killTolerance += kCheckpointSeconds + kTick;
      service.LineDown();
    }
    service.inFlight = 0;
    context.reset();
    StartProgram();
  }

  void TickIfRunning() {
    if (context == nullptr) return;
    DialerForm& dialer = context->frmDialer;
    if (dialer.Loaded() && dialer.Timer1.Enabled()) dialer.Timer1_Timer();
  }

  void Pass(double seconds) {
    clock.monotonic += seconds;
    clock.secondsSinceMidnight += seconds;
    if (clock.secondsSinceMidnight >= 86400) clock.secondsSinceMidnight -= 86400;
    TickIfRunning();
  }

  void Message(uint32_t state, int32_t error) {
    AppContext& app = *context;
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, state, error);
  }

  void Fail(int32_t error, uint32_t state) {
    if (service.inFlight == 0 || service.inFlight != context->Line.Session().ConnectionHandle) return;
    const RasHandle failed = service.inFlight;
    Message(state, error);
    // The attempt is over whether or not the program hung it up.
    if (service.inFlight == failed) service.inFlight = 0;
  }

  template <typename Use>
  void Options(Use use) {
    AppContext& app = *context;
    if (app.frmOptions.Loaded() || !app.frmDialer.mnuOptions.Enabled()) return;
    app.frmDialer.mnuOptions.OnUserClick();
    if (app.frmOptions.Loaded()) use(app.frmOptions);
    if (app.frmOptions.Loaded()) app.frmOptions.Unload();
  }

  // Every dial uses the running entry's number and login.
  std::string CheckDials() {
    for (; dialsChecked < service.dialParams.size(); ++dialsChecked) {
      const DialParams& params = service.dialParams[dialsChecked];
      if (params.PhoneNumber != expectedNumber || params.UserName != "ann") {
        return "a dial used " + params.PhoneNumber + " and " + params.UserName + ", not the running entry's " +
               expectedNumber;
      }
    }
    return {};
  }

  std::string Check(bool endsByRule, Act act) {
    if (!service.violation.empty()) return service.violation;
    if (std::string broken = CheckDials(); !broken.empty()) return broken;
    if (std::string broken = CheckLog(act); !broken.empty()) return broken;
    if (std::string broken = CheckAllowance(); !broken.empty()) return broken;
    AppContext& app = *context;
    const Connection& line = app.Line;
    if (!app.frmDialer.Loaded()) {
      // A lost line is not redialled once the month's allowance is used up,
      // nor one hung up for being idle.
      if (!endsByRule && UsedUpWarnings() == 0 && IdleHangUps() == 0) {
        return "the program ended without the user's word or a rule";
      }
      return Booking();
    }
    const bool live = line.IsConnected() || line.BusyRedialPending() || line.RetryPending() || line.LineDropped() ||
                      line.CurrentPhase() == Phase::Dialling;
    if (live && !app.frmDialer.Timer1.Enabled()) return "a line or a pending redial without the supervisor tick";
    if (!line.IsConnected() && service.upHandle != 0 && line.CurrentPhase() != Phase::Dialling) {
      // A line up that the program does not know of is untimed.
      return "the service has a line up that the connection does not watch";
    }
    if (line.IsConnected() || service.upHandle != 0) return {};
    return Booking();
  }

  // The log's seconds per entry and month are the account's, and each new
  // record is named for what ended its line: the step's own act, or a drop
  // that a tick (perhaps one run inside a wait) found.
  std::string CheckLog(Act act) {
    const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
    for (size_t i = recordsChecked; i < records.size(); ++i) {
      const ConnectionEnd end = records[i].EndedBy;
      const bool named = end == ConnectionEnd::LineDropped ||
                         (end == ConnectionEnd::User &&
                          (act == Act::Exit || act == Act::TrayDisconnect || act == Act::Cancel)) ||
                         (end == ConnectionEnd::MonitoringOff && act == Act::MonitoringToggle) ||
                         (end == ConnectionEnd::ProgramStopped && act == Act::Kill) ||
                         (end == ConnectionEnd::Allowance && UsedUpWarnings() > 0) ||
                         (end == ConnectionEnd::Idle && IdleHangUps() > 0);
      if (!named) return std::string("a line ended by ") + Name(act) + " was logged as " + ConnectionEndName(end);
      if (end == ConnectionEnd::Allowance) {
        limitHungUp = true;
        questionsAtHangUp = AllowanceQuestions();
      }
      if (end == ConnectionEnd::Idle) {
        uint64_t bytes = 0;
        for (const auto& [at, added] : service.traffic) bytes += at > service.hungUpAt - 60 ? added : 0;
        if (bytes >= kIdleThreshold) {
          return "hung up as idle after " + std::to_string(bytes) + " bytes in the minute before";
        }
      }
      // Switching the monitoring off ends no line; a killed program's line
      // is written at the next start, long after it ended.
      if (end != ConnectionEnd::MonitoringOff && end != ConnectionEnd::ProgramStopped) {
        if (actionsChecked >= processes.started.size()) return std::string("a line ended by ") + Name(act) +
                                                               " started no disconnect action";
        const std::string endedBy = processes.started[actionsChecked++].Variable("CORVANE_ENDED_BY");
        if (endedBy != ConnectionEndName(end)) {
          return "the disconnect action was told " + endedBy + " for a line logged as " + ConnectionEndName(end);
        }
      }
    }
    recordsChecked = records.size();
    if (processes.started.size() != actionsChecked) {
      return std::string("a disconnect action without an ended line, at ") + Name(act);
    }
    // Two spans that began in the same second and held nothing (monitoring
    // switched off and on at once) write the same row: only a row that
    // counts time or bytes can be counted twice.
    std::set<std::string> rows;
    for (const ConnectionRecord& record : records) {
      if (record.Seconds == 0 && record.Sent == 0 && record.Received == 0) continue;
      if (!rows.insert(ConnectionRow(record)).second) return "a record is logged twice: " + ConnectionRow(record);
    }
    for (const char* entry : {"Work", "Other"}) {
      int64_t logged = 0;
      for (const ConnectionRecord& record : records) {
        if (record.Entry == entry && record.BookedIn.Year == clock.year && record.BookedIn.Month == clock.month) {
          logged += record.Seconds;
        }
      }
      const auto raw = registry.RawValue(RegHive::CurrentUser, std::string(kSettingsRoot) + entry, kOnlineTimeValue);
      const int64_t booked = raw ? std::stoll(*raw) : 0;
      if (logged != booked) {
        return std::string("the log holds ") + std::to_string(logged) + " s of " + entry + " against " +
               std::to_string(booked) + " s booked";
      }
    }
    return {};
  }

  size_t IdleHangUps() const {
    return static_cast<size_t>(std::count_if(trayIcon.balloons.begin(), trayIcon.balloons.end(), [](const auto& b) {
      return b.text.find("has been hung up.") != std::string::npos;
    }));
  }
  size_t UsedUpWarnings() const {
    return static_cast<size_t>(std::count_if(trayIcon.balloons.begin(), trayIcon.balloons.end(), [](const auto& b) {
      return b.title.find("used up") != std::string::npos;
    }));
  }
  size_t AllowanceQuestions() const {
    return static_cast<size_t>(std::count_if(messages.shown.begin(), messages.shown.end(), [](const auto& shown) {
      return shown.text.find("allowance") != std::string::npos;
    }));
  }

  // Each warning (level and kind) is shown once in the month, whatever
  // restarts came between; after a hang-up at the limit nothing is dialled
  // unless the user was asked and said Yes.
  std::string CheckAllowance() {
    std::vector<std::string> shown;
    for (const FakeTrayIcon::Balloon& balloon : trayIcon.balloons) {
      if (balloon.title.find("Allowance") != 0) continue;  // the idle rule's come once per line
      const std::string warning = balloon.title + " / " + balloon.text.substr(0, balloon.text.find(':'));
      if (std::find(shown.begin(), shown.end(), warning) != shown.end()) return "a warning shown twice: " + warning;
      shown.push_back(warning);
    }
    if (limitHungUp && service.dials.size() > dialsAtCheck) {
      if (AllowanceQuestions() == questionsAtHangUp || messages.answer != MsgResult::Yes) {
        return "a dial after the allowance's hang-up without the user's Yes";
      }
      limitHungUp = false;
    }
    dialsAtCheck = service.dials.size();
    return {};
  }

  // With no line up, every second a line was up is booked once.
  std::string Booking() {
    const std::string key = std::string(kSettingsRoot) + "Work";
    const auto raw = registry.RawValue(RegHive::CurrentUser, key, kOnlineTimeValue);
    const double booked = raw ? std::stod(*raw) : 0;
    const double tolerance = 1.0 * (service.lines + bookings) + killTolerance;
    if (std::abs(booked - service.upSeconds) > tolerance) {
      std::ostringstream text;
      text << "booked " << booked << " s against " << service.upSeconds << " s of line over " << service.lines
           << " lines";
      return text.str();
    }
    return {};
  }

 public:
  FakeRegistry registry;
  FakeClock clock;
  FakeShell shell;
  FakeMessageBox messages;
  FakeEventPump pump{clock};
  FakePlatform platform;
  SimulatedService service{clock};
  FakeTrayIcon trayIcon;
  FakeFormHost formHost;
  FakeFileSystem files;
  FakeDownload download;
  FakeFileDialog fileDialog;
  FakeShellLinks shellLinks;
  FakeLogFiles logFiles;
  FakeProcesses processes;
  Ports ports{registry, clock,    shell,    messages, pump,     platform,
              service,  trayIcon, formHost, files,    download, fileDialog, shellLinks, logFiles, processes};

 private:
  RecordingWindow window;
  std::unique_ptr<AppContext> context;
  uint32_t runs = 0;
  size_t dialsChecked = 0;
  size_t recordsChecked = 0;
  size_t actionsChecked = 0;  // disconnect actions matched to their lines
  std::string expectedNumber = "5550100";
  int bookings = 0;  // extra bookings of one line (the monitoring switch)
  double killTolerance = 0;
  // The allowance's hang-up was logged; the questions asked by then.
  bool limitHungUp = false;
  size_t questionsAtHangUp = 0;
  size_t dialsAtCheck = 0;
};

TEST(ConnectionModelTest, RandomEventSequencesKeepTheInvariants) {
  const int runs = FromEnvironment("CORVANE_MODEL_RUNS", 40);
  const int stepsPerRun = FromEnvironment("CORVANE_MODEL_STEPS", 250);
  const std::string failure = FirstFailingRun(
      1, runs, stepsPerRun, RandomSteps, [](uint32_t) { return Model(); },
      [](const Step& step) { return std::string(Name(step.act)) + "(" + std::to_string(step.value % 100000) + ")"; });
  EXPECT_TRUE(failure.empty()) << failure;
}

}  // namespace
}  // namespace corvane::testing
