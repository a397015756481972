// The supervisor tick on fakes: a lost line booked once and then the end or
// the reconnect wait with its delay rule, the automatic disconnection, the
// checkpoint and its booking at the next start, the exit paths that book,
// the custom entry's start and watch, and the number download that races a
// drop.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dial_state_text.h"
#include "fakes/program_fixture.h"
#include "stats/online_time_ledger.h"

namespace corvane::testing {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

class SupervisorTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::string& name, const Values& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
  }

  // The value's text under the entry's key, "<none>" when absent.
  std::string Value(const std::string& name, const std::string& valueName) const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey(name), valueName);
    return raw ? StripNull(*raw) : "<none>";
  }

  // Starts "Work" (single number, monitored, no browser) with `more` values
  // and brings its line up.
  AppContext& Connect(const Values& more = {}) {
    Values values{{"PhoneNumber", "5550100"}, {"MonitorTime", "1"}, {"StartBrowser", "0"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry("Work", values);
    AppContext& app = Start("Work");
    LineUp(app);
    return app;
  }

  void LineUp(AppContext& app) {
    ActiveConnection line;
    line.Handle = dialUp.nextHandle;
    line.EntryName = "Crv";
    dialUp.connections = {line};
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
  }

  // Lets `seconds` pass, the wall clock moving by `wall` (the same unless
  // told otherwise), with a tick every half second when `ticking`.
  void Pass(double seconds, bool ticking = false, std::optional<double> wall = std::nullopt) {
    const double wallStep = wall.value_or(seconds) / seconds;
    for (double done = 0; done < seconds - 1e-9;) {
      const double step = std::min(0.5, seconds - done);
      clock.monotonic += step;
      clock.secondsSinceMidnight += step * wallStep;
      while (clock.secondsSinceMidnight >= 86400) clock.secondsSinceMidnight -= 86400;
      while (clock.secondsSinceMidnight < 0) clock.secondsSinceMidnight += 86400;
      done += step;
      if (ticking && context->frmDialer.Loaded() && context->frmDialer.Timer1.Enabled()) {
        context->frmDialer.Timer1_Timer();
      }
    }
  }

  void Tick() { context->frmDialer.Timer1_Timer(); }
  void DropLine() { dialUp.connections.clear(); }
};

TEST_F(SupervisorTest, LostLineIsBookedOnceThenEndsOrWaitsToReconnect) {
  struct Case {
    const char* label;
    Values values;
    bool userDisconnected;
    bool ends;
  };
  const std::vector<Case> cases = {
      {"no automatic reconnection", {{"AutoReconnect", "0"}}, false, true},
      {"the user disconnected", {{"AutoReconnect", "1"}, {"DoNotAsk", "1"}}, true, true},
      {"never reconnect in the first window", {{"AutoReconnect", "1"}, {"OnTimeEx1", "1"}, {"OffTimeEx1", "100"},
                                                {"OnlineTime", "4000"}, {"CurrentMonth", "12,December"}},
       false, true},
      {"reconnect later", {{"AutoReconnect", "1"}, {"OnTimeEx2", "20"}, {"OffTimeEx2", "30"}, {"OnlineTime", "400"},
                           {"CurrentMonth", "12,December"}},
       false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    trayIcon = FakeTrayIcon();
    clock.secondsSinceMidnight = 10 * 3600;
    AppContext& app = Connect(c.values);
    const std::string before = Value("Work", kOnlineTimeValue);
    Pass(100, true);
    dialUp.hangUps.clear();
    if (c.userDisconnected) app.frmDialer.mnuDisconnect.OnUserClick();
    DropLine();
    Tick();
    // The dropped line's handle is released, so a reconnection finds the port free.
    EXPECT_GE(std::count(dialUp.hangUps.begin(), dialUp.hangUps.end(), dialUp.nextHandle), 1);
    Pass(1, true);  // later ticks must not book it again

    const long booked = (before == "<none>" ? 0 : std::stol(before)) + 100;
    EXPECT_EQ(Value("Work", kOnlineTimeValue), std::to_string(booked));
    EXPECT_EQ(Value("Work", kLastOffTimeValue), std::to_string(10 * 3600 + 100));
    EXPECT_EQ(app.frmDialer.Loaded(), !c.ends);
    if (c.ends) {
      EXPECT_FALSE(trayIcon.shown);
      continue;
    }
    EXPECT_EQ(app.Line.IsConnected(), 0);
    EXPECT_EQ(app.Line.Session().Hooked, 0);
    EXPECT_EQ(app.Line.LineDropped(), 1);
    EXPECT_EQ(trayIcon.icon, 108);
    EXPECT_EQ(trayIcon.tip, "Disconnected");
    EXPECT_EQ(app.frmDialer.mnuDisconnect.Caption(), "&Connect");
    EXPECT_FALSE(app.frmDialer.Visible());
  }
}

TEST_F(SupervisorTest, ReconnectionComesAfterThePauseItsTimeWindowChooses) {
  struct Case {
    const char* label;
    Values values;
    double online;       // length of the connection that drops
    double dropAt;       // wall clock at the drop
    double wallDuringWait;  // how far the wall clock moves per second of waiting
    double delay;        // expected seconds from the drop to the new dial
  };
  const std::vector<Case> cases = {
      {"both thresholds 0: at the next tick", {}, 60, 12 * 3600.0, 1, 0.5},
      {"above the first threshold", {{"OnTimeEx1", "10"}, {"OffTimeEx1", "30"}, {"OnlineTime", "39940"}}, 60,
       12 * 3600.0, 1, 1800},
      {"exactly at the second threshold", {{"OnTimeEx2", "20"}, {"OffTimeEx2", "2"}, {"OnlineTime", "71940"}}, 60,
       12 * 3600.0, 1, 120},
      {"above the second threshold, no rule yet", {{"OnTimeEx2", "20"}, {"OffTimeEx2", "2"}, {"OnlineTime", "71941"}},
       60, 12 * 3600.0, 1, 0.5},
      {"across midnight", {{"OnTimeEx2", "20"}, {"OffTimeEx2", "1"}}, 60, 86390, 1, 60},
      {"clock set back while waiting", {{"OnTimeEx2", "20"}, {"OffTimeEx2", "1"}}, 60, 12 * 3600.0, -59, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    clock.secondsSinceMidnight = c.dropAt - c.online;
    Values values{{"AutoReconnect", "1"}, {"CurrentMonth", "12,December"}};
    values.insert(values.end(), c.values.begin(), c.values.end());
    AppContext& app = Connect(values);
    Pass(c.online, true);
    DropLine();
    Tick();
    ASSERT_EQ(app.Line.LineDropped(), 1);
    dialUp.dials.clear();

    Pass(c.delay - 0.5, true, (c.delay - 0.5) * c.wallDuringWait);
    EXPECT_TRUE(dialUp.dials.empty());
    EXPECT_EQ(app.Line.LineDropped(), 1);
    Pass(0.5, true, 0.5 * c.wallDuringWait);
    EXPECT_EQ(dialUp.dials.size(), 1u);
    EXPECT_EQ(app.Line.LineDropped(), 0);
    EXPECT_TRUE(app.frmDialer.Visible());
    EXPECT_EQ(app.frmDialer.Caption(), "Corvane     'Work'");
    EXPECT_EQ(trayIcon.tip, "Connecting to: 'Work'");
    EXPECT_EQ(trayIcon.icon, 8);
  }
}

TEST_F(SupervisorTest, ConnectWhileWaitingReconnectsAtOnce) {
  AppContext& app = Connect({{"AutoReconnect", "1"}, {"OnTimeEx2", "20"}, {"OffTimeEx2", "30"}});
  Pass(10, true);
  DropLine();
  Tick();
  dialUp.dials.clear();
  app.frmDialer.mnuDisconnect.OnUserClick();
  EXPECT_EQ(dialUp.dials.size(), 1u);
  EXPECT_TRUE(app.frmDialer.Loaded());
  EXPECT_EQ(app.Line.LineDropped(), 0);
}

TEST_F(SupervisorTest, ReconnectWaitIconFollowsTheEntryIcon) {
  struct Case {
    const char* icon;
    int waitIcon;
  };
  for (const Case& c : {Case{"0", 108}, Case{"8", 108}, Case{"12", 112}, Case{"21", 121}, Case{"99", 108}}) {
    SCOPED_TRACE(c.icon);
    registry = FakeRegistry();
    Connect({{"AutoReconnect", "1"}, {"Icon", c.icon}});
    DropLine();
    Tick();
    EXPECT_EQ(trayIcon.icon, c.waitIcon);
  }
}

TEST_F(SupervisorTest, AutoDisconnectHangsUpAtTheAgeLimitThenBooksAndEnds) {
  struct Case {
    const char* label;
    double connectAt;
    const char* limit;
    double wallPerSecond;
  };
  const std::vector<Case> cases = {
      {"made at 23:00, two hours", 23 * 3600.0, "7200", 1},
      {"a limit above one day", 12 * 3600.0, "108000", 1},
      {"clock set back an hour meanwhile", 12 * 3600.0, "7200", 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    dialUp.hangUps.clear();
    clock.secondsSinceMidnight = c.connectAt;
    const double limit = std::stod(c.limit);
    AppContext& app = Connect({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", c.limit}, {"AutoReconnect", "1"}});
    Pass(limit - 0.5, true, (limit - 0.5) * c.wallPerSecond);
    EXPECT_TRUE(dialUp.hangUps.empty());
    Pass(0.5, true, 0.5 * c.wallPerSecond);
    ASSERT_EQ(dialUp.hangUps.size(), 1u);
    EXPECT_EQ(app.Line.DisconnectRequested(), 1);

    DropLine();  // the service lets go of the line
    Tick();
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_EQ(Value("Work", kOnlineTimeValue), std::to_string(static_cast<long>(limit)));
  }
}

TEST_F(SupervisorTest, CheckpointOfTheRunningLineIsBookedOnceAtTheNextStart) {
  Connect();
  Pass(kCheckpointIntervalSeconds * 3 + 10, true);
  EXPECT_EQ(Value("Work", kCheckpointValue), std::to_string(static_cast<int>(kCheckpointIntervalSeconds * 3)));
  EXPECT_EQ(Value("Work", kOnlineTimeValue), "<none>");

  // The process is killed: nothing runs its exit path. The next two starts
  // (of another entry) book what the checkpoint holds, once.
  const std::unique_ptr<AppContext> killed = std::move(context);
  for (int start = 0; start < 2; ++start) {
    SeedEntry("Home", {});
    AppContext& next = Start("Home");
    EXPECT_EQ(Value("Work", kOnlineTimeValue), std::to_string(static_cast<int>(kCheckpointIntervalSeconds * 3)));
    EXPECT_EQ(Value("Work", kCheckpointValue), "");
    next.frmDialer.Unload();
  }
}

TEST_F(SupervisorTest, ExitAndTheEndOfTheSessionBookTheRunningLine) {
  struct Case {
    const char* label;
    int16_t unloadMode;
  };
  for (const Case& c : {Case{"Exit", forms::kUnloadFormCode}, Case{"end of session", forms::kUnloadAppWindows}}) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    AppContext& app = Connect();
    Pass(42, true);
    EXPECT_TRUE(app.frmDialer.Unload(c.unloadMode));
    EXPECT_EQ(Value("Work", kOnlineTimeValue), "42");
    EXPECT_EQ(Value("Work", kCheckpointValue), "");
  }
}

TEST_F(SupervisorTest, HandOffsRunWithoutMonitoringButTheLineIsNotWatched) {
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"MonitorTime", "0"}, {"StartBrowser", "0"}, {"EnableRedial", "1"},
                     {"NumberOfRedials", "3"}, {"Minutes", "0"}, {"Seconds", "1"}});
  AppContext& app = Start("Work");
  ASSERT_TRUE(app.frmDialer.Timer1.Enabled());
  app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, 2, kRasLineBusy);
  ASSERT_EQ(app.Line.BusyRedialPending(), 1);
  dialUp.dials.clear();
  Tick();
  EXPECT_EQ(dialUp.dials.size(), 1u);

  LineUp(app);
  DropLine();
  Pass(5, true);
  EXPECT_TRUE(app.frmDialer.Loaded());
  EXPECT_EQ(Value("Work", kOnlineTimeValue), "<none>");
}

TEST_F(SupervisorTest, NumberDownloadDoesNotRedialALineThatDroppedMeanwhile) {
  struct Case {
    const char* label;
    bool dropsDuringDownload;
    size_t dials;
  };
  for (const Case& c : {Case{"line still up", false, 1}, Case{"line dropped", true, 0}}) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    download.body = "5559999\r\n";
    download.onEvents = [&] {
      Pass(20, !c.dropsDuringDownload);
      if (c.dropsDuringDownload) {
        DropLine();
        Tick();
      }
    };
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"MonitorTime", "1"}, {"StartBrowser", "0"},
                       {"AutoReconnect", "1"}, {"OnTimeEx2", "20"}, {"OffTimeEx2", "5"},
                       {"FileURL", "http://127.0.0.1/n"}, {"DisconnectAndDial", "1"}});
    AppContext& app = Start("Work");
    LineUp(app);
    dialUp.dials.clear();
    Tick();  // the busy-redial hand-off dials the new number
    EXPECT_EQ(dialUp.dials.size(), c.dials);
    // Either way the 20 seconds online are booked exactly once.
    EXPECT_EQ(Value("Work", kOnlineTimeValue), "20");
    EXPECT_EQ(Value("Work", "PhoneNumber"), "5559999");
  }
}

class CustomEntryTest : public SupervisorTest {
 protected:
  // Starts the custom entry "*Net"; while the program waits, the provider's
  // connections appear after `appearAfter` seconds.
  AppContext& StartCustom(const Values& values, std::vector<ActiveConnection> lines, double appearAfter = 3) {
    SeedEntry("Alpha", {});
    SeedEntry("*Net", values);
    const double start = clock.monotonic;
    pump.onEvents = [this, lines, appearAfter, start] {
      if (clock.monotonic - start >= appearAfter) dialUp.connections = lines;
      AppContext& app = *context;
      if (app.frmDialer.Timer1.Enabled()) app.frmDialer.Timer1_Timer();
    };
    return Start("/net");
  }

  static ActiveConnection Line(RasHandle handle) {
    ActiveConnection line;
    line.Handle = handle;
    line.EntryName = "Provider";
    return line;
  }
};

TEST_F(CustomEntryTest, ProviderProgramIsStartedMinimisedInItsFolder) {
  struct Case {
    const char* location;
    const char* folder;
  };
  for (const Case& c : {Case{"c:\\isp\\bin\\dialer.exe", "c:\\isp\\bin\\"}, Case{"dialer.exe", "c:\\"}}) {
    SCOPED_TRACE(c.location);
    shell.started.clear();
    StartCustom({{"Location", c.location}}, {Line(0x31)});
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].operation, "open");
    EXPECT_EQ(shell.started[0].file, c.location);
    EXPECT_EQ(shell.started[0].parameters, "");
    EXPECT_EQ(shell.started[0].directory, c.folder);
    EXPECT_EQ(shell.started[0].show, ShowMode::MinimizedNoActivate);
    context->frmDialer.Unload();
  }
}

TEST_F(CustomEntryTest, ConnectionOfTheProviderMakesATrayOnlyWatcher) {
  struct Case {
    const char* icon;
    int trayIcon;
  };
  for (const Case& c : {Case{"0", 101}, Case{"14", 14}}) {
    SCOPED_TRACE(c.icon);
    registry = FakeRegistry();
    trayIcon = FakeTrayIcon();
    AppContext& app = StartCustom({{"Location", "c:\\isp\\dialer.exe"}, {"Icon", c.icon}, {"DoNotAsk", "1"}},
                                  {Line(0x31)});
    ASSERT_TRUE(app.frmDialer.Loaded());
    EXPECT_EQ(app.Line.IsConnected(), 1);
    EXPECT_EQ(app.Line.RunningEntry().MonitorTime, 1);
    EXPECT_EQ(app.Line.RunningEntry().DoNotAsk, 1);
    EXPECT_FALSE(app.frmDialer.mnuOptions.Enabled());
    EXPECT_TRUE(trayIcon.shown);
    EXPECT_EQ(trayIcon.icon, c.trayIcon);
    EXPECT_EQ(trayIcon.tip, "Connected to: '*net'");
    EXPECT_FALSE(app.frmDialer.Visible());
    EXPECT_EQ(app.frmDialer.State(), forms::WindowState::Minimized);

    // Timed from the moment it was seen; the line going ends the watch.
    Pass(50, true);
    DropLine();
    Tick();
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_EQ(Value("*Net", kOnlineTimeValue), "50");
    // The provider's line was never the program's to hang up.
    EXPECT_EQ(std::count(dialUp.hangUps.begin(), dialUp.hangUps.end(), RasHandle{0x31}), 0);
  }
}

TEST_F(CustomEntryTest, WithoutExactlyOneConnectionTheWaitEndsTheProgram) {
  struct Case {
    const char* label;
    std::vector<ActiveConnection> lines;
  };
  for (const Case& c : {Case{"none", {}}, Case{"two", {Line(0x31), Line(0x32)}}}) {
    SCOPED_TRACE(c.label);
    trayIcon = FakeTrayIcon();
    const double start = clock.monotonic;
    AppContext& app = StartCustom({{"Location", "c:\\isp\\dialer.exe"}}, c.lines, 0);
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_FALSE(trayIcon.shown);
    EXPECT_NEAR(clock.monotonic - start, 180, 0.5);
  }
}

TEST_F(CustomEntryTest, ProviderProgramThatCannotStartEndsAtOnce) {
  shell.executeResult = 2;
  AppContext& app = StartCustom({{"Location", "c:\\isp\\missing.exe"}}, {Line(0x31)});
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_FALSE(trayIcon.shown);
  EXPECT_EQ(pump.waitCalls, 0);
}

}  // namespace
}  // namespace corvane::testing
