// The connection as one owner of the dial and the line, on fakes: what
// happens between a dial, its line and the user's commands when they cross
// (a refused first dial then Redial, a line that drops with an error, the
// tray's Connect once the reconnect has begun, the monitoring switch in a
// countdown, the close-box question while the line drops or a rule ends the
// program, the statistics window's Disconnect, a service that cannot list
// its lines, a countdown while the wall clock jumps).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/program_fixture.h"
#include "stats/connection_log.h"
#include "stats/line_recorder.h"
#include "stats/online_time_ledger.h"

namespace corvane::testing {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

constexpr uint32_t kDialing = 2;
constexpr RasHandle kCustomLine = 0x31;

class ConnectionTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::string& name, const Values& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
  }

  // "Work": a single number, monitored, redialled and reconnected at once.
  AppContext& StartWork(const Values& more = {}) {
    Values values{{"PhoneNumber", "5550100"}, {"MonitorTime", "1"},     {"AutoReconnect", "1"},
                  {"EnableRedial", "1"},      {"NumberOfRedials", "5"}, {"Minutes", "0"},
                  {"Seconds", "0"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry("Work", values);
    return Start("Work");
  }

  void Event(uint32_t state, int32_t error = 0) {
    context->frmDialer.Form_WindowMessage(context->Line.Session().DialEventMessage, state, error);
  }
  void LineUp() {
    dialUp.connections = {ListedLine(dialUp.nextHandle, "Crv")};
    Event(kRasStateConnected);
  }
  // Ticks while the timer runs, `seconds` on both clocks.
  void Pass(double seconds) {
    for (double done = 0; done < seconds - 1e-9; done += 0.5) {
      clock.monotonic += 0.5;
      clock.secondsSinceMidnight += 0.5;
      if (context->frmDialer.Loaded() && context->frmDialer.Timer1.Enabled()) context->frmDialer.Timer1_Timer();
    }
  }
  // The pending attempt is dialled by the very next tick.
  void ExpectTheNextTickDials(AppContext& app) {
    const size_t dialsBefore = dialUp.dials.size();
    app.frmDialer.Timer1_Timer();
    EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
  }
  int64_t Booked(const std::string& name = "Work") const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey(name), kOnlineTimeValue);
    return raw ? std::stoll(*raw) : -1;
  }
};

// The first dial is refused at once (no handle, no message); the user's
// Redial then connects. That line is watched like any other: its drop is
// booked and redialled.
TEST_F(ConnectionTest, RedialAfterARefusedFirstDialIsWatched) {
  dialUp.dialAnswer = 633;
  AppContext& app = StartWork();
  ASSERT_EQ(app.frmDialer.Caption(), "End of Redials");
  EXPECT_FALSE(app.frmDialer.Timer1.Enabled());

  dialUp.dialAnswer = kRasSuccess;
  app.frmDialer.cmdCancel.OnUserClick();  // "&Redial"
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());
  LineUp();
  Pass(12);
  const size_t dialsBefore = dialUp.dials.size();
  dialUp.connections.clear();
  Pass(1);
  EXPECT_EQ(Booked(), 12);
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
}

// A line that drops with an error is a dropped line, not a failed attempt:
// no countdown, no retry on top of it, one reconnection whose progress
// (Connected included) reaches the window.
TEST_F(ConnectionTest, LineDroppingWithAnErrorIsReconnectedOnce) {
  AppContext& app = StartWork({{"Seconds", "30"}});
  LineUp();
  Pass(10);
  const size_t dialsBefore = dialUp.dials.size();
  const int waitsBefore = pump.waitCalls;
  dialUp.connections.clear();
  Event(kRasStateDisconnected, 629);
  EXPECT_EQ(pump.waitCalls, waitsBefore) << "no redial countdown for a dropped line";
  EXPECT_FALSE(app.Line.RetryPending());
  Pass(1);
  EXPECT_EQ(Booked(), 10);
  ASSERT_EQ(dialUp.dials.size(), dialsBefore + 1);
  LineUp();
  EXPECT_TRUE(app.Line.IsConnected());
  Pass(40);
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1) << "nothing dials on top of the live line";
}

// Waiting to reconnect, the tray item reads "&Connect"; once the reconnect
// has begun it stands for the line again and disconnects.
TEST_F(ConnectionTest, TrayItemFollowsTheReconnection) {
  AppContext& app = StartWork({{"OnTimeEx2", "20"}, {"OffTimeEx2", "5"}, {"DoNotAsk", "1"}});
  LineUp();
  Pass(2);
  dialUp.connections.clear();
  Pass(0.5);
  ASSERT_TRUE(app.Line.LineDropped());
  EXPECT_EQ(app.frmDialer.mnuDisconnect.Caption(), "&Connect");

  const size_t dialsBefore = dialUp.dials.size();
  app.frmDialer.mnuDisconnect.OnUserClick();  // reconnect now rather than in 5 minutes
  ASSERT_EQ(dialUp.dials.size(), dialsBefore + 1);
  EXPECT_EQ(app.frmDialer.mnuDisconnect.Caption(), "&Disconnect");
  dialUp.connections = {ListedLine(dialUp.nextHandle, "Crv")};
  app.frmDialer.mnuDisconnect.OnUserClick();
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
  EXPECT_FALSE(app.frmDialer.Loaded());
}

// The monitoring switch acts on the line's count, never on the tick: a
// redial pending in a countdown still comes.
TEST_F(ConnectionTest, MonitoringSwitchedOffDuringABusyCountdownKeepsTheRedial) {
  AppContext& app = StartWork({{"Seconds", "3"}});
  int passes = 0;
  pump.onEvents = [&] {
    if (++passes != 1) return;
    app.frmDialer.mnuOptions_Click();
    app.frmOptions.chkMonitorTime.OnUserValue(0);
    app.frmOptions.cmdCancel.OnUserClick();
  };
  Event(kDialing, kRasLineBusy);
  pump.onEvents = nullptr;
  ASSERT_TRUE(app.Line.BusyRedialPending());
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());
  ExpectTheNextTickDials(app);
}

// The close-box question is open while the tick finds the line gone: the
// window ends either usable (No: it reconnects) or gone (Yes).
TEST_F(ConnectionTest, LineLostWhileTheCloseBoxQuestionIsOpen) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    registry = FakeRegistry();
    AppContext& app = StartWork();
    LineUp();
    Pass(5);
    formHost.answer = [&](forms::Form&) {
      dialUp.connections.clear();
      app.frmDialer.Timer1_Timer();  // a tick while the question waits
      if (yes) app.frmMessage.cmdYes_Click(); else app.frmMessage.cmdNo_Click();
    };
    const bool closed = app.frmDialer.Unload(forms::kUnloadControlMenu);
    formHost.answer = nullptr;
    EXPECT_EQ(Booked(), 5);
    EXPECT_EQ(closed, yes);
    EXPECT_EQ(app.frmDialer.Loaded(), !yes);
    if (yes) continue;
    const size_t dialsBefore = dialUp.dials.size();
    Pass(0.5);
    EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1) << "the window stays able to dial";
  }
}

// The close-box question is open while the line drops and a rule ends the
// program (no reconnection, or a reconnect pause of "never"): the program
// ends whatever the answer, instead of staying with nothing left to end it.
TEST_F(ConnectionTest, RuleEndingTheProgramWhileTheCloseBoxQuestionIsOpen) {
  const std::vector<std::pair<const char*, Values>> rules = {
      {"no reconnection", {{"AutoReconnect", "0"}}},
      {"reconnect pause never", {{"OnTimeEx2", "20"}, {"OffTimeEx2", "100"}}},
  };
  for (const auto& [label, rule] : rules) {
    SCOPED_TRACE(label);
    registry = FakeRegistry();
    AppContext& app = StartWork(rule);
    LineUp();
    Pass(5);
    formHost.answer = [&](forms::Form&) {
      dialUp.connections.clear();
      app.frmDialer.Timer1_Timer();  // a tick while the question waits
      app.frmMessage.cmdNo_Click();
    };
    const bool closed = app.frmDialer.Unload(forms::kUnloadControlMenu);
    formHost.answer = nullptr;
    EXPECT_TRUE(closed);
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_EQ(app.Line.CurrentPhase(), Phase::Ending);
    EXPECT_FALSE(app.frmDialer.Timer1.Enabled());
    EXPECT_EQ(Booked(), 5);
  }
}

// The statistics window's Disconnect never dials: on a live line it drops
// the line; while a dropped line waits to reconnect it ends the wait and the
// program, as the tray's Exit does.
TEST_F(ConnectionTest, StatisticsDisconnectNeverDials) {
  for (const bool waiting : {false, true}) {
    SCOPED_TRACE(waiting ? "waiting to reconnect" : "connected");
    registry = FakeRegistry();
    dialUp.hangUps.clear();
    AppContext& app = StartWork({{"OnTimeEx2", "20"}, {"OffTimeEx2", "5"}, {"DoNotAsk", "1"}});
    LineUp();
    Pass(2);
    if (waiting) {
      dialUp.connections.clear();
      Pass(0.5);
      ASSERT_TRUE(app.Line.LineDropped());
    }
    app.frmDialer.mnuStatistics_Click();
    ASSERT_TRUE(app.frmStatistics.Loaded());
    ASSERT_EQ(app.frmStatistics.cmdDisconnect.Caption(), "&Disconnect");
    const size_t dialsBefore = dialUp.dials.size();
    app.frmStatistics.cmdDisconnect.OnUserClick();
    EXPECT_EQ(dialUp.dials.size(), dialsBefore);
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_FALSE(app.frmStatistics.Loaded());
    EXPECT_EQ(app.Line.CurrentPhase(), Phase::Ending);
    if (!waiting) {
      ASSERT_FALSE(dialUp.hangUps.empty());
      EXPECT_EQ(dialUp.hangUps.front(), dialUp.nextHandle);
    }
  }
}

// The tray's Disconnect while a dial is on its way and no line is listed
// yet: the dial goes too, rather than come up as a line nobody times.
TEST_F(ConnectionTest, DisconnectDuringADialHangsTheDialUp) {
  AppContext& app = StartWork({{"DoNotAsk", "1"}});
  ASSERT_EQ(app.Line.CurrentPhase(), Phase::Dialling);
  app.frmDialer.mnuDisconnect.OnUserClick();
  EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>{dialUp.nextHandle});
  EXPECT_FALSE(app.frmDialer.Loaded());
}

// A service that cannot list its lines: Disconnect of a custom entry hangs
// up the provider's line the program watches, never handle 0.
TEST_F(ConnectionTest, DisconnectWithoutAListHangsUpTheWatchedLine) {
  SeedEntry("*Net", {{"Location", "c:\\isp\\dialer.exe"}, {"DoNotAsk", "1"}});
  dialUp.connections = {ListedLine(kCustomLine, "Net")};
  pump.onEvents = [this] { context->frmDialer.Timer1_Timer(); };
  AppContext& app = Start("Net");
  pump.onEvents = nullptr;
  ASSERT_TRUE(app.Line.IsConnected());
  dialUp.listFails = true;
  app.frmDialer.mnuDisconnect.OnUserClick();
  EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>{kCustomLine});
  EXPECT_FALSE(app.frmDialer.Loaded());
}

// The redial pause is measured on the monotonic clock: the wall clock set
// back or forward meanwhile changes nothing.
TEST_F(ConnectionTest, RedialPauseIgnoresTheWallClock) {
  for (const double jump : {-3600.0, 7200.0}) {
    SCOPED_TRACE(jump);
    registry = FakeRegistry();
    AppContext& app = StartWork({{"Seconds", "10"}});
    const double start = clock.monotonic;
    bool jumped = false;
    pump.onEvents = [&] {
      if (!jumped) clock.secondsSinceMidnight += jump;
      jumped = true;
    };
    Event(kDialing, kRasLineBusy);
    pump.onEvents = nullptr;
    EXPECT_TRUE(app.Line.BusyRedialPending());
    EXPECT_NEAR(clock.monotonic - start, 10.0, 0.05);
  }
}

// A handler that throws while the redial pause lets events run leaves no
// countdown behind: the next attempt is due, and the tick dials it.
TEST_F(ConnectionTest, ExceptionInTheRedialPauseLeavesTheNextAttemptDue) {
  AppContext& app = StartWork({{"Seconds", "5"}});
  pump.onEvents = [] { throw std::runtime_error("a handler failed"); };
  EXPECT_THROW(Event(kDialing, kRasLineBusy), std::runtime_error);
  pump.onEvents = nullptr;
  EXPECT_TRUE(app.Line.RetryPending());
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());
  ExpectTheNextTickDials(app);
}

// A dial whose progress messages never come is connected from its status,
// some ticks after the line came up: it is booked from the first tick that
// saw it up, not from the tick that acted.
TEST_F(ConnectionTest, LineConnectedFromItsStatusIsBookedFromWhenItCameUp) {
  AppContext& app = StartWork({{"AutoReconnect", "0"}});
  dialUp.statusAnswer = kRasSuccess;
  dialUp.status.State = kRasStateConnected;
  dialUp.connections = {ListedLine(dialUp.nextHandle)};
  Pass(0.5);  // the first tick that sees the line up
  const double upSince = clock.monotonic;
  while (!app.Line.IsConnected() && clock.monotonic - upSince < 5) Pass(0.5);
  ASSERT_TRUE(app.Line.IsConnected());
  Pass(6);
  dialUp.connections.clear();
  Pass(0.5);
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_NEAR(Booked(), clock.monotonic - upSince, 1);
}

// One booking reads the calendar once: at the turn of the year it books
// into the month it read, with that month's year.
TEST(LedgerCalendarTest, BookingAtTheTurnOfTheYearReadsTheDateOnce) {
  FakeRegistry registry;
  SettingsStore store(registry);
  FakeClock clock;
  const std::string key = std::string(kSettingsRoot) + "Work";
  registry.AddKey(RegHive::CurrentUser, key);
  registry.SetString(RegHive::CurrentUser, key, kCurrentMonthValue, "12,December");
  registry.SetString(RegHive::CurrentUser, key, kCurrentYearValue, "2026");
  registry.SetString(RegHive::CurrentUser, key, kOnlineTimeValue, "100");
  OnlineTimeLedger ledger(store, clock);
  ledger.StartCounting();
  clock.monotonic += 60;
  clock.upcomingDates = {{2026, 12}};  // the last reading of 2026, then 2027 from here on
  clock.year = 2027;
  clock.month = 1;
  ledger.SaveOnlineTime(key);

  auto text = [&](const char* value) { return StripNull(*registry.RawValue(RegHive::CurrentUser, key, value)); };
  EXPECT_EQ(text(kCurrentMonthValue), "12,December");
  EXPECT_EQ(text(kCurrentYearValue), "2026");
  EXPECT_EQ(text(kOnlineTimeValue), "160");
}

// Each way a line ends is logged under its own name, with the seconds the
// account booked for it and the traffic of the last reading: read just
// before the hang-up, or for a line that dropped by itself no more than
// kTrafficReadingSeconds before it went; the entry's disconnect action is
// started once, after the booking, with what the log says of the line
// (switching the monitoring off ends no line: nothing).
class LineEndTest;
struct LineEnd {
  const char* name;
  Values values;
  std::function<void(AppContext&, LineEndTest&)> end;
  ConnectionEnd expected;
};

class LineEndTest : public ConnectionTest, public ::testing::WithParamInterface<LineEnd> {
 public:
  using ConnectionTest::Pass;
  using ConnectionTest::Event;
};

TEST_P(LineEndTest, IsLoggedWithItsReasonSecondsAndTrafficAndStartsTheDisconnectAction) {
  const LineEnd& c = GetParam();
  dialUp.statistics.Bps = 49333;
  Values values = c.values;
  values.insert(values.end(), {{"DisconnectAction", "C:\\Tools\\down.exe"}, {"DisconnectActionArguments", "/quiet"}});
  AppContext& app = StartWork(values);
  LineUp();
  dialUp.statistics.BytesTransmitted = 600;
  dialUp.statistics.BytesReceived = 4000;
  Pass(40);
  dialUp.statistics.BytesTransmitted = 700;
  dialUp.statistics.BytesReceived = 5000;
  Pass(5);  // read again by now, also for a line that then drops
  c.end(app, *this);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u);
  const ConnectionRecord& record = records[0];
  EXPECT_EQ(record.EndedBy, c.expected);
  EXPECT_EQ(record.Seconds, Booked());
  EXPECT_EQ(record.Entry, "Work");
  EXPECT_EQ(record.Number, "5550100");
  EXPECT_EQ(record.Speed, 49333u);
  EXPECT_EQ(record.Sent, 700u);
  EXPECT_EQ(record.Received, 5000u);
  EXPECT_EQ(record.BookedIn.Month, 12);
  EXPECT_EQ(record.BookedIn.Year, 2026);
  EXPECT_EQ(StripNull(*registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), kLogCheckpointValue)), "");

  if (c.expected == ConnectionEnd::MonitoringOff) {
    EXPECT_TRUE(processes.started.empty());
    return;
  }
  ASSERT_EQ(processes.started.size(), 1u);
  const FakeProcesses::Started& action = processes.started[0];
  EXPECT_EQ(action.program, "C:\\Tools\\down.exe");
  EXPECT_EQ(action.arguments, "/quiet");
  const std::vector<EnvironmentVariable> expected{{"CORVANE_EVENT", "disconnect"},
                                                  {"CORVANE_ENTRY", "Work"},
                                                  {"CORVANE_NUMBER", "5550100"},
                                                  {"CORVANE_LOGIN", ""},
                                                  {"CORVANE_SPEED", "49333"},
                                                  {"CORVANE_SECONDS", std::to_string(record.Seconds)},
                                                  {"CORVANE_BYTES_SENT", std::to_string(record.Sent)},
                                                  {"CORVANE_BYTES_RECEIVED", std::to_string(record.Received)},
                                                  {"CORVANE_ENDED_BY", ConnectionEndName(c.expected)}};
  EXPECT_EQ(action.variables, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, LineEndTest,
    ::testing::Values(
        // Every way the user ends the line: the fake forgets the line's
        // counters at its hang-up, so each must read them first.
        LineEnd{"TrayDisconnect", {{"DoNotAsk", "1"}},
                [](AppContext& app, LineEndTest&) { app.frmDialer.mnuDisconnect.OnUserClick(); }, ConnectionEnd::User},
        LineEnd{"TrayExit", {}, [](AppContext& app, LineEndTest&) { app.frmDialer.mnuExit.OnUserClick(); },
                ConnectionEnd::User},
        LineEnd{"CloseBox", {{"DoNotAsk", "1"}},
                [](AppContext& app, LineEndTest&) { app.frmDialer.Unload(forms::kUnloadControlMenu); },
                ConnectionEnd::User},
        LineEnd{"StatisticsDisconnect", {{"DoNotAsk", "1"}},
                [](AppContext& app, LineEndTest&) {
                  app.frmDialer.mnuStatistics_Click();
                  app.frmStatistics.cmdDisconnect.OnUserClick();
                },
                ConnectionEnd::User},
        LineEnd{"DialerCancel", {}, [](AppContext& app, LineEndTest&) { app.frmDialer.cmdDial.OnUserClick(); },
                ConnectionEnd::User},
        LineEnd{"AgeLimit",
                {{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "50"}},
                [](AppContext&, LineEndTest& t) {
                  // The hang-up comes with the last reading; the next tick
                  // finds the line gone and ends the program.
                  t.Pass(5);
                  t.dialUp.connections.clear();
                  t.Pass(1);
                },
                ConnectionEnd::AgeLimit},
        LineEnd{"Dropped", {},
                [](AppContext&, LineEndTest& t) {
                  t.dialUp.statisticsAnswer = kRasInvalidHandle;
                  t.dialUp.connections.clear();
                  t.Event(kRasStateDisconnected, 629);
                  t.Pass(1);
                },
                ConnectionEnd::LineDropped},
        LineEnd{"NewNumber",
                {{"FileURL", "http://numbers.example/now.txt"}, {"DisconnectAndDial", "1"}},
                [](AppContext& app, LineEndTest& t) {
                  t.download.status = 200;
                  t.download.body = "5550199";
                  app.Line.ReadInternetFile();
                },
                ConnectionEnd::NewNumber},
        LineEnd{"MonitoringOff", {}, [](AppContext& app, LineEndTest&) { app.Line.InterruptMonitoring(); },
                ConnectionEnd::MonitoringOff},
        LineEnd{"Shutdown", {}, [](AppContext& app, LineEndTest&) { app.frmDialer.Unload(forms::kUnloadAppWindows); },
                ConnectionEnd::Shutdown},
        LineEnd{"Idle",
                {{"IdleMinutes", "1"}},
                [](AppContext&, LineEndTest& t) {
                  // Quiet from the 60 s reading on: hung up at the reading a
                  // minute later, booked at the next tick.
                  for (int ticks = 0; ticks < 400 && t.dialUp.hangUps.empty(); ++ticks) t.Pass(0.5);
                  ASSERT_EQ(t.dialUp.hangUps.size(), 1u);
                  t.dialUp.statisticsAnswer = kRasInvalidHandle;
                  t.dialUp.connections.clear();
                  t.Pass(1);
                },
                ConnectionEnd::Idle}),
    [](const ::testing::TestParamInfo<LineEnd>& info) { return std::string(info.param.name); });

// The number file switches the line to its new number: each connection's
// record holds the number that connection dialled, not the entry's number
// at the time the record is written.
TEST_F(ConnectionTest, LinesSwitchedByTheNumberFileAreLoggedWithTheNumberTheyDialled) {
  AppContext& app = StartWork(
      {{"FileURL", "http://numbers.example/now.txt"}, {"DisconnectAndDial", "1"}, {"DoNotAsk", "1"}});
  LineUp();  // the file as the line comes up is empty: no change
  Pass(5);
  download.body = "5550199";
  app.Line.ReadInternetFile();
  dialUp.connections.clear();
  ExpectTheNextTickDials(app);
  ASSERT_FALSE(dialUp.dialParams.empty());
  EXPECT_EQ(dialUp.dialParams.back().PhoneNumber, "5550199");
  LineUp();
  Pass(5);
  app.frmDialer.mnuDisconnect.OnUserClick();

  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Number, "5550100");
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::NewNumber);
  EXPECT_EQ(records[1].Number, "5550199");
  EXPECT_EQ(records[1].EndedBy, ConnectionEnd::User);
}

// A program killed during a line leaves it to the next start, which books
// the last checkpoint and logs the line as stopped with those seconds.
TEST_F(ConnectionTest, LineOfAKilledProgramIsLoggedAtTheNextStart) {
  StartWork({{"PhoneNumber", "5550100"}});
  LineUp();
  dialUp.statistics.BytesReceived = 1234;
  Pass(65);
  context.reset();  // killed: no exit path
  Start("Work");
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::ProgramStopped);
  EXPECT_EQ(records[0].Seconds, 60);
  EXPECT_EQ(Booked(), 60);
  EXPECT_EQ(records[0].Received, 1234u);
  EXPECT_EQ(LocalDateTimeText(records[0].Ended), LocalDateTimeText(AddSeconds(records[0].Started, 60)));
  context->frmDialer.Unload();
  EXPECT_EQ(ReadConnectionRows(logFiles.files[kConnectionLogFile]).size(), 1u) << "logged once";
}

// Monitoring switched off and on while the line is up: the line's bytes
// are in one record or the other, never in both.
TEST_F(ConnectionTest, MonitoringSwitchedOffAndOnLogsEachByteOnce) {
  AppContext& app = StartWork();
  LineUp();
  dialUp.statistics.BytesReceived = 700'000;
  Pass(10);
  app.Line.InterruptMonitoring();
  app.Line.ResumeMonitoring();
  dialUp.statistics.BytesReceived = 900'000;
  Pass(10);
  context->frmDialer.Unload();
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Received, 700'000u);
  EXPECT_EQ(records[1].Received, 200'000u);
}

// Monitoring switched off and on between a reported drop and the tick that
// leaves the line's phase: the dropped line is logged once, not timed anew.
TEST_F(ConnectionTest, MonitoringSwitchedOnAfterAReportedDropLogsTheLineOnce) {
  AppContext& app = StartWork();
  LineUp();
  dialUp.statisticsAnswer = kRasInvalidHandle;
  dialUp.connections.clear();
  Event(kRasStateDisconnected, 629);
  app.Line.InterruptMonitoring();
  app.Line.ResumeMonitoring();
  Pass(1);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u) << logFiles.files[kConnectionLogFile];
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::LineDropped);
}

// A line that passed the limit between two looks of the tick (here booked
// as monitoring stopped and started again) and then dropped is not
// redialled, and the limit's warning says why.
TEST_F(ConnectionTest, LineLostPastTheLimitUnseenIsNotRedialledWithoutAWord) {
  AppContext& app = StartWork({{"AllowanceMegabytes", "1"}, {"AllowanceHangUp", "1"}});
  LineUp();
  dialUp.statistics.BytesReceived = 1'100'000;
  app.Line.InterruptMonitoring();
  app.Line.ResumeMonitoring();
  EXPECT_TRUE(trayIcon.balloons.empty());
  dialUp.connections.clear();
  Pass(1);
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_EQ(dialUp.dials.size(), 1u) << "no reconnect";
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].title, "Allowance of 'Work' used up");
  EXPECT_EQ(trayIcon.balloons[0].text, "Data this month: 1.0 MB of 1 MB.\r\nThe line is not dialled again.");
}

// A file that cannot be written costs a line in the details log, never the
// booking nor the record: the record waits, the tray tells why once, and the
// next line's end that can write writes the waiting ones first, in order.
TEST_F(ConnectionTest, UnwritableLogKeepsTheRecordTellsOnceAndWritesItLater) {
  logFiles.writeError = 5;
  AppContext& app = StartWork();
  LineUp();
  Pass(20);
  app.Line.InterruptMonitoring();
  EXPECT_EQ(Booked(), 20);
  EXPECT_NE(app.frmDialer.txtDetails.Text().find(
                "Connection log: cannot write C:\\Local\\Corvane\\Connections.csv (error 5: System error 5.)"),
            std::string::npos)
      << app.frmDialer.txtDetails.Text();
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].title, "Connection log not written");
  EXPECT_NE(trayIcon.balloons[0].text.find("System error 5."), std::string::npos);

  for (const int seconds : {10, 5}) {
    if (seconds == 5) logFiles.writeError = 0;
    app.Line.ResumeMonitoring();
    Pass(seconds);
    app.Line.InterruptMonitoring();
  }
  EXPECT_EQ(trayIcon.balloons.size(), 1u) << "told once";
  std::vector<int64_t> seconds;
  for (const ConnectionRecord& record : ReadConnectionRows(logFiles.files[kConnectionLogFile])) {
    seconds.push_back(record.Seconds);
  }
  EXPECT_EQ(seconds, (std::vector<int64_t>{20, 10, 5}));
}

// The monthly allowance on a line whose traffic grows: a warning at the
// level, another at the limit, then the hang-up, booked and logged as the
// allowance's, with no reconnect; the next start asks before it dials.
TEST_F(ConnectionTest, AllowanceWarnsThenHangsUpWithoutReconnectAndTheNextDialAsks) {
  const Values allowance{{"AllowanceMegabytes", "1"}, {"AllowanceWarnPercent", "50"}, {"AllowanceHangUp", "1"}};
  AppContext& app = StartWork(allowance);
  LineUp();
  const RasHandle line = app.Line.RunningConnection();
  dialUp.statistics.BytesReceived = 600'000;
  Pass(30);
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].title, "Allowance of 'Work': 50 % used");
  EXPECT_EQ(trayIcon.balloons[0].text, "Data this month: 0.5 MB of 1 MB.");
  EXPECT_EQ(app.Line.TrayTooltip().substr(app.Line.TrayTooltip().rfind('\n') + 1), "Left: 0.4 MB");
  EXPECT_TRUE(dialUp.hangUps.empty());

  dialUp.statistics.BytesReceived = 1'100'000;
  Pass(30);
  ASSERT_EQ(trayIcon.balloons.size(), 2u);
  EXPECT_EQ(trayIcon.balloons[1].title, "Allowance of 'Work' used up");
  EXPECT_EQ(trayIcon.balloons[1].text, "Data this month: 1.0 MB of 1 MB.\r\nThe line is hung up.");
  EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>{line});

  dialUp.statisticsAnswer = kRasInvalidHandle;
  dialUp.connections.clear();
  Pass(5);
  EXPECT_FALSE(app.frmDialer.Loaded()) << "the program ends, as at the age limit";
  EXPECT_EQ(dialUp.dials.size(), 1u) << "no reconnect";
  EXPECT_EQ(trayIcon.balloons.size(), 2u);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::Allowance);
  EXPECT_EQ(records[0].Received, 1'100'000u);
  EXPECT_EQ(records[0].Seconds, Booked());

  messages.answer = MsgResult::No;
  Start("Work");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "This month's allowance for 'Work' is used up. Dial anyway?");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_EQ(dialUp.dials.size(), 1u) << "No: nothing dialled";
  context->frmDialer.Unload();

  messages.answer = MsgResult::Yes;
  Start("Work");
  EXPECT_EQ(dialUp.dials.size(), 2u) << "Yes: dialled";
}

// An idle line is warned a minute before its hang-up, once per countdown
// (traffic starts a new one), shows its countdown in the tooltip, and is
// hung up with a balloon saying why, booked as Idle and not redialled.
TEST_F(ConnectionTest, IdleLineIsWarnedOncePerCountdownThenHungUpWithoutReconnect) {
  AppContext& app = StartWork({{"IdleMinutes", "3"}});
  LineUp();
  const RasHandle line = app.Line.RunningConnection();
  const std::string warning = "'Work' has been idle for 2 minutes and will be hung up in a minute.";
  Pass(100);
  const std::string tips[] = {app.Line.TrayTooltip(), app.Line.TrayTooltip()};
  EXPECT_TRUE(tips[0] == "Idle hang-up in: 2 min" || tips[1] == "Idle hang-up in: 2 min") << tips[0] << " / " << tips[1];
  Pass(30);
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].text, warning);
  dialUp.statistics.BytesReceived = 5000;  // the user fetches something
  Pass(100);
  EXPECT_EQ(trayIcon.balloons.size(), 1u) << "the countdown started afresh and warns again only at its own minute";
  EXPECT_TRUE(dialUp.hangUps.empty());
  Pass(60);
  ASSERT_EQ(trayIcon.balloons.size(), 2u);
  EXPECT_EQ(trayIcon.balloons[1].text, warning);
  Pass(60);
  ASSERT_EQ(trayIcon.balloons.size(), 3u);
  EXPECT_EQ(trayIcon.balloons[2].text, "'Work' was idle for 3 minutes and has been hung up.");
  EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>{line});
  EXPECT_TRUE(trayIcon.shown) << "the balloon comes while the icon is there";

  dialUp.statisticsAnswer = kRasInvalidHandle;
  dialUp.connections.clear();
  Pass(5);
  EXPECT_FALSE(app.frmDialer.Loaded()) << "the program ends, as at the age limit";
  EXPECT_EQ(dialUp.dials.size(), 1u) << "no reconnect";
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::Idle);
}

// The connect action starts after the browser with what the line is; an
// action that cannot start costs a details line and a balloon, and neither
// the line nor its booking.
TEST_F(ConnectionTest, ActionsThatCannotStartCostADetailsLineAndABalloonOnly) {
  dialUp.statistics.Bps = 33600;
  processes.failure = "The system cannot find the file specified.";
  AppContext& app = StartWork({{"UserName", "alice"},
                               {"DoNotAsk", "1"},
                               {"StartBrowser", "1"},
                               {"BrowserPath", "C:\\Web\\browse.exe"},
                               {"ConnectAction", "C:\\Tools\\up.exe"},
                               {"ConnectActionArguments", "--sync \"C:\\My Mail\""},
                               {"DisconnectAction", "C:\\Tools\\down.exe"}});
  LineUp();
  ASSERT_EQ(shell.started.size(), 1u) << "the browser first";
  ASSERT_EQ(processes.started.size(), 1u);
  EXPECT_EQ(processes.started[0].program, "C:\\Tools\\up.exe");
  EXPECT_EQ(processes.started[0].arguments, "--sync \"C:\\My Mail\"");
  const std::vector<EnvironmentVariable> expected{{"CORVANE_EVENT", "connect"},
                                                  {"CORVANE_ENTRY", "Work"},
                                                  {"CORVANE_NUMBER", "5550100"},
                                                  {"CORVANE_LOGIN", "alice"},
                                                  {"CORVANE_SPEED", "33600"}};
  EXPECT_EQ(processes.started[0].variables, expected);
  EXPECT_TRUE(app.Line.IsConnected());
  const std::string details = app.frmDialer.txtDetails.Text();
  EXPECT_NE(details.find("Connect action: Could not start 'C:\\Tools\\up.exe': The system cannot find the file specified."),
            std::string::npos)
      << details;
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].text,
            "The action on connect could not be started.\r\nCould not start 'C:\\Tools\\up.exe': The system cannot "
            "find the file specified.");

  Pass(10);
  app.frmDialer.mnuDisconnect.OnUserClick();
  ASSERT_EQ(processes.started.size(), 2u);
  EXPECT_EQ(processes.started[1].program, "C:\\Tools\\down.exe");
  EXPECT_EQ(trayIcon.balloons.size(), 2u);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 1u) << "booked and logged all the same";
  EXPECT_EQ(records[0].Seconds, Booked());
}

// A priced line: the tooltip's last line is its cost so far; with a money
// allowance the line runs unit by unit up to the budget and is hung up only
// once a started unit reaches it; the logged cost is the tariff applied to
// the booked seconds from the line's start.
TEST_F(ConnectionTest, PricedLineCountsUnitByUnitAndIsLoggedAtItsTariff) {
  const Values tariff{{"TariffUnitSeconds", "10"}, {"TariffCurrency", "EUR"}, {"TariffFee", "50"},
                      {"TariffPrice", "10"}};
  AppContext& app = StartWork(tariff);
  LineUp();
  Pass(25);
  const std::string tip = app.Line.TrayTooltip();
  EXPECT_EQ(tip.substr(tip.rfind('\n') + 1), "Cost: 0.80 EUR") << "the fee and three started units";
  app.frmDialer.mnuDisconnect.OnUserClick();

  Values budget = tariff;
  budget.insert(budget.end(), {{"AllowanceMoney", "200"}, {"AllowanceWarnPercent", "50"}, {"AllowanceHangUp", "1"}});
  AppContext& priced = StartWork(budget);
  LineUp();
  const size_t hangUpsBefore = dialUp.hangUps.size();
  // The month has the first line's 0.80 already.
  int64_t lastCost = 0;
  for (int step = 0; step < 600 && dialUp.hangUps.size() == hangUpsBefore; ++step) {
    lastCost = priced.Line.LineCost();
    ASSERT_LT(80 + lastCost, 200) << "still under the budget at " << step << " half-seconds";
    Pass(0.5);
  }
  ASSERT_EQ(dialUp.hangUps.size(), hangUpsBefore + 1);
  EXPECT_EQ(80 + lastCost, 190) << "hung up at the unit that reached the budget, not before";
  ASSERT_EQ(trayIcon.balloons.size(), 2u);
  EXPECT_EQ(trayIcon.balloons[0].text, "Cost this month: 1.30 EUR of 2.00 EUR.") << "past the level with the fee";
  EXPECT_EQ(trayIcon.balloons[1].text, "Cost this month: 2.00 EUR of 2.00 EUR.\r\nThe line is hung up.");

  dialUp.statisticsAnswer = kRasInvalidHandle;
  dialUp.connections.clear();
  Pass(5);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(logFiles.files[kConnectionLogFile]);
  ASSERT_EQ(records.size(), 2u);
  for (const ConnectionRecord& record : records) {
    ASSERT_TRUE(record.Cost.has_value());
    EXPECT_EQ(*record.Cost, 50 + (record.Seconds + 9) / 10 * 10) << record.Seconds << " s";
  }
  EXPECT_EQ(records[0].Seconds, 25);
  EXPECT_EQ(records[1].EndedBy, ConnectionEnd::Allowance);
}

// Past a used-up allowance a dropped line is not redialled (here one the
// user dialled anyway, which runs on past the limit); without the hang-up
// the allowance only warns and the line is reconnected as ever.
TEST_F(ConnectionTest, ReconnectAfterTheLimitOnlyWithoutTheHangUp) {
  for (const char* hangUp : {"1", "0"}) {
    SCOPED_TRACE(hangUp);
    registry = FakeRegistry();
    logFiles.files.clear();
    dialUp = FakeDialUpService();
    trayIcon = FakeTrayIcon();
    messages = FakeMessageBox();
    messages.answer = MsgResult::Yes;
    ConnectionRecord earlier;
    earlier.Entry = "Work";
    earlier.Started = earlier.Ended = clock.Now();
    earlier.Received = 2'000'000;
    earlier.BookedIn = {2026, 12};
    SettingsStore store(registry);
    ASSERT_EQ(ConnectionLog(logFiles, store).Append(earlier), "");
    AppContext& app = StartWork({{"AllowanceMegabytes", "1"}, {"AllowanceHangUp", hangUp}});
    LineUp();
    Pass(30);
    EXPECT_EQ(trayIcon.balloons.size(), 1u);
    EXPECT_TRUE(dialUp.hangUps.empty()) << "the line runs on";
    dialUp.connections.clear();
    Pass(1);
    EXPECT_EQ(messages.shown.size(), *hangUp == '0' ? 0u : 1u) << "Dial anyway? Yes";
    EXPECT_EQ(app.frmDialer.Loaded(), *hangUp == '0');
    EXPECT_EQ(dialUp.dials.size(), *hangUp == '0' ? 2u : 1u);
    context.reset();
  }
}

}  // namespace
}  // namespace corvane::testing
