// Start-up of the dialer window and its close and exit path, on fakes.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

using forms::WindowCall;

const std::vector<WindowCall> kBroughtToFront{WindowCall::MakeTopmost, WindowCall::MakeNotTopmost,
                                              WindowCall::SetForeground, WindowCall::SetFocus};

class StartupTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
  }
};

TEST_F(StartupTest, CommandLineChoosesEntryNameAndCaption) {
  struct Case {
    std::string commandLine;
    std::string entryName;
    std::string caption;
  };
  const Case cases[] = {
      {"/Work", "Work", "Corvane     'Work'"},
      {"work", "Work", "Corvane     'Work'"},
      {"/wORK", "Work", "Corvane     'Work'"},
      {"my isp", "My isp", "Corvane     'My isp'"},
      {"min", "min", "Corvane"},
      {"MIN", "MIN", "Corvane"},
      {"/", "", "Corvane"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    AppContext& app = Start(c.commandLine);
    EXPECT_EQ(app.CurrentEntryName, c.entryName);
    EXPECT_EQ(app.frmDialer.Caption(), c.caption);
  }
}

TEST_F(StartupTest, NoEntryNameHidesTheDialerAndOpensTheOptionsWindow) {
  AppContext& app = Start("");
  EXPECT_FALSE(app.frmDialer.Visible());
  EXPECT_TRUE(app.frmDialer.Loaded());
  EXPECT_TRUE(app.frmOptions.Visible());
  EXPECT_EQ(app.frmOptions.Caption(), "Corvane - Options");
  EXPECT_EQ(app.frmOptions.cmdOK.Caption(), "&OK");

  // Closing it without saving ends the program through the exit path.
  app.frmOptions.cmdCancel_Click();
  EXPECT_FALSE(app.frmOptions.Loaded());
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_FALSE(app.Line.EndedAtStart());
}

TEST_F(StartupTest, NameThatCannotBeAnEntryIsRefusedAndTouchesNothing) {
  for (const char* commandLine : {"/Work\\Sub", "..\\..\\Evil", "/con"}) {
    SCOPED_TRACE(commandLine);
    messages.shown.clear();
    AppContext& app = Start(commandLine);
    EXPECT_TRUE(app.Line.EndedAtStart());
    EXPECT_FALSE(app.frmDialer.Visible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("is not a dialing entry"), std::string::npos);
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialUp.validated.empty());
  }
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, EntryKey("Work")));
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, "Software\\Tamberlo\\Evil"));
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kSettingsRoot));
}

TEST_F(StartupTest, MinIsLoadedLikeAnyOtherEntry) {
  SeedEntry("min", {{"PhoneNumber", "777"}});
  AppContext& app = Start("min");
  EXPECT_EQ(app.frmDialer.txtCombo.Text(), "777");
}

TEST_F(StartupTest, SecondInstanceEndsBeforeTouchingAnything) {
  shell.anotherInstanceRuns = true;
  AppContext& app = Start("Work");
  EXPECT_TRUE(app.Line.EndedAtStart());
  EXPECT_FALSE(app.frmDialer.Visible());
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, EntryKey("Work")));
  EXPECT_TRUE(dialUp.validated.empty());
}

TEST_F(StartupTest, OutcomeDependsOnNumberListModeAndName) {
  struct Case {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    std::string commandLine;
    bool visible;
    bool dials;
  };
  const Case cases[] = {
      {"single number dials at once", {{"PhoneNumber", "0123"}}, "Work", true, true},
      {"no number waits", {{"PhoneNumber", ""}}, "Work", true, false},
      {"list mode never dials by itself", {{"UseList", "1"}, {"LastDialedLocation", "Yuma,AZ,555"}}, "Work", true,
       false},
      {"unknown entry waits", {}, "Nobody", true, false},
      {"no entry name hides the dialer", {{"PhoneNumber", "0123"}}, "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    if (!c.values.empty()) SeedEntry("Work", c.values);
    window.calls.clear();
    dialUp.dials.clear();
    AppContext& app = Start(c.commandLine);
    EXPECT_EQ(app.frmDialer.Visible(), c.visible);
    EXPECT_EQ(!dialUp.dials.empty(), c.dials);
    // Dialing brings the window to the front first.
    EXPECT_EQ(window.calls.size() >= kBroughtToFront.size() &&
                  std::equal(kBroughtToFront.begin(), kBroughtToFront.end(), window.calls.begin()),
              c.dials);
  }
}

TEST_F(StartupTest, ListModeShowsThePhoneListBoxWithTheLastLine) {
  SeedEntry("Work", {{"UseList", "1"}, {"LastDialedLocation", "Yuma,AZ,555"}, {"PhoneNumber", "999"}});
  DialerForm& dialer = Start("work").frmDialer;
  EXPECT_TRUE(dialer.cmbList.Visible());
  EXPECT_FALSE(dialer.txtCombo.Visible());
  EXPECT_EQ(dialer.cmbList.Text(), "Yuma,AZ,555");
  EXPECT_EQ(dialer.txtCombo.Text(), "");
}

TEST_F(StartupTest, WindowIconAndClockTooltipFollowTheEntry) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> values;
    int icon;
    std::string tooltip;
  };
  const Case cases[] = {
      {{}, 8, "Show Online Time statistics"},
      {{{"Icon", "12"}}, 12, "Show Online Time statistics"},
      {{{"Icon", "0"}, {"MonitorTime", "0"}}, 8, "Online time monitoring disabled"},
  };
  for (const Case& c : cases) {
    registry = FakeRegistry();
    SeedEntry("Work", c.values);
    DialerForm& dialer = Start("Work").frmDialer;
    EXPECT_EQ(dialer.Icon(), c.icon);
    EXPECT_EQ(dialer.cmdShowOnTime.ToolTipText(), c.tooltip);
  }
}

TEST_F(StartupTest, PhonebookEntryIsCreatedOnlyWhenMissing) {
  dialUp.devices = {{"isdn", "ISDN card"}, {"modem", "First modem"}, {"modem", "Second modem"}};
  dialUp.validateAnswer = kEntryAlreadyExists;
  dialUp.entryDevice = "Second modem";  // still listed
  Start("Work");
  ASSERT_EQ(dialUp.validated.size(), 1u);
  EXPECT_EQ(dialUp.validated[0], std::make_pair(std::string(), std::string("crv")));
  EXPECT_TRUE(dialUp.written.empty());

  dialUp.validateAnswer = 0;
  Start("Work");
  ASSERT_EQ(dialUp.written.size(), 1u);
  EXPECT_EQ(dialUp.written[0].entryName, "Crv");
  EXPECT_EQ(dialUp.written[0].record.DeviceName, "First modem");
}

TEST_F(StartupTest, CustomEntryIsRecognisedInAnyCaseAndTakesItsStar) {
  SeedEntry("Alpha", {});
  SeedEntry("*Net", {{"Location", "c:\\isp\\dialer.exe"}});
  AppContext& app = Start("/NET");
  EXPECT_EQ(app.CurrentEntryName, "*NET");
  EXPECT_EQ(app.frmDialer.Caption(), "Corvane");
  EXPECT_FALSE(app.frmDialer.Visible());
}

TEST_F(StartupTest, ClosingTheWindowHangsUpAndRecordsWhenTheLineWentDown) {
  struct Case {
    std::string name;
    std::string monitorTime;
    int16_t unloadMode;
    uint8_t connected;
    size_t hangUps;
  };
  const Case cases[] = {
      // The close box hangs up first when time is not monitored; the exit
      // path always hangs up.
      {"close box, monitoring off", "0", forms::kUnloadControlMenu, 0, 2},
      {"close box, monitoring on", "1", forms::kUnloadControlMenu, 0, 1},
      {"end of session", "0", forms::kUnloadAppWindows, 1, 1},
      {"program exit while connected", "1", forms::kUnloadFormCode, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    SeedEntry("Work", {{"MonitorTime", c.monitorTime}, {"PhoneNumber", "5550100"}});
    dialUp.hangUps.clear();
    dialUp.nextHandle = 0x77;
    AppContext& app = Start("Work");
    if (c.connected != 0) {
      app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    }
    clock.secondsSinceMidnight = 3723.9;
    trayIcon = FakeTrayIcon();
    trayIcon.Add(8, "Connected to: 'Work'");

    EXPECT_TRUE(app.frmDialer.Unload(c.unloadMode));

    EXPECT_FALSE(trayIcon.shown);
    EXPECT_FALSE(app.frmDialer.Loaded());
    EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>(c.hangUps, 0x77));
    EXPECT_FALSE(app.frmDialer.Timer1.Enabled());
    const auto lastOff = registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "LastOffTime");
    if (c.connected != 0) {
      ASSERT_TRUE(lastOff.has_value());
      EXPECT_EQ(*lastOff, std::string("3723\0", 5));
    } else {
      EXPECT_FALSE(lastOff.has_value());
    }
  }
}

TEST_F(StartupTest, ExitMenuUnloadsTheDialer) {
  AppContext& app = Start("Work");
  app.frmDialer.mnuExit.OnUserClick();
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_EQ(window.formChanges.back(), forms::FormProp::Loaded);
}

}  // namespace
}  // namespace corvane::testing
