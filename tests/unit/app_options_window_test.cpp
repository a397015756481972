// The options window as the running program wires it: the tray's Options
// shows it over a live line, and nothing it loads, browses, removes or
// cancels reaches that line; only its monitoring switch (the user's click
// on the running entry's box) and saving the running entry do. Its help and
// icon chooser belong to it.
#include <gtest/gtest.h>

#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

class OptionsWindowTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
  }

  // "Work" dialled and connected, online time monitored; "Other" another
  // entry with its own number and login, unmonitored.
  AppContext& ConnectWork(const std::vector<std::pair<std::string, std::string>>& more = {}) {
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "8302749165");  // the installation key
    std::vector<std::pair<std::string, std::string>> work{{"PhoneNumber", "5550100"}, {"UserName", "ann"},
                                                          {"MonitorTime", "1"},       {"AutoReconnect", "1"},
                                                          {"DoNotAsk", "1"}};
    work.insert(work.end(), more.begin(), more.end());
    SeedEntry("Work", work);
    SeedEntry("Other", {{"PhoneNumber", "5559999"}, {"UserName", "zed"}, {"MonitorTime", "0"}, {"Icon", "12"}});
    AppContext& app = Start("Work");
    dialUp.connections = {ListedLine(dialUp.nextHandle, "Crv")};
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    return app;
  }

  int64_t Booked(const std::string& name = "Work") {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey(name), "OnlineTime");
    return raw ? std::stoll(*raw) : -1;
  }

  // The line drops; the next ticks book it and, the pause being 0, redial.
  void DropAndReconnect(AppContext& app) {
    dialUp.connections.clear();
    app.frmDialer.Timer1.OnTick();
    app.frmDialer.Timer1.OnTick();
  }
};

TEST_F(OptionsWindowTest, MonitoringSwitchBooksAndRestartsTheRunningConnection) {
  AppContext& app = ConnectWork();
  clock.monotonic += 100;

  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  ASSERT_TRUE(options.Visible());
  EXPECT_EQ(options.cmbSelEntry.Text(), "Work");

  messages.answer = MsgResult::Yes;
  options.chkMonitorTime.OnUserValue(0);
  EXPECT_EQ(Booked(), 100);
  // The line is still watched for its redials and reconnection.
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());

  clock.monotonic += 50;
  options.chkMonitorTime.OnUserValue(1);
  clock.monotonic += 30;
  options.cmdCancel.OnUserClick();
  app.frmDialer.mnuExit.OnUserClick();
  EXPECT_EQ(Booked(), 130);
}

// Opening the window sets its monitoring box from the entry: that is not
// the user's click, and the count of the live line goes on untouched.
TEST_F(OptionsWindowTest, OpeningAndCancellingLosesNothingOfTheLine) {
  AppContext& app = ConnectWork({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "40"}});
  clock.monotonic += 10;
  app.frmDialer.mnuOptions_Click();
  app.frmOptions.cmdCancel.OnUserClick();
  EXPECT_TRUE(messages.shown.empty());

  clock.monotonic += 29;
  app.frmDialer.Timer1.OnTick();
  EXPECT_TRUE(dialUp.hangUps.empty());
  clock.monotonic += 1;
  app.frmDialer.Timer1.OnTick();
  EXPECT_FALSE(dialUp.hangUps.empty()) << "the auto-disconnect comes at 40 s of the line, options or not";
  dialUp.connections.clear();
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(Booked(), 40);
}

// Browsing another entry loads it into the window's own record: the line
// keeps its number, login, monitoring and icon, and no question is asked.
TEST_F(OptionsWindowTest, BrowsingAnotherEntryLeavesTheLineAlone) {
  AppContext& app = ConnectWork();
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.cmbSelEntry_DropDown();
  options.cmbSelEntry.OnUserText("Other");
  EXPECT_EQ(options.txtPhoneNumber.Text(), "5559999");
  EXPECT_EQ(options.chkMonitorTime.Value(), 0);
  EXPECT_TRUE(messages.shown.empty());
  options.cmdCancel.OnUserClick();

  clock.monotonic += 20;
  const size_t dialsBefore = dialUp.dialParams.size();
  DropAndReconnect(app);
  EXPECT_EQ(Booked(), 20);
  ASSERT_EQ(dialUp.dialParams.size(), dialsBefore + 1);
  EXPECT_EQ(dialUp.dialParams.back().PhoneNumber, "5550100");
  EXPECT_EQ(dialUp.dialParams.back().UserName, "ann");
  EXPECT_EQ(Booked("Other"), -1);
}

// The entry whose line is up cannot be removed: its line books and logs
// under its name until it ends. Cancel closes the window and the program,
// with its line, goes on; so does a later showing of the window.
TEST_F(OptionsWindowTest, RemovingTheConnectedEntryIsRefusedAndCancelKeepsTheProgram) {
  AppContext& app = ConnectWork();
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.cmdRemove.OnUserClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown.back().text, "'Work' is connected. Disconnect before removing it.");
  EXPECT_EQ(app.CurrentEntryName, "Work");
  EXPECT_TRUE(registry.HasKey(RegHive::CurrentUser, EntryKey("Work")));
  options.cmdCancel.OnUserClick();
  ASSERT_TRUE(app.frmDialer.Loaded());

  app.frmDialer.mnuOptions_Click();
  ASSERT_TRUE(options.Visible());
  options.cmdCancel.OnUserClick();

  EXPECT_TRUE(app.frmDialer.Loaded());
  EXPECT_TRUE(app.Line.IsConnected());
  EXPECT_TRUE(dialUp.hangUps.empty());
}

// The phone-list line picked in the dialer belongs to the running entry:
// saving that entry in the options window stores it, whether the pick came
// before the window opened or while it was open, and the next dial uses it.
TEST_F(OptionsWindowTest, SavingTheRunningListEntryKeepsTheLinePickedInTheDialer) {
  const std::string yuma = "Yuma,520 3290098";
  const std::string tucson = "Tucson,520 5550100";
  for (bool pickFirst : {true, false}) {
    SCOPED_TRACE(pickFirst ? "picked, then Options" : "Options, then picked");
    registry.DeleteKey(RegHive::CurrentUser, EntryKey("Work"));
    SeedEntry("Work", {{"UseList", "1"},
                       {"PhoneList", "C:\\lists\\phones.txt"},
                       {"UserList", "C:\\lists\\users.txt"},
                       {"LastDialedLocation", yuma},
                       {"PhoneNumberLocation", "1"}});
    files.files["C:\\lists\\phones.txt"] = {"City,PhoneNo.", yuma, tucson};
    files.files["C:\\lists\\users.txt"] = {"alice,secret"};
    AppContext& app = Start("Work");
    ASSERT_EQ(app.frmDialer.cmbList.Text(), yuma);

    if (pickFirst) app.frmDialer.cmbList.OnUserText(tucson);
    app.frmDialer.mnuOptions_Click();
    OptionsForm& options = app.frmOptions;
    if (!pickFirst) app.frmDialer.cmbList.OnUserText(tucson);
    options.cmdOK.OnUserClick();
    ASSERT_FALSE(options.Loaded());

    EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "LastDialedLocation"), tucson + '\0');
    EXPECT_EQ(app.frmDialer.cmbList.Text(), tucson);
    app.frmDialer.cmdDial.OnUserClick();
    ASSERT_FALSE(dialUp.dialParams.empty());
    EXPECT_EQ(dialUp.dialParams.back().PhoneNumber, "520 5550100");
    app.frmDialer.mnuExit.OnUserClick();
  }
}

// Saving the running entry is the one moment its new values reach the line.
TEST_F(OptionsWindowTest, SavingTheRunningEntryAppliesItsNumberToTheNextDial) {
  AppContext& app = ConnectWork();
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.txtPhoneNumber.OnUserText("5554321");
  options.txtPassword.OnUserText("secret");
  options.cmdOK.OnUserClick();
  ASSERT_FALSE(options.Loaded());

  DropAndReconnect(app);
  EXPECT_EQ(dialUp.dialParams.back().PhoneNumber, "5554321");
}

// The help window and the icon chooser belong to the options window: both
// are owned by it (the chooser modal to it, not to the dialer) and go with
// it, and a choice made after it went changes nothing.
TEST_F(OptionsWindowTest, HelpAndIconChooserBelongToTheOptionsWindow) {
  AppContext& app = ConnectWork();
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.cmdHelp.OnUserClick();
  ASSERT_TRUE(options.frmHelp.Loaded());
  EXPECT_EQ(formHost.shown.back().owner, "frmOptions");

  const int dialerIcon = app.frmDialer.Icon();
  formHost.answer = [&](forms::Form& shown) {
    if (&shown != &options.frmIcons) return;
    options.Unload();  // the options window goes while the chooser is open
    options.frmIcons.img1_Click(4);
  };
  options.imgIcon_Click(0);
  formHost.answer = nullptr;
  EXPECT_TRUE(formHost.shown.back().modal);
  EXPECT_EQ(formHost.shown.back().form, "frmIcons");
  EXPECT_EQ(formHost.shown.back().owner, "frmOptions");
  EXPECT_FALSE(options.Loaded());
  EXPECT_FALSE(options.frmHelp.Loaded());
  EXPECT_EQ(app.frmDialer.Icon(), dialerIcon);
}

// List mode: the attempt under way took its number from the phone list and
// its login from the user list; the stored entry holds neither. Saving the
// running entry leaves that attempt's number and login to its busy redial,
// its retry and the Redial button.
TEST_F(OptionsWindowTest, SavingTheRunningListEntryKeepsTheAttemptsNumberAndLogin) {
  struct Case {
    const char* label;
    int32_t error;
    const char* redials;
    bool redialButton;
  };
  const std::vector<Case> cases = {
      {"busy redial", kRasLineBusy, "3", false},
      {"retry with the next login", kRasAuthenticationFailure, "3", false},
      {"Redial once the redials ended", kRasLineBusy, "0", true},
  };
  const std::string line = "Tucson,AZ,US,520 5550100,,1,,1,1,TucsonAZUS";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry = FakeRegistry();
    SeedEntry("Work", {{"UseList", "1"}, {"PhoneList", "C:\\lists\\phones.txt"},
                       {"UserList", "C:\\lists\\users.txt"}, {"PhoneNumberLocation", "3"}, {"EnableRedial", "1"},
                       {"NumberOfRedials", c.redials}, {"Minutes", "0"}, {"Seconds", "0"}});
    files.files["C:\\lists\\phones.txt"] = {"City,State,Country,PhoneNo.", line};
    files.files["C:\\lists\\users.txt"] = {"alice,secret", "bob,hunter2"};
    AppContext& app = Start("Work");
    app.frmDialer.cmbList.SetText(line);
    app.frmDialer.cmdDial.OnUserClick();
    ASSERT_FALSE(dialUp.dialParams.empty());
    const DialParams first = dialUp.dialParams.back();
    ASSERT_EQ(first.PhoneNumber, "520 5550100");
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, 2, c.error);

    app.frmDialer.mnuOptions_Click();
    app.frmOptions.cmdOK.OnUserClick();
    ASSERT_FALSE(app.frmOptions.Loaded()) << "the save was refused";

    const size_t dialsBefore = dialUp.dialParams.size();
    if (c.redialButton) {
      ASSERT_EQ(app.frmDialer.cmdCancel.Caption(), "&Redial");
      app.frmDialer.cmdCancel.OnUserClick();
    } else {
      app.frmDialer.Timer1.OnTick();
    }
    ASSERT_EQ(dialUp.dialParams.size(), dialsBefore + 1);
    const DialParams& next = dialUp.dialParams.back();
    EXPECT_EQ(next.PhoneNumber, first.PhoneNumber);
    EXPECT_FALSE(next.UserName.empty());
    EXPECT_FALSE(next.Password.empty());
    if (c.error == kRasLineBusy) {
      EXPECT_EQ(next.UserName, first.UserName);
    }
  }
}

// The Limits page shows what the month has used (the running line's time
// and bytes included), its fields keep the range rules, and saving writes
// only the value the user changed, which the running line then obeys.
TEST_F(OptionsWindowTest, LimitsPageShowsTheMonthsUseAndSavesOnlyTheUsersChange) {
  dialUp.statistics.BytesReceived = 3 * 1024 * 1024 / 2;
  AppContext& app = ConnectWork();
  clock.monotonic += 3900;
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.tbsOptions.SetSelectedTab(6);
  EXPECT_TRUE(options.txtAllowMegabytes.Visible());
  EXPECT_EQ(options.lblUsed.Caption(), "Online time:  1 hrs 05 min\r\nData:  1.5 MB");
  EXPECT_EQ(options.txtWarnPercent.Text(), "80");

  options.txtAllowMegabytes.OnUserText("100000");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "The valid range is 1 - 99999");
  options.txtAllowMegabytes.OnUserText("1");
  options.txtPassword.OnUserText("secret");
  options.cmdOK.OnUserClick();
  ASSERT_FALSE(options.Loaded());
  const auto stored = [&](const char* value) {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), value);
    return raw ? StripNull(*raw) : std::string("<none>");
  };
  EXPECT_EQ(stored(kAllowanceMegabytesValue), "1");
  for (const char* untouched : {kAllowanceHoursValue, kAllowanceWarnPercentValue, kAllowanceHangUpValue}) {
    EXPECT_EQ(stored(untouched), "<none>") << untouched;
  }

  app.frmDialer.Timer1.OnTick();
  ASSERT_EQ(trayIcon.balloons.size(), 1u);
  EXPECT_EQ(trayIcon.balloons[0].title, "Allowance of 'Work' used up");
  EXPECT_TRUE(dialUp.hangUps.empty()) << "warned only: no hang-up asked for";
}

// The Actions page: the idle fields follow the numeric field rules (a
// threshold of 0 would never fire and is refused), the programs come from
// Browse, and a save writes only what the user changed; the running line
// takes the saved idle rule at once.
TEST_F(OptionsWindowTest, ActionsPageSavesOnlyTheUsersChangesAndTheLineTakesTheIdleRule) {
  AppContext& app = ConnectWork();
  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  options.tbsOptions.SetSelectedTab(7);
  EXPECT_TRUE(options.txtIdleMinutes.Visible());
  EXPECT_EQ(options.txtIdleMinutes.Text(), "0");
  EXPECT_EQ(options.txtIdleThreshold.Text(), "2048");

  options.txtIdleThreshold.OnUserText("0");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "The valid range is 1 - 99999");
  options.txtIdleThreshold.OnUserText("2048");
  options.vsbIdleMinutes.OnUserValue(2);
  EXPECT_EQ(options.txtIdleMinutes.Text(), "2") << "the spin field steps the box";
  fileDialog.chosenPath = "C:\\Tools\\up.exe";
  options.cmdBrowse[4].OnUserClick();
  EXPECT_EQ(options.txtConnectAction.Text(), "C:\\Tools\\up.exe");
  options.txtConnectArgs.OnUserText("--sync");
  options.txtPassword.OnUserText("secret");
  options.cmdOK.OnUserClick();
  ASSERT_FALSE(options.Loaded());
  const auto stored = [&](const char* value) {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), value);
    return raw ? StripNull(*raw) : std::string("<none>");
  };
  EXPECT_EQ(stored(kIdleMinutesValue), "2");
  EXPECT_EQ(stored(kConnectActionValue), "C:\\Tools\\up.exe");
  EXPECT_EQ(stored(kConnectArgumentsValue), "--sync");
  for (const char* untouched : {kIdleThresholdValue, kDisconnectActionValue, kDisconnectArgumentsValue}) {
    EXPECT_EQ(stored(untouched), "<none>") << untouched;
  }
  clock.monotonic += 35;
  app.frmDialer.Timer1.OnTick();
  EXPECT_DOUBLE_EQ(app.Line.IdleSecondsLeft(), 85) << "the saved rule runs on the line that is up";
}

}  // namespace
}  // namespace corvane::testing
