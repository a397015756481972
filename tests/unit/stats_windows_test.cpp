// The statistics and online time windows on fakes, each built from only what
// it reads: captions, the three states of the refresh, the countdowns across
// midnight and past ten hours, the monthly lists, and totals that stay put
// while offline.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fakes/fake_dialup_service.h"
#include "fakes/fake_live_connection.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "forms/form.h"
#include "settings/allowance_settings.h"
#include "stats/allowance_watch.h"
#include "stats/online_time_form.h"
#include "stats/online_time_ledger.h"
#include "stats/statistics_form.h"

namespace corvane {
namespace {

using testing::FakeClock;
using testing::FakeDialUpService;
using testing::FakeRegistry;

// Counts what the program changes in one list, as the binder would see it.
class ListChanges : public forms::FormObserver {
 public:
  explicit ListChanges(const forms::Control& list) : list_(list) {}
  void ControlChanged(forms::Control& control, forms::Prop property) override {
    if (&control == &list_ && (property == forms::Prop::Items || property == forms::Prop::ItemAdded)) ++count;
  }
  void FormChanged(forms::FormProp) override {}
  void PopupMenu(forms::MenuItem&) override {}
  void Call(forms::WindowCall) override {}
  int count = 0;

 private:
  const forms::Control& list_;
};

// What both windows read: an entry "Work" in the store, the clock, the
// ledger measuring its connection.
class OnlineTimeWindowsTest : public ::testing::Test {
 protected:
  OnlineTimeWindowsTest() { registry.AddKey(RegHive::CurrentUser, Key()); }

  std::string Key() const { return std::string(kSettingsRoot) + statsEntryName; }
  void Store(const std::string& value, const std::string& text) {
    registry.SetString(RegHive::CurrentUser, Key(), value, text);
  }
  // A monitored connection of "Work" comes up at `wallClock` seconds since
  // midnight.
  void Connect(double wallClock) {
    clock.secondsSinceMidnight = wallClock;
    ledger.StartCounting();
    line.isConnected = 1;
    line.entry.MonitorTime = 1;
  }
  // `seconds` pass on both clocks; the wall clock wraps at midnight.
  void Pass(double seconds) {
    clock.monotonic += seconds;
    clock.secondsSinceMidnight = std::fmod(clock.secondsSinceMidnight + seconds, 86400.0);
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeClock clock;  // December
  OnlineTimeLedger ledger{store, clock};
  std::string currentEntryName = "Work";
  std::string statsEntryName = "Work";
  testing::FakeLiveConnection line;
};

class StatisticsWindowTest : public OnlineTimeWindowsTest {
 protected:
  EntrySettings& entry = line.entry;
  FakeDialUpService dialUp;
  int disconnects = 0;
  StatisticsForm frmStatistics{
      StatisticsSources{ledger, store, line, currentEntryName, statsEntryName, dialUp, clock},
      StatisticsCallbacks{[this] { ++disconnects; }}};
};

TEST_F(StatisticsWindowTest, CaptionAndFirstTabFollowWhetherTheProgramRunsAnEntry) {
  struct Case {
    const char* label;
    std::string current, shown;
    const char* loadCaption;
    int tab;
    const char* tickCaption;
  };
  const std::vector<Case> cases = {
      {"running entry", "Work", "Work", "'Work'  Connection Status", 1, "'Work' Online Time"},
      // Selecting the monthly tab fills the list, which names the window at once.
      {"options window without a running entry", "", "Home", "'Home' Online Time", 2, "'Home' Online Time"},
      {"custom entry", "*Isp", "*Isp", "'*Isp'  Connection Status", 1, "'Isp' Online Time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    currentEntryName = c.current;
    statsEntryName = c.shown;
    frmStatistics.Load();
    EXPECT_EQ(frmStatistics.Caption(), c.loadCaption);
    EXPECT_EQ(frmStatistics.tbsStats.SelectedTab(), c.tab);
    EXPECT_EQ(frmStatistics.StatsWindowOpen, 1);
    EXPECT_TRUE(frmStatistics.Timer1.Enabled());
    // Only the selected page is seen and usable.
    for (int page = 1; page <= 2; ++page) {
      const forms::Frame& frame = frmStatistics.fra[static_cast<size_t>(page - 1)];
      EXPECT_EQ(frame.Visible(), page == c.tab);
      EXPECT_EQ(frame.Enabled(), page == c.tab);
    }
    // The month total is named for this month, connected or not.
    EXPECT_EQ(frmStatistics.lblTime.Caption(), "Time online in December:");
    frmStatistics.Timer1.OnTick();
    EXPECT_EQ(frmStatistics.Caption(), c.tickCaption);
    frmStatistics.cmdOK.OnUserClick();
    EXPECT_FALSE(frmStatistics.Loaded());
    EXPECT_EQ(frmStatistics.StatsWindowOpen, 0);
    EXPECT_FALSE(frmStatistics.Timer1.Enabled());
  }
}

TEST_F(StatisticsWindowTest, EachTickShowsConnectedWaitingOrOffline) {
  entry.MonitorTime = 1;
  entry.AutoDisconnect = 1;
  entry.AutoDisconnectTime = 3600;
  entry.AutoReconnect = 1;
  dialUp.statistics.Bps = 49333;
  dialUp.statistics.BytesTransmitted = 4294967295u;  // 4 GiB less one byte, as the service counts
  dialUp.statistics.BytesReceived = 2048;
  Store(kCurrentMonthValue, "12,December");
  Store(kOnlineTimeValue, "600");

  struct Case {
    const char* label;
    uint8_t connected, dropped, autoReconnect;
    std::vector<const char*> texts;  // speed, sent, received, time on, total, disconnect in, reconnect in
    bool lineCaptions, disconnectCaption, reconnectCaption, disconnectButton;
  };
  const std::vector<Case> cases = {
      {"connected", 1, 0, 1,
       {"49333 bps", "4294967295", "2048", "00:10:00", "00:20:00", "00:50:00", ""}, true, true, false, true},
      {"waiting to reconnect", 0, 1, 1, {"", "", "", "", "00:10:00", "", "00:01:59"}, false, false, true, true},
      {"dropped without reconnecting", 0, 1, 0, {"", "", "", "", "00:10:00", "", ""}, false, false, false, false},
      {"offline", 0, 0, 1, {"", "", "", "", "00:10:00", "", ""}, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Connect(12 * 3600.0);
    frmStatistics.Load();
    Pass(600);
    frmStatistics.Timer1.OnTick();  // every case starts from a connected window

    line.isConnected = c.connected;
    line.lineDropped = c.dropped;
    entry.AutoReconnect = c.autoReconnect;
    line.reconnectCountdown = 119.2f;
    frmStatistics.Timer1.OnTick();
    const std::vector<const forms::Label*> values = {
        &frmStatistics.lblSpeed,     &frmStatistics.lblTx,       &frmStatistics.lblRx,       &frmStatistics.lblTimeOn,
        &frmStatistics.lblTotalTime, &frmStatistics.lblDiscTime, &frmStatistics.lblReconTime};
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i]->Caption(), c.texts[i]) << values[i]->Name();
    for (const forms::Label* caption :
         {&frmStatistics.lbl1, &frmStatistics.lbl2, &frmStatistics.lbl3, &frmStatistics.lbl4}) {
      EXPECT_EQ(caption->Enabled(), c.lineCaptions) << caption->Name();
    }
    EXPECT_EQ(frmStatistics.lblDisconnect.Enabled(), c.disconnectCaption);
    EXPECT_EQ(frmStatistics.lblReconnect.Enabled(), c.reconnectCaption);
    EXPECT_EQ(frmStatistics.cmdDisconnect.Enabled(), c.disconnectButton);
    EXPECT_EQ(frmStatistics.lblDiscTime.ForeColor(), StatisticsForm::kCountdownColor);
    if (c.reconnectCaption) {
      EXPECT_EQ(frmStatistics.lblReconTime.ForeColor(), StatisticsForm::kCountdownColor);
    }
    frmStatistics.Unload();
  }
}

TEST_F(StatisticsWindowTest, WithoutMonitoringTheCountersMoveAndTheTimesKeepTheirLastTexts) {
  entry.MonitorTime = 1;
  entry.AutoDisconnect = 1;
  entry.AutoDisconnectTime = 3600;
  Connect(12 * 3600.0);
  frmStatistics.Load();
  Pass(60);
  dialUp.statistics.BytesReceived = 100;
  frmStatistics.Timer1.OnTick();

  entry.MonitorTime = 0;
  Pass(60);
  dialUp.statistics.BytesReceived = 200;
  frmStatistics.Timer1.OnTick();
  EXPECT_EQ(frmStatistics.lblRx.Caption(), "200");
  EXPECT_EQ(frmStatistics.lblTimeOn.Caption(), "00:01:00");
  EXPECT_EQ(frmStatistics.lblTime.Caption(), "Time online in December:");
  EXPECT_EQ(frmStatistics.lblDiscTime.Caption(), "00:59:00");

  // A failing counter read leaves the figures of the last good one.
  dialUp.statisticsAnswer = kRasInvalidHandle;
  dialUp.statistics.BytesReceived = 300;
  frmStatistics.Timer1.OnTick();
  EXPECT_EQ(frmStatistics.lblRx.Caption(), "200");
  EXPECT_EQ(dialUp.statisticsQueries.back(), RasHandle{0x5150});
}

TEST_F(StatisticsWindowTest, CountdownFollowsTheTimeReallyOnline) {
  struct Case {
    const char* label;
    double connectedAt, limit, online;
    double wallClockShift;  // the wall clock set forward (+) or back (-) meanwhile
    const char* timeOn;
    const char* left;
  };
  const std::vector<Case> cases = {
      {"connected 23:50, one-hour limit, now 00:10", 23 * 3600 + 50 * 60, 3600, 1200, 0, "00:20:00", "00:40:00"},
      {"clock set back an hour", 12 * 3600, 3600, 1200, -3600, "00:20:00", "00:40:00"},
      {"clock set forward a day less a minute", 12 * 3600, 3600, 1200, 86340, "00:20:00", "00:40:00"},
      {"more than a day online", 8 * 3600, 100 * 3600, 25 * 3600, 0, "25:00:00", "75:00:00"},
      {"ten hours and more left", 9 * 3600, 12 * 3600, 754, 0, "00:12:34", "11:47:26"},
      {"a fraction of a second online", 9 * 3600, 3600, 1200.4, 0, "00:20:00", "00:40:00"},
      {"limit passed", 9 * 3600, 60, 90, 0, "00:01:30", "00:00:00"},
  };
  entry.MonitorTime = 1;
  entry.AutoDisconnect = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    entry.AutoDisconnectTime = static_cast<float>(c.limit);
    Connect(c.connectedAt);
    frmStatistics.Load();
    Pass(c.online);
    clock.secondsSinceMidnight = std::fmod(clock.secondsSinceMidnight + 86400.0 + c.wallClockShift, 86400.0);
    frmStatistics.Timer1.OnTick();
    EXPECT_EQ(frmStatistics.lblTimeOn.Caption(), c.timeOn);
    EXPECT_EQ(frmStatistics.lblDiscTime.Caption(), c.left);
    frmStatistics.Unload();
  }
}

TEST_F(StatisticsWindowTest, MonthlyListShowsThisMonthFirstThenTheHistory) {
  using Rows = std::vector<forms::ListView::Row>;
  struct Case {
    const char* label;
    const char* currentMonth;
    const char* onlineTime;
    const char* history;
    Rows rows;
  };
  const std::vector<Case> cases = {
      {"never booked", "", "", "", {{" December", "0 hrs   00 min"}}},
      {"stored month is an old one", "11,November", "5400", "", {{" December", "0 hrs   00 min"}}},
      {"this month and two closed ones", "12,December", "37260", "11,November,5400@10,October,123@",
       {{" December", "10 hrs   21 min"}, {" November", "1 hrs   30 min"}, {" October", "0 hrs   02 min"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Store(kCurrentMonthValue, c.currentMonth);
    Store(kOnlineTimeValue, c.onlineTime);
    Store(kPreviousMonthsValue, c.history);
    frmStatistics.Load();
    frmStatistics.tbsStats.OnUserSelect(2);
    EXPECT_EQ(frmStatistics.lvTime.Rows(), c.rows);
    EXPECT_EQ(frmStatistics.lvTime.ColumnHeader(0), "MONTH");
    EXPECT_EQ(frmStatistics.lvTime.ColumnHeader(1), "TOTAL ONLINE TIME");
    frmStatistics.Unload();
  }
}

TEST_F(StatisticsWindowTest, RefreshLeavesAnUnchangedListAloneAndOfflineTotalsNeverGrow) {
  entry.MonitorTime = 1;
  Store(kCurrentMonthValue, "12,December");
  Store(kOnlineTimeValue, "3600");
  Connect(12 * 3600.0);
  frmStatistics.Load();
  ListChanges changes(frmStatistics.lvTime);
  frmStatistics.Attach(&changes);

  Pass(30);
  frmStatistics.Timer1.OnTick();
  EXPECT_EQ(frmStatistics.lvTime.Cell(0, 1), "1 hrs   00 min");
  const int afterFirst = changes.count;
  Pass(0.5);
  frmStatistics.Timer1.OnTick();
  EXPECT_EQ(changes.count, afterFirst) << "identical rows rebuilt";
  Pass(30);
  frmStatistics.Timer1.OnTick();
  EXPECT_EQ(frmStatistics.lvTime.Cell(0, 1), "1 hrs   01 min");
  EXPECT_GT(changes.count, afterFirst);

  // The line drops and is booked: from now on nothing grows.
  ledger.SaveOnlineTime(Key());
  line.isConnected = 0;
  frmStatistics.Timer1.OnTick();
  const std::string total = frmStatistics.lblTotalTime.Caption();
  EXPECT_EQ(total, "01:01:00");
  for (int tick = 0; tick < 3; ++tick) {
    Pass(3600);
    frmStatistics.Timer1.OnTick();
    EXPECT_EQ(frmStatistics.lblTotalTime.Caption(), total);
    EXPECT_EQ(frmStatistics.lvTime.Cell(0, 1), "1 hrs   01 min");
  }
  frmStatistics.Attach(nullptr);
}

// While the entry shown has an allowance, the window shows what is left of
// it: the month's time, and the log's bytes (read once per opening) plus
// the running line's; without one the line is hidden.
TEST_F(OnlineTimeWindowsTest, StatisticsShowWhatIsLeftOfTheAllowance) {
  FakeDialUpService dialUp;
  int logReads = 0;
  StatisticsForm window{
      StatisticsSources{ledger, store, line, currentEntryName, statsEntryName, dialUp, clock},
      StatisticsCallbacks{[] {}, [] {}, [&](const std::string& entryName, const Tariff&) {
                            ++logReads;
                            return LoggedMonth{entryName == "Work" ? 300 * kBytesPerMegabyte : 0, 0};
                          }}};
  window.Load();
  window.Timer1.OnTick();
  EXPECT_FALSE(window.lblAllowance.Visible());
  window.Unload();

  registry.AddKey(RegHive::CurrentUser, std::string(kSettingsRoot) + "Work");
  SaveAllowance({10, 500, 80, 0}, nullptr, store, std::string(kSettingsRoot) + "Work");
  line.isConnected = 1;
  line.entry.MonitorTime = 1;
  line.lineBytes = 50 * kBytesPerMegabyte;
  ledger.StartCounting();
  Pass(3600);
  window.Load();
  window.Timer1.OnTick();
  window.Timer1.OnTick();
  EXPECT_TRUE(window.lblAllowance.Visible());
  EXPECT_EQ(window.lblAllowance.Caption(), "Allowance left: 9 hrs 00 min, 150.0 MB");
  EXPECT_EQ(logReads, 1) << "the log is read once per opening, not at each refresh";
}

TEST_F(StatisticsWindowTest, DisconnectHandsOverToTheDialerAndCloses) {
  line.isConnected = 1;
  frmStatistics.Load();
  frmStatistics.cmdDisconnect.OnUserClick();
  EXPECT_EQ(disconnects, 1);
  EXPECT_FALSE(frmStatistics.Loaded());
  EXPECT_EQ(frmStatistics.StatsWindowOpen, 0);
}

class OnlineTimeWindowTest : public OnlineTimeWindowsTest {
 protected:
  OnlineTimeWindowTest() { dialer.Show(); }

  forms::Form dialer{"frmDialer", 100};
  std::vector<const forms::Form*> broughtToFront;
  OnlineTimeForm frmOnTime{OnlineTimeSources{ledger, store, statsEntryName, line, clock, dialer,
                                             [this](forms::Form& window) { broughtToFront.push_back(&window); }}};
};

// Both windows over one store and one line, as the program has them.
class MonthTotalTest : public StatisticsWindowTest {
 protected:
  forms::Form dialer{"frmDialer", 100};
  OnlineTimeForm frmOnTime{
      OnlineTimeSources{ledger, store, statsEntryName, line, clock, dialer, [](forms::Form&) {}}};
};

// The running line adds to a month total only while its time is still to
// be booked and only to its own entry's; a line that began before the
// stored month ended counts whole for this month, as its booking will. Both
// windows show the same figure.
TEST_F(MonthTotalTest, BothWindowsAddTheRunningLineOnlyUntilItIsBooked) {
  struct Case {
    const char* label;
    const char* shown;
    const char* currentMonth;
    uint8_t monitored;
    bool switchedOffHalfway;
    const char* total;
    const char* listLine;
  };
  const std::vector<Case> cases = {
      {"monitored line of the entry shown", "Work", "12,December", 1, false, "01:20:00",
       " December\t1 hrs   20 min"},
      {"monitoring switched off halfway: booked once, not counted on", "Work", "12,December", 1, true, "01:10:00",
       " December\t1 hrs   10 min"},
      {"line never monitored, so never booked", "Work", "12,December", 0, false, "01:00:00",
       " December\t1 hrs   00 min"},
      {"another entry's line", "Home", "12,December", 1, false, "01:00:00", " December\t1 hrs   00 min"},
      {"line began before the stored month ended", "Work", "11,November", 1, false, "00:20:00",
       " December\t0 hrs   20 min"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    statsEntryName = c.shown;
    registry.AddKey(RegHive::CurrentUser, Key());
    Store(kCurrentMonthValue, c.currentMonth);
    Store(kOnlineTimeValue, "3600");
    Connect(12 * 3600.0);
    entry.MonitorTime = c.monitored;
    Pass(600);
    if (c.switchedOffHalfway) {
      ledger.SaveOnlineTime(Key());
      entry.MonitorTime = 0;
    }
    Pass(600);

    frmStatistics.Load();
    frmStatistics.Timer1.OnTick();
    EXPECT_EQ(frmStatistics.lblTotalTime.Caption(), c.total);
    frmOnTime.Load();
    EXPECT_EQ(frmOnTime.lbxTime.List(0), c.listLine);
    frmStatistics.Unload();
    frmOnTime.Unload();
  }
}

TEST(OnlineTimeLineTest, TheLongestMonthNamesTakeOneTabTheOthersTwo) {
  struct Case {
    const char* month;
    int64_t seconds;
    const char* line;
  };
  const std::vector<Case> cases = {
      {"September", 3 * 3600 + 7 * 60 + 59, " September\t3 hrs   07 min"},
      {"November", 0, " November\t0 hrs   00 min"},
      {"December", 36000, " December\t10 hrs   00 min"},
      {"May", 5400, " May\t\t1 hrs   30 min"},
      {"February", 59, " February\t\t0 hrs   00 min"},
      // Compared as written: another locale's long name gets two tabs.
      {"septembre", 60, " septembre\t\t0 hrs   01 min"},
  };
  for (const Case& c : cases) EXPECT_EQ(OnlineTimeLine(c.month, c.seconds), c.line) << c.month;
}

TEST_F(OnlineTimeWindowTest, ListsThisMonthThenTheStoredHistory) {
  Store(kCurrentMonthValue, "12,December");
  Store(kOnlineTimeValue, "5400");
  Store(kPreviousMonthsValue, "10,October,5400@9,September,123@5,May,60@");
  statsEntryName = "Work";
  frmOnTime.Load();
  EXPECT_EQ(frmOnTime.Caption(), "'Work' Online Time");
  EXPECT_EQ(frmOnTime.lbxTime.Items().Texts(), (std::vector<std::string>{" December\t1 hrs   30 min",
                                                                 " October\t\t1 hrs   30 min",
                                                                 " September\t0 hrs   02 min", " May\t\t0 hrs   01 min"}));
  EXPECT_TRUE(frmOnTime.Visible());
}

TEST_F(OnlineTimeWindowTest, AnEntryNeverBookedShowsOneEmptyMonth) {
  statsEntryName = "*Isp";
  registry.AddKey(RegHive::CurrentUser, Key());
  frmOnTime.Load();
  EXPECT_EQ(frmOnTime.Caption(), "'Isp' Online Time");
  EXPECT_EQ(frmOnTime.lbxTime.Items().Texts(), std::vector<std::string>{" December\t0 hrs   00 min"});
}

TEST_F(OnlineTimeWindowTest, MouseMovementsRebuildOnlyWhatChangedAndOfflineNothingGrows) {
  Store(kCurrentMonthValue, "12,December");
  Store(kOnlineTimeValue, "60");
  Connect(12 * 3600.0);
  frmOnTime.Load();
  ListChanges changes(frmOnTime.lbxTime);
  frmOnTime.Attach(&changes);

  frmOnTime.lbxTime.OnUserMouseMove(0, 0, 10, 10);
  EXPECT_EQ(changes.count, 0) << "an unchanged list was rebuilt";
  Pass(60);
  frmOnTime.Form_MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frmOnTime.lbxTime.List(0), " December\t0 hrs   02 min");

  ledger.SaveOnlineTime(Key());
  line.isConnected = 0;
  for (int move = 0; move < 3; ++move) {
    Pass(3600);
    frmOnTime.Form_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(frmOnTime.lbxTime.List(0), " December\t0 hrs   02 min");
  }
  frmOnTime.Attach(nullptr);
}

TEST_F(OnlineTimeWindowTest, ComesForwardOnceAndHandsTheFrontBackToTheDialer) {
  struct Case {
    const char* label;
    forms::WindowState dialerState;
    std::vector<const forms::Form*> onClose;
  };
  const std::vector<Case> cases = {
      {"dialer shown", forms::WindowState::Normal, {&dialer}},
      {"dialer minimised", forms::WindowState::Minimized, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    dialer.SetWindowState(c.dialerState);
    broughtToFront.clear();
    frmOnTime.Load();
    frmOnTime.Form_MouseMove(0, 0, 1, 1);
    frmOnTime.lbxTime.OnUserMouseMove(0, 0, 1, 1);
    EXPECT_EQ(broughtToFront, std::vector<const forms::Form*>{&frmOnTime});
    EXPECT_EQ(frmOnTime.OnTimeOnTop, 1);

    broughtToFront.clear();
    frmOnTime.cmdOK.OnUserClick();
    EXPECT_FALSE(frmOnTime.Loaded());
    EXPECT_EQ(frmOnTime.OnTimeOnTop, 0);
    EXPECT_EQ(broughtToFront, c.onClose);
  }
}

}  // namespace
}  // namespace corvane
