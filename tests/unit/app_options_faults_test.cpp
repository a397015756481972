// The options window over a live line and a store of several entries, played
// the way a user meets each of its old faults: a stored name typed over the
// selector, the custom entry's page saved while connected, the Startup
// folder after the window closes, a cancelled name, a save with neither
// login mode, and the custom entry's icon saved again.
#include <gtest/gtest.h>

#include <set>

#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

const char* const kStartupFolder = "C:\\Users\\me\\Start Menu\\Programs\\Startup";

class OptionsFaultsTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SeedEntry(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    registry.AddKey(RegHive::CurrentUser, EntryKey(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey(name), value, text);
  }

  std::string Value(const std::string& name, const std::string& value) const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey(name), value);
    return raw ? StripNull(*raw) : "<missing>";
  }

  // "Work" dialled and connected; "Home" another entry with its own number,
  // login and icon; a custom entry "Netz" with icon 12.
  AppContext& ConnectWork(const std::vector<std::pair<std::string, std::string>>& work = {},
                          const std::vector<std::pair<std::string, std::string>>& home = {}) {
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "8302749165");
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"UserName", "ann"}, {"DoNotAsk", "1"}});
    for (const auto& [value, text] : work) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    SeedEntry("Home", {{"PhoneNumber", "5559999"}, {"UserName", "zed"}, {"Icon", "14"}});
    for (const auto& [value, text] : home) registry.SetString(RegHive::CurrentUser, EntryKey("Home"), value, text);
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Tab4Name", "Netz");
    SeedEntry("*Netz", {{"Location", "C:\\Dialers\\netz.exe"}, {"Tab4Name", "Netz"}, {"Icon", "12"}});
    AppContext& app = Create("Work");
    app.ProgramFile = "C:\\Program Files\\Corvane\\corvane.exe";
    app.frmDialer.Load();
    dialUp.connections = {ListedLine(dialUp.nextHandle, "Crv")};
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    EXPECT_TRUE(app.Line.IsConnected());
    return app;
  }

  OptionsForm& OpenOptions(AppContext& app) {
    app.frmDialer.mnuOptions.OnUserClick();
    EXPECT_TRUE(app.frmOptions.Loaded());
    return app.frmOptions;
  }

  std::set<std::string> StartupLinks() const {
    std::set<std::string> names;
    const std::string prefix = std::string(kStartupFolder) + "\\";
    for (const auto& [path, link] : shellLinks.links) {
      if (path.compare(0, prefix.size(), prefix) == 0) names.insert(path.substr(prefix.size()));
    }
    return names;
  }

  void ExpectLineUp(AppContext& app) {
    EXPECT_TRUE(app.frmDialer.Loaded()) << "the program ended";
    EXPECT_TRUE(app.Line.IsConnected());
    EXPECT_TRUE(dialUp.hangUps.empty()) << "the line was hung up";
  }
};

TEST_F(OptionsFaultsTest, AStoredNameTypedInAnyCaseLoadsThatEntry) {
  for (const char* typed : {"Home", "home", "HOME"}) {
    SCOPED_TRACE(typed);
    dialUp.hangUps.clear();
    AppContext& app = ConnectWork();
    OptionsForm& options = OpenOptions(app);
    options.cmbSelEntry.OnUserText(typed);
    EXPECT_EQ(options.txtPhoneNumber.Text(), "5559999");
    EXPECT_EQ(options.txtUserName.Text(), "zed");
    options.tbsOptions.OnUserSelect(2);
    options.txtPhoneNumber.OnUserText("5551234");
    options.txtPassword.OnUserText("pw");
    options.cmdOK.OnUserClick();

    EXPECT_EQ(Value("Home", "PhoneNumber"), "5551234");
    EXPECT_EQ(Value("Home", "UserName"), "zed");
    EXPECT_EQ(Value("Home", "Icon"), "14");
    EXPECT_EQ(Value("Work", "PhoneNumber"), "5550100");
    EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, "5550100");
    ExpectLineUp(app);
    context.reset();
    registry.DeleteKey(RegHive::CurrentUser, kSettingsRoot);
  }
}

// The custom page's save names the custom entry and, with a line up, closes
// the window without ending the program; nor does a new entry's save after
// a look at that page.
TEST_F(OptionsFaultsTest, NoSaveEndsTheProgramWhileTheLineIsUp) {
  AppContext& app = ConnectWork();
  OptionsForm& options = OpenOptions(app);
  options.tbsOptions.OnUserSelect(OptionsForm::kCustomTab);
  EXPECT_EQ(options.cmdOK.Caption(), "&Save 'Netz'");
  options.tbsOptions.OnUserSelect(1);
  EXPECT_EQ(options.cmdOK.Caption(), "&Save 'Work'");
  options.tbsOptions.OnUserSelect(OptionsForm::kCustomTab);
  options.cmdOK.OnUserClick();
  EXPECT_FALSE(options.Loaded());
  ExpectLineUp(app);

  OpenOptions(app);
  options.cmbSelEntry.OnUserText("Spare");
  options.tbsOptions.OnUserSelect(2);
  options.txtUserName.OnUserText("sam");
  options.txtPassword.OnUserText("pw");
  options.txtPhoneNumber.OnUserText("5557777");
  options.cmdOK.OnUserClick();
  EXPECT_EQ(Value("Spare", "PhoneNumber"), "5557777");
  ExpectLineUp(app);
}

TEST_F(OptionsFaultsTest, TheStartupFolderFollowsTheStoredChoiceWhenTheWindowCloses) {
  shellLinks.links[std::string(kStartupFolder) + "\\CRV - Work.lnk"] = ShellLink{};
  AppContext& app = ConnectWork({{"LoadAtStartup", "1"}}, {{"LoadAtStartup", "1"}});
  OptionsForm& options = OpenOptions(app);
  options.chkLoad.OnUserValue(0);
  options.tbsOptions.OnUserSelect(2);
  options.txtPassword.OnUserText("pw");
  options.cmdOK.OnUserClick();
  EXPECT_EQ(Value("Work", "LoadAtStartup"), "0");
  EXPECT_EQ(StartupLinks(), (std::set<std::string>{"CRV - Home.lnk"}));

  // Looking at the ticked entry and cancelling makes none for the running one.
  OpenOptions(app);
  options.cmbSelEntry.OnUserText("Home");
  options.cmdCancel.OnUserClick();
  EXPECT_EQ(StartupLinks(), (std::set<std::string>{"CRV - Home.lnk"}));
}

TEST_F(OptionsFaultsTest, ANameTypedAndCancelledLeavesNoEntry) {
  AppContext& app = ConnectWork();
  OptionsForm& options = OpenOptions(app);
  options.cmbSelEntry.OnUserText("Newx");
  options.cmdCancel.OnUserClick();
  OpenOptions(app);
  EXPECT_EQ(options.cmbSelEntry.Text(), "Work");
  EXPECT_EQ(options.txtPhoneNumber.Text(), "5550100");
  options.cmdCancel.OnUserClick();
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, EntryKey("Newx")));
}

TEST_F(OptionsFaultsTest, ASaveWithNeitherLoginModeIsRefused) {
  AppContext& app = ConnectWork();
  OptionsForm& options = OpenOptions(app);
  options.tbsOptions.OnUserSelect(2);
  options.chkSingle.OnUserValue(0);
  options.cmdOK.OnUserClick();
  EXPECT_TRUE(options.Loaded());
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back().text, "Choose a single login or lists.");
  EXPECT_EQ(Value("Work", "UseList"), "<missing>");
}

TEST_F(OptionsFaultsTest, TheCustomEntrySavedAgainKeepsItsIcon) {
  AppContext& app = ConnectWork();
  OptionsForm& options = OpenOptions(app);
  options.tbsOptions.OnUserSelect(OptionsForm::kCustomTab);
  options.cmdOK.OnUserClick();
  const auto link = shellLinks.links.find("C:\\Users\\Public\\Desktop\\NETZ.lnk");
  ASSERT_NE(link, shellLinks.links.end());
  EXPECT_EQ(link->second.iconIndex, 11);
  EXPECT_EQ(Value("*Netz", "Icon"), "12");
}

}  // namespace
}  // namespace corvane::testing
