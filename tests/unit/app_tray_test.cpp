// The tray icon's tooltip and mouse events on fakes: every tooltip text, the
// alternation with the disconnection countdown, and what a click opens.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/tray_display.h"
#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kRightButtonUp = 0x0205;

TEST(TrayTextTest, CountdownsAndStatistics) {
  struct Case {
    const char* label;
    std::string text;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"half an hour left (29 whole minutes begun as 30)", DisconnectionCountdownText(1790), "Disconnection in: 0 hrs  30 min"},
      {"40 seconds left", DisconnectionCountdownText(40), "Disconnection in: 0 hrs  40 secs"},
      {"2 h 5 min left", DisconnectionCountdownText(2 * 3600 + 5 * 60 + 1), "Disconnection in: 2 hrs  06 min"},
      {"last seconds round", DisconnectionCountdownText(9.5), "Disconnection in: 0 hrs  10 secs"},
      {"the sixtieth minute begun is an hour", DisconnectionCountdownText(7170), "Disconnection in: 2 hrs  00 min"},
      {"one hour and some seconds", DisconnectionCountdownText(3600 + 59), "Disconnection in: 1 hrs  59 secs"},
      {"already past", DisconnectionCountdownText(-3), "Disconnection in: 0 hrs  00 secs"},
      {"119 s to reconnect", ReconnectCountdownText(119), "Connecting in: 1 min"},
      {"61 s to reconnect", ReconnectCountdownText(61), "Connecting in: 1 min"},
      {"60 s to reconnect", ReconnectCountdownText(60), "Connecting in: 60 secs"},
      {"45 s to reconnect", ReconnectCountdownText(45), "Connecting in: 45 secs"},
      {"statistics", ConnectionStatisticsText("Work", 49333, 3600 + 5 * 60 + 7, 12 * 3600 + 30 * 60, "December"),
       "'Work': 49333\r\nNow: 01:05:07\r\nDecember: 12 hrs 30 min"},
      {"statistics past a day", ConnectionStatisticsText("Isp", 0, 30 * 3600, 30 * 3600 + 59, "Juli"),
       "'Isp': 0\r\nNow: 30:00:00\r\nJuli: 30 hrs 00 min"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.text, c.expected);
  }
}

class TrayTest : public ::testing::Test, public ProgramFixture {
 protected:
  // Starts `name` with a line that has been up for `online` seconds.
  AppContext& Connected(const std::string& name, const Values& values, double online) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
    AppContext& app = Start(name);
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    clock.monotonic += online;
    clock.secondsSinceMidnight += online;
    return app;
  }

  std::string TipAfter(uint32_t mouseMessage) {
    context->frmDialer.TrayIcon_Callback(mouseMessage);
    return trayIcon.tip;
  }
};

TEST_F(TrayTest, TooltipWhileConnected) {
  struct Case {
    const char* label;
    Values values;
    std::vector<std::string> tips;  // after each of several mouse events
  };
  const Values base{{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"},
                    {"CurrentMonth", "12,December"}, {"CurrentYear", "2026"}};
  auto with = [&](Values more) {
    Values values = base;
    values.insert(values.end(), more.begin(), more.end());
    return values;
  };
  const std::string stats = "'Work': 49333\r\nNow: 01:05:07\r\nDecember: 12 hrs 30 min";
  const std::vector<Case> cases = {
      {"statistics only", with({{"OnlineTime", "41093"}}), {stats, stats}},
      {"alternating with the countdown",
       with({{"OnlineTime", "41093"}, {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "7200"}}),
       {stats, "Disconnection in: 0 hrs  55 min", stats}},
      {"another month: the connection alone", with({{"OnlineTime", "41093"}, {"CurrentMonth", "11,November"}}),
       {"'Work': 49333\r\nNow: 01:05:07\r\nDecember: 1 hrs 05 min"}},
      {"monitoring off", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "0"},
                          {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "7200"}},
       {"Connected to: 'Work'", "Connected to: 'Work'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    dialUp.statistics.Bps = 49333;
    Connected("Work", c.values, 3600 + 5 * 60 + 7.6);
    for (const std::string& tip : c.tips) EXPECT_EQ(TipAfter(kMouseMove), tip);
    EXPECT_EQ(trayIcon.icon, 8);  // the picture is left as it is
  }
}

TEST_F(TrayTest, CustomEntryTooltipShowsTheNameWithoutItsStar) {
  // A custom entry's tooltip goes through the same handler once watching.
  registry.AddKey(RegHive::CurrentUser, EntryKey("*Net"));
  registry.SetString(RegHive::CurrentUser, EntryKey("*Net"), "Location", "c:\\isp\\dialer.exe");
  dialUp.connections = {ListedLine(0x31, "Net")};
  pump.onEvents = [this] { context->frmDialer.Timer1_Timer(); };
  Start("Net");
  pump.onEvents = nullptr;
  clock.monotonic += 61;
  dialUp.statistics.Bps = 0;
  EXPECT_EQ(TipAfter(kMouseMove).substr(0, 13), "'Net': 0\r\nNow");
}

TEST_F(TrayTest, TooltipWhileWaitingToReconnectOrIdle) {
  AppContext& app = Connected("Work",
                              {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"},
                               {"AutoReconnect", "1"}, {"OnTimeEx2", "20"}, {"OffTimeEx2", "2"}},
                              10);
  dialUp.connections.clear();
  app.frmDialer.Timer1_Timer();  // the line is gone: a 2-minute pause
  ASSERT_TRUE(app.Line.LineDropped());
  clock.monotonic += 1;
  app.frmDialer.Timer1_Timer();
  EXPECT_EQ(TipAfter(kMouseMove), "Connecting in: 1 min");
  clock.monotonic += 74;
  app.frmDialer.Timer1_Timer();
  EXPECT_EQ(TipAfter(kMouseMove), "Connecting in: 45 secs");

  clock.monotonic += 45;
  app.frmDialer.Timer1_Timer();  // the pause is over: dialling again
  ASSERT_FALSE(app.Line.LineDropped());
  trayIcon.calls.clear();
  TipAfter(kMouseMove);  // neither connected nor waiting: left as it is
  EXPECT_TRUE(trayIcon.calls.empty());
}

TEST_F(TrayTest, RightClickOpensTheMenuInFrontOthersOnlyUpdateTheTip) {
  struct Case {
    uint32_t message;
    bool menu;
  };
  for (const Case& c : {Case{kMouseMove, false}, Case{kLeftButtonUp, false}, Case{kRightButtonUp, true}}) {
    SCOPED_TRACE(c.message);
    registry = FakeRegistry();
    window = RecordingWindow();
    AppContext& app =
        Connected("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}}, 10);
    window.calls.clear();
    app.frmDialer.TrayIcon_Callback(c.message);
    EXPECT_EQ(window.popups, c.menu ? std::vector<forms::MenuItem*>{&app.frmDialer.mnuSystray}
                                    : std::vector<forms::MenuItem*>{});
    EXPECT_EQ(window.calls, c.menu ? std::vector<forms::WindowCall>{forms::WindowCall::SetForeground}
                                   : std::vector<forms::WindowCall>{});
  }
}

TEST_F(TrayTest, OpenersNameTheEntryTheOnlineTimeWindowsShow) {
  struct Case {
    const char* label;
    std::string shownBefore;  // the entry the windows showed before
    std::function<void(AppContext&)> open;
    const char* window;
    const char* entry;
  };
  const std::vector<Case> cases = {
      {"left click, no entry named yet", "", [](AppContext& app) { app.frmDialer.TrayIcon_Callback(kLeftButtonUp); },
       "frmStatistics", "Work"},
      {"left click keeps the entry named last", "Home",
       [](AppContext& app) { app.frmDialer.TrayIcon_Callback(kLeftButtonUp); }, "frmStatistics", "Home"},
      {"tray menu's Statistics", "Home", [](AppContext& app) { app.frmDialer.mnuStatistics.OnUserClick(); },
       "frmStatistics", "Work"},
      {"online-time button", "Home", [](AppContext& app) { app.frmDialer.cmdShowOnTime.OnUserClick(); }, "frmOnTime",
       "Work"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    formHost.shown.clear();
    AppContext& app =
        Connected("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}}, 10);
    app.StatsEntryName = c.shownBefore;
    c.open(app);
    ASSERT_EQ(formHost.shown.size(), 1u);
    EXPECT_EQ(formHost.shown[0].form, c.window);
    EXPECT_FALSE(formHost.shown[0].modal);
    EXPECT_EQ(app.StatsEntryName, c.entry);
  }
}

TEST_F(TrayTest, OpenStatisticsWindowFollowsTheOptionsOnlyToTheRunningEntryAndClosesWithTheProgram) {
  AppContext& app = Connected("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}}, 10);
  app.StatsEntryName = "Home";
  forms::ComboBox& selector = app.frmOptions.cmbSelEntry;
  app.frmOptions.Load();
  selector.OnUserText("work");
  EXPECT_EQ(app.StatsEntryName, "Home") << "a closed window followed";

  app.frmStatistics.Load();
  selector.OnUserText("other");
  EXPECT_EQ(app.StatsEntryName, "Home");
  selector.OnUserText("work");
  EXPECT_EQ(app.StatsEntryName, "Work");

  app.frmOnTime.Load();
  app.frmDialer.mnuExit.OnUserClick();
  EXPECT_FALSE(app.frmStatistics.Loaded());
  EXPECT_EQ(app.frmStatistics.StatsWindowOpen, 0);
  EXPECT_FALSE(app.frmOnTime.Loaded());
}

}  // namespace
}  // namespace corvane::testing
