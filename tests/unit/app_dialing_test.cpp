// Dialing on fakes: the dial start with its login rotation, every path of
// the dial-event procedure, and the supervisor tick's hand-offs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "app/dial_state_text.h"
#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

constexpr uint32_t kOpening = 0;
constexpr uint32_t kDialing = 2;
constexpr uint32_t kAuthenticate = 5;

class DialingTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::vector<std::pair<std::string, std::string>>& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey("Work"));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
  }

  // A list-mode entry with three logins; the dialer waits for the user.
  AppContext& StartListEntry(const std::vector<std::pair<std::string, std::string>>& more = {}) {
    files.files["c:\\lists\\phones.csv"] = {"City,State,PhoneNo.,", "Yuma,AZ,5203290098,", "Mesa,AZ,4805550100,"};
    files.files["c:\\lists\\users.csv"] = {"ann,pw1", "bob,pw2", "cy,pw3"};
    std::vector<std::pair<std::string, std::string>> values{{"UseList", "1"},
                                                            {"PhoneList", "c:\\lists\\phones.csv"},
                                                            {"UserList", "c:\\lists\\users.csv"},
                                                            {"LastDialedLocation", "Yuma,AZ,5203290098,"},
                                                            {"PhoneNumberLocation", "2"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry(values);
    return Start("Work");
  }

  void Event(uint32_t state, int32_t error = 0) {
    AppContext& app = *context;
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, state, error);
  }

  std::string Log() const { return context->frmDialer.txtDetails.Text(); }

  // A seed whose draw starts the login rotation at `index` of `count`
  // logins (the first dial then uses the login after it).
  static uint32_t SeedStartingAt(int32_t index, int32_t count) {
    for (uint32_t seed = 1;; ++seed) {
      std::mt19937 generator(seed);
      std::uniform_real_distribution<double> unit(0.0, 1.0);
      if (static_cast<int32_t>(unit(generator) * count) + 1 == index) return seed;
    }
  }
};

TEST_F(DialingTest, SingleNumberEntryDialsTheProgramsEntryWithTheDecodedPassword) {
  registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "1234567890123456");
  // "pw" scrambled with the key above: 'p'+'1'+66, 'w'+'2'+66.
  SeedEntry({{"PhoneNumber", "5550100"}, {"UserName", "ann"}, {"Password", std::string{char(0xE3), char(0xEB)}}});
  AppContext& app = Start("Work");

  ASSERT_EQ(dialUp.dialParams.size(), 1u);
  const DialParams& params = dialUp.dialParams[0];
  EXPECT_EQ(params.EntryName, "Crv");
  EXPECT_EQ(params.PhoneNumber, "5550100");
  EXPECT_EQ(params.UserName, "ann");
  EXPECT_EQ(params.Password, "pw");
  ASSERT_EQ(dialUp.dials.size(), 1u);
  EXPECT_EQ(dialUp.dials[0].first, "");
  EXPECT_EQ(app.Line.Session().ConnectionHandle, dialUp.nextHandle);
  EXPECT_EQ(app.frmDialer.cmdDial.Caption(), "&Cancel");
  EXPECT_EQ(app.frmDialer.lblMess.Caption(), "Status:  Opening port...");
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());
  EXPECT_EQ(app.Line.DialAnimationFrame(), 4);
  EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "LastDialedLocation"),
            std::string("5550100\0", 8));
  // The plain password never reaches the window.
  EXPECT_EQ(app.Line.RunningEntry().Password, std::string({char(0xE3), char(0xEB)}));
}

TEST_F(DialingTest, MissingNumberIsReportedAndNothingIsDialled) {
  SeedEntry({{"PhoneNumber", ""}});
  AppContext& app = Start("Work");
  app.frmDialer.cmdDial.OnUserClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Missing phone number.");
  EXPECT_EQ(messages.shown[0].title, "Dialing Error");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(dialUp.dials.empty());
  EXPECT_EQ(app.Line.Session().Hooked, 0);
}

TEST_F(DialingTest, CancelDuringADialHangsUpAndEndsTheProgram) {
  SeedEntry({{"PhoneNumber", "5550100"}});
  AppContext& app = Start("Work");
  app.frmDialer.cmdDial.OnUserClick();  // reads "&Cancel" now
  EXPECT_EQ(app.Line.CancelRequested(), 1);
  EXPECT_FALSE(dialUp.hangUps.empty());
  EXPECT_FALSE(app.frmDialer.Loaded());
}

TEST_F(DialingTest, LoginRotation) {
  struct Case {
    std::string name;
    std::vector<std::string> users;
    int32_t startIndex;
    std::vector<std::string> expected;  // logins of three prepared attempts
  };
  const Case cases[] = {
      {"one user always logs in as that user", {"solo,pw"}, 0, {"solo", "solo", "solo"}},
      {"the index at the end wraps to the first login", {"ann,1", "bob,2", "cy,3"}, 3, {"ann", "bob", "cy"}},
      {"the next login follows the current one", {"ann,1", "bob,2", "cy,3"}, 1, {"bob", "cy", "ann"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    dialUp.dialParams.clear();
    randomSeed = SeedStartingAt(c.startIndex == 0 ? 1 : c.startIndex, static_cast<int32_t>(c.users.size()));
    StartListEntry({{"NumberOfRedials", "9"}, {"Minutes", "0"}, {"Seconds", "0"}});
    files.files["c:\\lists\\users.csv"].assign(c.users.begin(), c.users.end());
    context->frmDialer.cmdDial.OnUserClick();
    for (int attempt = 1; attempt < 3; ++attempt) {
      Event(kAuthenticate, kRasAuthenticationFailure);
      context->frmDialer.Timer1.OnTick();
    }
    ASSERT_EQ(dialUp.dialParams.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(dialUp.dialParams[i].UserName, c.expected[i]) << i;
  }
}

TEST_F(DialingTest, RandomStartComesFromTheSeedAndCanBeAnyLogin) {
  std::set<int32_t> firstLogins;
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::vector<int32_t> starts;
    for (int run = 0; run < 2; ++run) {
      registry = FakeRegistry();
      dialUp.dialParams.clear();
      randomSeed = seed;
      AppContext& app = StartListEntry();
      app.frmDialer.cmdDial.OnUserClick();
      EXPECT_GE(app.Line.Session().UserIndex, 1);
      EXPECT_LE(app.Line.Session().UserIndex, 3);
      ASSERT_EQ(dialUp.dialParams.size(), 1u);
      EXPECT_EQ(dialUp.dialParams[0].UserName, app.Line.Session().UserNames[static_cast<size_t>(app.Line.Session().UserIndex)]);
      EXPECT_EQ(app.frmDialer.Caption(),
                "Dialing: Yuma  5203290098   UserID(" + std::to_string(app.Line.Session().UserIndex) + ")");
      starts.push_back(app.Line.Session().UserIndex);
    }
    // The same seed, the same start: a run can be replayed.
    EXPECT_EQ(starts[0], starts[1]);
    firstLogins.insert(starts[0]);
  }
  // Over different seeds every login gets to be the first.
  EXPECT_EQ(firstLogins, (std::set<int32_t>{1, 2, 3}));
}

TEST_F(DialingTest, SameStatusTwiceIsLoggedOnce) {
  SeedEntry({{"PhoneNumber", "5550100"}});
  Start("Work");
  Event(kOpening);
  Event(kDialing);
  Event(kDialing);
  Event(kAuthenticate);
  EXPECT_EQ(Log(), "Status:  Opening port...\r\nStatus:  Dialing...\r\nStatus:  Veryfying username and password...");
}

TEST_F(DialingTest, DetailsLogKeepsItsLatestWholeLinesOnly) {
  SeedEntry({{"PhoneNumber", "5550100"}});
  Start("Work");
  // A dialer that reconnects for weeks logs these two over and over.
  const std::string opening = "Status:  Opening port...";
  const std::string dialing = "Status:  Dialing...";
  for (int i = 0; i < 2000; ++i) {
    Event(kOpening);
    Event(kDialing);
  }
  const std::string log = Log();
  EXPECT_LE(log.size(), 32767u);
  EXPECT_GT(log.size(), 32767u - opening.size() - 2);
  EXPECT_EQ(log.substr(0, 9), "Status:  ") << "the oldest line kept is whole";
  EXPECT_EQ(log.substr(log.size() - dialing.size()), dialing);
  EXPECT_EQ(log.find("\r\n\r\n"), std::string::npos);
}

TEST_F(DialingTest, ConnectedHidesTheWindowAddsTheTrayIconAndStartsTheBrowser) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"Icon", "12"}, {"BrowserPath", "c:\\web\\browser.exe"}});
  clock.secondsSinceMidnight = 4000.5;
  AppContext& app = Start("Work");
  Event(kRasStateConnected);
  EXPECT_EQ(app.Line.IsConnected(), 1);
  EXPECT_FALSE(app.frmDialer.Visible());
  EXPECT_TRUE(trayIcon.shown);
  EXPECT_EQ(trayIcon.icon, 12);
  EXPECT_EQ(trayIcon.tip, "Connected to: 'Work'");
  EXPECT_FLOAT_EQ(app.Ledger.ConnectTime(), 4000.5f);
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].file, "c:\\web\\browser.exe");
  EXPECT_EQ(shell.started[0].directory, "c:\\");
  EXPECT_EQ(Log(), "Status:  Connected");
}

TEST_F(DialingTest, ConnectedWithANumberFileAddsNoLogLine) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"FileURL", "http://127.0.0.1/n.txt"}});
  AppContext& app = Start("Work");
  Event(kDialing);
  Event(kRasStateConnected);
  EXPECT_EQ(Log(), "Status:  Dialing...");
  EXPECT_EQ(app.frmDialer.lblMess.Caption(), "Status:  Connected");
  EXPECT_EQ(download.requests.size(), 1u);
}

TEST_F(DialingTest, NoRedialsAllowedEndsAtTheFirstFailure) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "0"}});
  AppContext& app = Start("Work");
  Event(kDialing, kRasNoAnswer);
  DialerForm& dialer = app.frmDialer;
  EXPECT_EQ(dialer.Caption(), "End of Redials");
  EXPECT_EQ(dialer.lblMess.Caption(), "Status:  Redialed x 0 times.");
  EXPECT_EQ(dialer.txtErr.Text(), "Error 678: error 678");
  EXPECT_TRUE(dialer.cmdCancel.Visible());
  EXPECT_EQ(dialer.cmdCancel.Caption(), "&Redial");
  EXPECT_EQ(dialer.cmdInfo.Caption(), "&Options");
  EXPECT_EQ(app.Line.RetryPending(), 0);
  EXPECT_EQ(app.Line.BusyRedialPending(), 0);
}

TEST_F(DialingTest, BusyLineCountsDownThenHandsOverTheSameLogin) {
  struct Case {
    std::string name;
    std::string minutes, seconds;
    double startTime;
    int expectedWaitPasses;
  };
  const Case cases[] = {
      {"no pause hands over at once", "0", "0", 43200, 0},
      {"a one-second pause", "0", "1", 43200, 2},
      {"across midnight", "0", "30", 86390, 31},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    SeedEntry({{"PhoneNumber", "5550100"}, {"Minutes", c.minutes}, {"Seconds", c.seconds}});
    AppContext& app = Start("Work");
    clock.secondsSinceMidnight = c.startTime;
    pump.waitCalls = 0;
    std::vector<std::string> countdown;
    pump.onEvents = [&] { countdown.push_back(app.frmDialer.txtErr.Text()); };

    Event(kDialing, kRasLineBusy);
    pump.onEvents = nullptr;

    EXPECT_EQ(pump.waitCalls, c.expectedWaitPasses);
    EXPECT_EQ(app.Line.Session().RedialCount, 1);
    EXPECT_EQ(app.Line.BusyRedialPending(), 1);
    EXPECT_EQ(app.frmDialer.Caption(), "Redialing:  x 1    5550100");
    EXPECT_FALSE(app.frmDialer.txtErr.Visible());
    if (c.expectedWaitPasses > 0) {
      EXPECT_EQ(app.frmDialer.txtErr.Text(), "");
      EXPECT_NE(countdown.front().find("Error 676: error 676"), std::string::npos);
    }

    const size_t dialsBefore = dialUp.dials.size();
    app.frmDialer.Timer1.OnTick();
    EXPECT_EQ(app.Line.BusyRedialPending(), 0);
    EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
  }
}

TEST_F(DialingTest, AnimationDrawsOnlyItsPictureAndNothingWhileHidden) {
  SeedEntry({{"PhoneNumber", "5550100"}});
  AppContext& app = Start("Work");
  ASSERT_TRUE(app.frmDialer.Visible());
  window.calls.clear();
  std::vector<int> shown;
  for (int tick = 0; tick < 4; ++tick) {
    app.frmDialer.Timer1.OnTick();
    shown.push_back(app.frmDialer.Image1.Picture());
  }
  EXPECT_EQ(shown, (std::vector<int>{4, 5, 6, 1}));
  EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), forms::WindowCall::Refresh), 0);

  // In the tray the frames go on, but the picture is left alone.
  app.frmDialer.Hide();
  for (int tick = 0; tick < 3; ++tick) app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(app.frmDialer.Image1.Picture(), 1);
  EXPECT_EQ(app.Line.DialAnimationFrame(), 5);
  app.frmDialer.Show();
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(app.frmDialer.Image1.Picture(), 5);

  // The same while a failure's picture stands in for it (the countdown).
  app.frmDialer.Image1.SetVisible(false);
  for (int tick = 0; tick < 2; ++tick) app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(app.frmDialer.Image1.Picture(), 5);
  EXPECT_EQ(app.Line.DialAnimationFrame(), 2);
  app.frmDialer.Image1.SetVisible(true);
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(app.frmDialer.Image1.Picture(), 2);
}

TEST_F(DialingTest, CountdownShowsTheErrorAndTheSecondsLeft) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"Minutes", "0"}, {"Seconds", "1"}});
  AppContext& app = Start("Work");
  std::vector<std::string> shown;
  pump.onEvents = [&] { shown.push_back(app.frmDialer.txtErr.Text()); };
  Event(kDialing, kRasLineBusy);
  // One pass per number shown: nothing wakes the program in between.
  EXPECT_EQ(shown, (std::vector<std::string>{"Error 676: error 676\r\nRedialing in :   1 seconds.",
                                             "Error 676: error 676\r\nRedialing in :   0 seconds."}));
}

TEST_F(DialingTest, CancelDuringTheCountdownStopsTheRedial) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"Minutes", "1"}, {"Seconds", "0"}});
  AppContext& app = Start("Work");
  int passes = 0;
  pump.onEvents = [&] {
    if (++passes == 3) app.frmDialer.cmdDial.OnUserClick();  // "&Cancel"
  };
  Event(kDialing, kRasLineBusy);
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(app.Line.CancelRequested(), 1);
  EXPECT_EQ(app.Line.BusyRedialPending(), 0);
}

TEST_F(DialingTest, BusyInListModeKeepsTheLoginAndShowsNoSwitch) {
  randomSeed = SeedStartingAt(1, 3);
  AppContext& app = StartListEntry({{"Minutes", "0"}, {"Seconds", "0"}});
  app.frmDialer.cmdDial.OnUserClick();
  ASSERT_EQ(dialUp.dialParams.back().UserName, "bob");
  Event(kDialing, kRasLineBusy);
  EXPECT_EQ(Log().find("Switching"), std::string::npos);
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(dialUp.dialParams.back().UserName, "bob");
  EXPECT_EQ(app.Line.Session().UserIndex, 2);
}

TEST_F(DialingTest, RefusedLoginAtTheLastUserSwitchesToTheFirst) {
  randomSeed = SeedStartingAt(2, 3);
  AppContext& app = StartListEntry();
  app.frmDialer.cmdDial.OnUserClick();
  ASSERT_EQ(app.Line.Session().UserIndex, 3);
  Event(kAuthenticate, kRasAuthenticationFailure);
  EXPECT_EQ(app.frmDialer.Caption(), "Connection Error");
  EXPECT_EQ(app.frmDialer.lblMess.Caption(), "Status:  Switching UserID(3)  to UserID(1)");
  EXPECT_EQ(app.Line.RetryPending(), 1);
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(app.Line.Session().UserIndex, 1);
  EXPECT_EQ(dialUp.dialParams.back().UserName, "ann");
  EXPECT_EQ(dialUp.dialParams.back().Password, "pw1");
  // The plain password of the list never shows in the window.
  EXPECT_EQ(Log().find("pw"), std::string::npos);
}

// The wait for the old handle takes one look per tick, never holding the
// window, and ends with the release or after its bound.
TEST_F(DialingTest, RetryWaitForTheOldHandleIsBoundedAndKeepsTheWindowLive) {
  struct Case {
    const char* name;
    double releasedAfter;  // seconds; negative: never
    double dialsAfter;
  };
  for (const Case& c : {Case{"released", 1.5, 1.5}, Case{"never released", -1, kHandleReleaseSeconds}}) {
    SCOPED_TRACE(c.name);
    dialUp = FakeDialUpService();
    SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "3"}, {"Minutes", "0"}, {"Seconds", "0"}});
    AppContext& app = Start("Work");
    dialUp.statusAnswer = kRasSuccess;
    Event(kDialing, kRasNoDialTone);
    ASSERT_EQ(app.Line.RetryPending(), 1);
    const size_t dialsBefore = dialUp.dials.size();
    const double start = clock.monotonic;
    const int pausesBefore = pump.pauseCalls;
    for (double waited = 0; waited < c.dialsAfter - 0.25; waited += 0.5) {
      if (c.releasedAfter >= 0 && waited >= c.releasedAfter) dialUp.statusAnswer = kRasInvalidHandle;
      app.frmDialer.Timer1.OnTick();
      EXPECT_EQ(dialUp.dials.size(), dialsBefore) << "after " << waited << " s";
      clock.monotonic = start + waited + 0.5;
    }
    if (c.releasedAfter >= 0) dialUp.statusAnswer = kRasInvalidHandle;
    app.frmDialer.Timer1.OnTick();
    EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
    EXPECT_EQ(pump.pauseCalls, pausesBefore) << "the window's thread never waited inside a tick";
    EXPECT_EQ(app.Line.RetryPending(), 0);
  }
}

// A refused login or a missing modem used to be redialled on every tick
// without end. Now each prepared retry waits the redial pause, and after the
// redial limit (in list mode that many rounds of the logins) the run ends as
// at the end of the busy redials.
TEST_F(DialingTest, RetriesAfterOtherErrorsArePacedAndEnd) {
  struct Case {
    std::string name;
    bool listMode;
    int32_t error;
    std::string enableRedial;
    int expectedDials;
  };
  const Case cases[] = {
      {"refused login, single login", false, kRasAuthenticationFailure, "1", 3},
      {"no modem", false, kRasDeviceNotFoundOrBusy, "1", 3},
      {"no answer", false, kRasNoAnswer, "1", 3},
      {"busy line with redial off", false, kRasLineBusy, "0", 3},
      {"refused logins, three in the list: two rounds", true, kRasAuthenticationFailure, "1", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    dialUp.dials.clear();
    std::vector<std::pair<std::string, std::string>> values{
        {"NumberOfRedials", "2"}, {"Minutes", "0"}, {"Seconds", "3"}, {"EnableRedial", c.enableRedial}};
    if (c.listMode) {
      StartListEntry(values);
      context->frmDialer.cmdDial.OnUserClick();
    } else {
      values.emplace_back("PhoneNumber", "5550100");
      SeedEntry(values);
      Start("Work");
    }
    AppContext& app = *context;
    ASSERT_EQ(dialUp.dials.size(), 1u);

    std::vector<double> dialTimes{clock.monotonic};
    for (int failure = 0; failure < 20; ++failure) {
      Event(kDialing, c.error);
      if (app.Line.RetryPending() == 0) break;
      app.frmDialer.Timer1.OnTick();
      dialTimes.push_back(clock.monotonic);
    }
    EXPECT_EQ(static_cast<int>(dialUp.dials.size()), c.expectedDials);
    for (size_t i = 1; i < dialTimes.size(); ++i) EXPECT_GE(dialTimes[i] - dialTimes[i - 1], 2.99) << i;  // the pause of 3 s
    DialerForm& dialer = app.frmDialer;
    EXPECT_EQ(dialer.Caption(), "End of Redials");
    EXPECT_EQ(dialer.lblMess.Caption(), "Status:  Redialed x " + std::to_string(c.expectedDials - 1) + " times.");
    EXPECT_TRUE(dialer.cmdCancel.Visible());
    EXPECT_EQ(dialer.cmdCancel.Caption(), "&Redial");

    // The user's own Redial starts a fresh round of paced retries.
    dialer.cmdCancel.OnUserClick();
    Event(kDialing, c.error);
    EXPECT_EQ(app.Line.RetryPending(), 1);
  }
}

TEST_F(DialingTest, ConnectingStartsTheRetryCountAfresh) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "1"}, {"Minutes", "0"}, {"Seconds", "0"},
             {"MonitorTime", "1"}, {"AutoReconnect", "1"}});
  AppContext& app = Start("Work");
  Event(kDialing, kRasAuthenticationFailure);
  ASSERT_EQ(app.Line.RetryPending(), 1);
  app.frmDialer.Timer1.OnTick();
  Event(kRasStateConnected);
  app.frmDialer.Timer1.OnTick();  // the line is gone at once: a reconnection without a pause
  ASSERT_TRUE(app.Line.LineDropped());
  app.frmDialer.Timer1.OnTick();
  Event(kDialing, kRasAuthenticationFailure);  // the next dial after the drop
  EXPECT_EQ(app.Line.RetryPending(), 1);
  EXPECT_NE(app.frmDialer.Caption(), "End of Redials");
}

TEST_F(DialingTest, CancelDuringTheRetryPauseDialsNoMore) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"Minutes", "1"}, {"Seconds", "0"}});
  AppContext& app = Start("Work");
  int passes = 0;
  pump.onEvents = [&] {
    if (++passes == 3) app.frmDialer.cmdDial.OnUserClick();  // "&Cancel"
  };
  Event(kDialing, kRasAuthenticationFailure);
  pump.onEvents = nullptr;
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(app.Line.RetryPending(), 0);
  EXPECT_EQ(dialUp.dials.size(), 1u);
}

// What the service's dial record cannot hold, or a password this computer
// cannot unscramble, is refused with a word before anything is dialled,
// instead of being cut, or sent empty, and dialled.
TEST_F(DialingTest, NumberOrLoginThatCannotBeDialledAsStoredIsRefused) {
  const std::string key = "1234567890123456";
  struct Case {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> users;  // list mode when not empty
    std::string message;             // empty: dialled as it is
  };
  const Case cases[] = {
      {"number of 128 characters", {{"PhoneNumber", std::string(128, '5')}}, {}, ""},
      {"number of 129 characters",
       {{"PhoneNumber", std::string(129, '5')}},
       {},
       "The phone number is too long. It can have at most 128 characters."},
      {"user name of 257 characters",
       {{"PhoneNumber", "5550100"}, {"UserName", std::string(257, 'u')}},
       {},
       "The user name is too long. It can have at most 256 characters."},
      {"password stored without this computer's key",
       {{"PhoneNumber", "5550100"}, {"Password", "plain"}},
       {},
       "The stored password cannot be unscrambled on this computer.\r\nPlease enter it again in 'Options'."},
      {"list logins of 256 characters", {}, {std::string(256, 'u') + "," + std::string(256, 'p')}, ""},
      {"a list password of 257 characters",
       {},
       {"ann,pw1", "bob," + std::string(257, 'p')},
       "Login 2 of the user list is too long. A user name or password can have at most 256 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", key);
    messages.shown.clear();
    dialUp.dials.clear();
    dialUp.dialParams.clear();
    if (c.users.empty()) {
      SeedEntry(c.values);
      Start("Work");
    } else {
      StartListEntry();
      files.files["c:\\lists\\users.csv"] = c.users;
      context->frmDialer.cmdDial.OnUserClick();
    }
    if (c.message.empty()) {
      EXPECT_TRUE(messages.shown.empty());
      ASSERT_EQ(dialUp.dialParams.size(), 1u);
      const DialParams& params = dialUp.dialParams[0];
      if (c.users.empty()) EXPECT_EQ(params.PhoneNumber, std::string(128, '5'));
      else EXPECT_EQ(params.Password, std::string(256, 'p'));
      continue;
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.message);
    EXPECT_EQ(messages.shown[0].title, "Dialing Error");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialUp.dials.empty());
    EXPECT_EQ(context->Line.Session().Hooked, 0);
    EXPECT_EQ(context->frmDialer.cmdDial.Caption(), "&DIAL");
  }
}

TEST_F(DialingTest, ManualRedialDialsTheSameLoginAgain) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "0"}});
  AppContext& app = Start("Work");
  Event(kDialing, kRasLineBusy);
  ASSERT_EQ(app.frmDialer.cmdCancel.Caption(), "&Redial");
  const size_t dialsBefore = dialUp.dials.size();
  app.frmDialer.cmdCancel.OnUserClick();
  EXPECT_EQ(app.frmDialer.Caption(), "Redialing:   5550100");
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
  EXPECT_EQ(app.frmDialer.txtErr.Text(), "");
}

TEST_F(DialingTest, DetailsToggleGrowsAndShrinksTheWindow) {
  SeedEntry({{"PhoneNumber", "5550100"}});
  AppContext& app = Start("Work");
  Event(kDialing, kRasNoAnswer);
  DialerForm& dialer = app.frmDialer;
  ASSERT_EQ(dialer.cmdInfo.Caption(), "&Details");
  dialer.cmdInfo.OnUserClick();
  EXPECT_EQ(dialer.cmdInfo.Caption(), "&Hide Details");
  EXPECT_EQ(dialer.Height(), DialerForm::kHeightDetails);
  dialer.cmdInfo.OnUserClick();
  EXPECT_EQ(dialer.cmdInfo.Caption(), "&Details");
  EXPECT_EQ(dialer.Height(), DialerForm::kHeightCompact);
}

TEST_F(DialingTest, OnlineTimeButtonExplainsWhenMonitoringIsOff) {
  SeedEntry({{"PhoneNumber", ""}, {"MonitorTime", "0"}});
  AppContext& app = Start("Work");
  app.frmDialer.cmdShowOnTime.OnUserClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Nothing to show");
  EXPECT_EQ(messages.shown[0].text, "Monitoring online time is not selected in Options.");
  EXPECT_TRUE(formHost.shown.empty());
}

TEST_F(DialingTest, DisconnectAsksUnlessToldNotTo) {
  struct Case {
    std::string name;
    std::string doNotAsk;
    bool declines;
    bool asked;
    bool hungUp;
    uint8_t declinedBefore = 0;
  };
  const Case cases[] = {
      {"yes hangs up", "0", false, true, true},
      {"no keeps the line", "0", true, true, false},
      {"do not ask hangs up at once", "1", false, false, true},
      {"an earlier no does not stop a disconnect without asking", "1", false, false, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    formHost.shown.clear();
    dialUp.hangUps.clear();
    SeedEntry({{"PhoneNumber", "5550100"}, {"DoNotAsk", c.doNotAsk}});
    AppContext& app = Start("Work");
    app.frmMessage.DisconnectDeclined = c.declinedBefore;
    ActiveConnection line;
    line.Handle = 0x99;
    line.EntryName = "Crv";
    dialUp.connections = {line};
    formHost.answer = [&](forms::Form&) {
      if (c.declines) app.frmMessage.cmdNo_Click(); else app.frmMessage.cmdYes_Click();
    };
    app.frmDialer.mnuDisconnect.OnUserClick();
    // A No leaves nothing of the disconnect behind.
    EXPECT_EQ(app.Line.DisconnectRequested(), c.hungUp ? 1 : 0);
    EXPECT_EQ(app.Line.Session().Hooked, c.hungUp ? 0 : 1);
    EXPECT_EQ(!formHost.shown.empty(), c.asked);
    // The exit path hangs up the dial handle as well; the line is the 0x99 one.
    EXPECT_EQ(std::count(dialUp.hangUps.begin(), dialUp.hangUps.end(), RasHandle{0x99}), c.hungUp ? 1 : 0);
    EXPECT_EQ(app.frmDialer.Loaded(), !c.hungUp);
  }
}

TEST_F(DialingTest, DisconnectWithoutAConnectionOnlyStopsWatching) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "0"}});
  AppContext& app = Start("Work");
  Event(kDialing, kRasNoDialTone);  // the redials ended: nothing in flight
  ASSERT_EQ(app.frmDialer.Caption(), "End of Redials");
  app.frmDialer.mnuDisconnect.OnUserClick();
  EXPECT_EQ(app.Line.DisconnectRequested(), 1);
  EXPECT_EQ(app.Line.Session().Hooked, 0);
  EXPECT_TRUE(formHost.shown.empty());
  EXPECT_TRUE(app.frmDialer.Loaded());
}

TEST_F(DialingTest, ClosingTheWindowDuringTheCountdownEndsTheWait) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"Minutes", "2"}, {"Seconds", "0"}});
  AppContext& app = Start("Work");
  int passes = 0;
  pump.onEvents = [&] {
    if (++passes == 2) app.frmDialer.Unload(forms::kUnloadControlMenu);
  };
  Event(kDialing, kRasLineBusy);
  EXPECT_EQ(passes, 2);
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_EQ(app.Line.BusyRedialPending(), 0);
}

TEST_F(DialingTest, RedialLimitsAboveAByteStillEnd) {
  SeedEntry({{"PhoneNumber", "5550100"}, {"NumberOfRedials", "300"}, {"Minutes", "0"}, {"Seconds", "0"}});
  AppContext& app = Start("Work");
  for (int redial = 0; redial < 299; ++redial) Event(kDialing, kRasLineBusy);
  Event(kDialing, kRasLineBusy);
  EXPECT_EQ(app.Line.Session().RedialCount, 300);
  Event(kDialing, kRasLineBusy);
  EXPECT_EQ(app.frmDialer.Caption(), "End of Redials");
  EXPECT_EQ(app.frmDialer.lblMess.Caption(), "Status:  Redialed x 300 times.");
}

TEST_F(DialingTest, NoToTheCloseBoxQuestionKeepsTheLineAndTheWindow) {
  SeedEntry({{"PhoneNumber", ""}, {"MonitorTime", "1"}});
  AppContext& app = Start("Work");
  ActiveConnection line;
  line.Handle = 0x99;
  dialUp.connections = {line};
  formHost.answer = [&](forms::Form&) { app.frmMessage.cmdNo_Click(); };
  EXPECT_FALSE(app.frmDialer.Unload(forms::kUnloadControlMenu));
  EXPECT_TRUE(app.frmDialer.Loaded());
  EXPECT_TRUE(dialUp.hangUps.empty());
  EXPECT_EQ(app.Line.DisconnectRequested(), 0);

  formHost.answer = [&](forms::Form&) { app.frmMessage.cmdYes_Click(); };
  app.frmDialer.Unload(forms::kUnloadControlMenu);
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_EQ(std::count(dialUp.hangUps.begin(), dialUp.hangUps.end(), RasHandle{0x99}), 1);
}

}  // namespace
}  // namespace corvane::testing
