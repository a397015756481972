// The options window on fakes: filling it from an entry, the selector, the
// field rules through the real boxes, the check boxes, saving with its
// shortcut, removal, closing with the Startup shortcut, the icon chooser
// and the monitoring switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_live_connection.h"
#include "fakes/fake_form_host.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system.h"
#include "ui/options_form.h"

namespace corvane::testing {
namespace {

const char* const kProgram = "C:\\Program Files\\Corvane\\corvane.exe";
const char* const kUserDesktop = "C:\\Users\\me\\Desktop";
const char* const kCommonDesktop = "C:\\Users\\Public\\Desktop";
const char* const kStartup = "C:\\Users\\me\\Start Menu\\Programs\\Startup";

class OptionsFormTest : public ::testing::Test {
 protected:
  void SetUp() override { registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "8302749165"); }

  void SeedEntry(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    registry.AddKey(RegHive::CurrentUser, Key(name));
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, Key(name), value, text);
  }
  static std::string Key(const std::string& name) { return std::string(kSettingsRoot) + name; }
  std::string Value(const std::string& name, const std::string& value) const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, Key(name), value);
    return raw ? StripNull(*raw) : "<missing>";
  }

  OptionsForm& Open(const std::string& current) {
    currentEntryName = current;
    OptionsServices services{store, currentEntryName, line,     messages,   fileDialog,
                             links, files,            shell,    formHost,   programFile};
    OptionsCallbacks callbacks;
    callbacks.setDialerIcon = [this](int number) { dialerIcon = number; };
    callbacks.resetDialerCaption = [this] { calls.push_back("resetDialerCaption"); };
    callbacks.endProgram = [this] { calls.push_back("endProgram"); };
    callbacks.interruptOnlineTime = [this] { calls.push_back("interruptOnlineTime"); };
    callbacks.restartOnlineTime = [this] { calls.push_back("restartOnlineTime"); };
    callbacks.showStatistics = [this](const std::string& name) { calls.push_back("showStatistics " + name); };
    form = std::make_unique<OptionsForm>(services, callbacks);
    form->Load();
    return *form;
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : messages.shown) texts.push_back(shown.text);
    return texts;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  std::string currentEntryName;
  FakeLiveConnection line;
  FakeMessageBox messages;
  FakeFileDialog fileDialog;
  FakeShellLinks links;
  FakeFileSystem files;
  FakeShell shell;
  FakeFormHost formHost;
  std::string programFile = kProgram;
  int dialerIcon = 0;
  std::vector<std::string> calls;
  std::unique_ptr<OptionsForm> form;
};

TEST_F(OptionsFormTest, TypingIntoTheNumericBoxes) {
  OptionsForm& options = Open("");
  struct Case {
    const char* label;
    forms::TextBox OptionsForm::*box;
    forms::VScrollBar OptionsForm::*bar;
    int scrollBefore;
    const char* typed;
    const char* textAfter;
    int scrollAfter;
    const char* message;  // nullptr: none
  };
  const Case cases[] = {
      {"hours", &OptionsForm::txtAhrs, &OptionsForm::vsbAhrs, 4, "12", "12", 12, nullptr},
      {"hours 1000", &OptionsForm::txtAhrs, &OptionsForm::vsbAhrs, 4, "1000", "4", 4, "The valid range is 1 - 999"},
      {"hours cleared", &OptionsForm::txtAhrs, &OptionsForm::vsbAhrs, 4, "", "0", 0, nullptr},
      {"minutes of hour 60", &OptionsForm::txtAmin, &OptionsForm::vsbAmin, 5, "60", "5", 5, "The valid range is 1 - 59"},
      {"redials cleared", &OptionsForm::TxtRedial, &OptionsForm::vsb1, 3, "", "3", 3, "The valid range is 1 - 999"},
      {"redials 0", &OptionsForm::TxtRedial, &OptionsForm::vsb1, 3, "0", "3", 3, "The valid range is 1 - 999"},
      {"redial minutes 0", &OptionsForm::txtMinutes, &OptionsForm::vsb2, 2, "0", "0", 0, nullptr},
      {"redial minutes 100", &OptionsForm::txtMinutes, &OptionsForm::vsb2, 2, "100", "2", 2, "The valid range is 0 - 99"},
      {"redial seconds cleared", &OptionsForm::txtSeconds, &OptionsForm::vsb3, 1, "", "1", 1, "The valid range is 1 - 59"},
      {"on-time 1000 wraps", &OptionsForm::txtOnTimeEx1, &OptionsForm::vsbOnTimeEx1, 4, "1000", "0", 0, nullptr},
      {"on-time 1001", &OptionsForm::txtOnTimeEx1, &OptionsForm::vsbOnTimeEx1, 4, "1001", "4", 4, "The valid range is 1 - 999"},
      {"off-time 100 is NC", &OptionsForm::txtOffTimeEx1, &OptionsForm::vsbOffTimeEx1, 4, "100", "NC", 4, nullptr},
      {"off-time 150 stays", &OptionsForm::txtOffTimeEx1, &OptionsForm::vsbOffTimeEx1, 4, "150", "150", 4, "The valid range is 0 - 100"},
      {"off-time nc", &OptionsForm::txtOffTimeEx1, &OptionsForm::vsbOffTimeEx1, 4, "nc", "nc", 4, nullptr},
      {"off-time 30", &OptionsForm::txtOffTimeEx2, &OptionsForm::vsbOffTimeEx2, 4, "30", "30", 30, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    (options.*c.bar).SetValue(c.scrollBefore);
    messages.shown.clear();
    (options.*c.box).OnUserText(c.typed);
    EXPECT_EQ((options.*c.box).Text(), c.textAfter);
    EXPECT_EQ((options.*c.bar).Value(), c.scrollAfter);
    if (c.message == nullptr) {
      EXPECT_TRUE(messages.shown.empty());
    } else {
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].text, c.message);
      EXPECT_EQ(messages.shown[0].title, "Wrong value");
      EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    }
  }
}

TEST_F(OptionsFormTest, ScrollBarsWrapAndOffTimeShowsNc) {
  OptionsForm& options = Open("");
  options.vsbAmin.SetValue(59);
  options.vsbAmin.OnUserValue(60);
  EXPECT_EQ(options.vsbAmin.Value(), 0);
  EXPECT_EQ(options.txtAmin.Text(), "0");
  options.vsbAmin.OnUserValue(-1);
  EXPECT_EQ(options.vsbAmin.Value(), 59);
  EXPECT_EQ(options.txtAmin.Text(), "59");

  options.vsbOffTimeEx1.OnUserValue(100);
  EXPECT_EQ(options.txtOffTimeEx1.Text(), "NC");
  options.vsbOffTimeEx1.OnUserValue(101);
  EXPECT_EQ(options.txtOffTimeEx1.Text(), "0");

  options.txtOnTimeEx2.OnUserText("5");
  options.txtOffTimeEx2.OnUserText("20");
  options.txtOnTimeEx2.OnUserText("");
  EXPECT_EQ(options.txtOffTimeEx2.Text(), "NC");
  EXPECT_EQ(options.vsbOffTimeEx2.Value(), 100);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OptionsFormTest, LoadFillsTheFieldsAndNeverShowsTheStoredPassword) {
  SeedEntry("Work", {{"UserName", "joe"}, {"Password", "\xB4\xB6stored"}, {"PhoneNumber", "0123"},
                     {"NumberOfRedials", "5"}, {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "37800"},
                     {"DisconnectAndDial", "1"}, {"Icon", "12"}});
  OptionsForm& options = Open("Work");
  EXPECT_EQ(options.cmbSelEntry.Text(), "Work");
  EXPECT_EQ(options.txtUserName.Text(), "joe");
  EXPECT_EQ(options.txtPassword.Text(), std::string(24, ' '));
  EXPECT_EQ(options.txtPhoneNumber.Text(), "0123");
  EXPECT_EQ(options.TxtRedial.Text(), "5");  // the scroll bar moved from 3 and wrote its value
  EXPECT_EQ(options.txtMinutes.Text(), " 2");  // it stood there already: the text stays as loaded
  EXPECT_EQ(options.vsb1.Value(), 5);
  EXPECT_EQ(options.txtAhrs.Text(), "10");
  EXPECT_EQ(options.txtAmin.Text(), "30");
  EXPECT_TRUE(options.txtAhrs.Enabled());
  EXPECT_TRUE(options.optDisconnect.Value());
  EXPECT_FALSE(options.optNextTime.Value());
  EXPECT_EQ(options.txtOffTimeEx2.Text(), "NC");  // no "OnTimeEx2"
  EXPECT_EQ(options.imgIcon[0].Picture(), 12);
  EXPECT_EQ(dialerIcon, 12);
  EXPECT_EQ(options.tbsOptions.SelectedTab(), 1);
  EXPECT_EQ(options.tbsOptions.TabCaption(4), "CustE&ntry");
  EXPECT_TRUE(options.fra[0].Visible());
  EXPECT_FALSE(options.fra[1].Visible());
  EXPECT_EQ(options.OptionsWindowOpen, 1);

  // Saved with the untouched 24 spaces, the stored password stays.
  options.cmdOK_Click();
  EXPECT_EQ(Value("Work", "Password"), "\xB4\xB6stored");
  EXPECT_EQ(Value("Work", "AutoDisconnectTime"), "37800");
  EXPECT_FALSE(options.Loaded());
  EXPECT_TRUE(calls.empty());  // an existing entry: the program keeps running
}

// Every value an entry's key can hold, in forms a user, an older version or
// another part of the program may have left: a save that changed one field
// writes that field and leaves every other value byte for byte, whether
// its page was opened or not and whether a box shows it or not.
TEST_F(OptionsFormTest, SavingWritesOnlyTheChangedValue) {
  const std::vector<std::pair<std::string, std::string>> common = {
      {"Icon", "12"},
      {"LoadAtStartup", "0"},
      {"MonitorTime", "1"},
      {"Password", "\xB4\xB6\xB8"},
      {"EnableRedial", "1"},
      {"NumberOfRedials", " 4"},
      {"Minutes", "02"},
      {"Seconds", "30"},
      {"DoNotAsk", "1"},
      {"FileURL", "http://numbers.example/now.txt"},
      {"DisconnectAndDial", "1"},
      {"BrowserPath", "C:\\Browsers\\web.exe"},
      {"StartBrowser", "0"},
      {"AutoDisconnect", "1"},
      {"AutoDisconnectTime", "37800"},
      {"AutoReconnect", "1"},
      {"OnTimeEx1", "2"},
      {"OnTimeEx2", "5"},
      {"OffTimeEx1", "10"},
      {"OffTimeEx2", "100"},
      {"PhoneNumberLocation", "3"},
      {"LastOffTime", "43200"},
      {"CurrentMonth", "12"},
      {"OnlineTime", "3600"},
      {"PreviousMonths", "11,7200;10,60;"},
      {"PreviousPhoneNumber", "5550199"},
  };
  struct Case {
    const char* label;
    std::vector<std::pair<std::string, std::string>> own;
    bool visitEveryPage;
  };
  const Case cases[] = {
      {"single number, General page only",
       {{"UseList", "0"}, {"UserName", "joe"}, {"PhoneNumber", "5550100"}, {"LastDialedLocation", "5550100"},
        {"PhoneList", "C:\\lists\\old.csv"}, {"UserList", "C:\\lists\\oldusers.csv"}},
       false},
      {"single number, every page looked at",
       {{"UseList", "0"}, {"UserName", "joe"}, {"PhoneNumber", "5550100"}, {"LastDialedLocation", "5550100"}},
       true},
      {"lists",
       {{"UseList", "1"}, {"PhoneList", "C:\\lists\\phones.csv"}, {"UserList", "C:\\lists\\users.csv"},
        {"LastDialedLocation", "Yuma,AZ,US,520 3290098"}, {"UserName", "stale"}, {"PhoneNumber", "5550100"}},
       true},
  };
  SeedEntry("*Myisp", {{"Location", "C:\\isp.exe"}, {"Tab4Name", "Myisp"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry.DeleteKey(RegHive::CurrentUser, Key("Work"));
    std::vector<std::pair<std::string, std::string>> values = common;
    values.insert(values.end(), c.own.begin(), c.own.end());
    SeedEntry("Work", values);
    store.EnumEntries();
    registry.writtenValues.clear();

    OptionsForm& options = Open("Work");
    if (c.visitEveryPage) {
      for (int tab : {2, 3, 4, 5, 1}) options.tbsOptions.SetSelectedTab(tab);
    }
    options.TxtRedial.OnUserText("7");
    options.cmdOK_Click();
    ASSERT_FALSE(options.Loaded());

    EXPECT_EQ(registry.writtenValues, std::vector<std::string>{"NumberOfRedials"});
    EXPECT_EQ(Value("Work", "NumberOfRedials"), "7");
    for (const auto& [name, text] : values) {
      if (name == "NumberOfRedials") continue;
      EXPECT_EQ(Value("Work", name), text) << name;
    }
  }
}

// The Automate page shows the edited entry's address and browser, not the
// running entry's, and keeps what the user typed there when the page is
// left and opened again.
TEST_F(OptionsFormTest, AutomatePageShowsTheEditedEntryAndKeepsWhatWasTyped) {
  SeedEntry("Work", {{"BrowserPath", "C:\\work.exe"}, {"FileURL", "http://work.example/n.txt"}});
  SeedEntry("Home", {{"BrowserPath", "C:\\home.exe"}, {"FileURL", "http://home.example/n.txt"}});
  OptionsForm& options = Open("Work");
  options.cmbSelEntry_DropDown();
  options.cmbSelEntry.OnUserText("Home");
  options.tbsOptions.SetSelectedTab(3);
  EXPECT_EQ(options.txtBrowser.Text(), "C:\\home.exe");
  EXPECT_EQ(options.txtURL.Text(), "http://home.example/n.txt");

  options.txtURL.OnUserText("http://home.example/new.txt");
  options.tbsOptions.SetSelectedTab(1);
  options.tbsOptions.SetSelectedTab(3);
  EXPECT_EQ(options.txtURL.Text(), "http://home.example/new.txt");
}

// The number the number file replaced is shown under the address; its
// button puts it into the number box and leaves the address alone, and a
// save writes only the number. An entry saved under a new name takes the
// previous number along; an entry without one shows none.
TEST_F(OptionsFormTest, UseThePreviousNumberPutsItBackAndLeavesTheAddress) {
  SeedEntry("Work", {{"UserName", "joe"},
                     {"Password", "\xB4\xB6\xB8"},
                     {"PhoneNumber", "0190555666"},
                     {"PreviousPhoneNumber", "5550100"},
                     {"FileURL", "http://numbers.example/now.txt"}});
  SeedEntry("Home", {{"UserName", "ann"}, {"PhoneNumber", "5550200"}});
  store.EnumEntries();
  registry.writtenValues.clear();
  OptionsForm& options = Open("Work");
  options.tbsOptions.SetSelectedTab(3);
  EXPECT_EQ(options.lblPreviousNumber.Caption(), "Previous number: 5550100");
  EXPECT_TRUE(options.cmdPreviousNumber.Enabled());
  options.cmdPreviousNumber.OnUserClick();
  EXPECT_EQ(options.txtPhoneNumber.Text(), "5550100");
  EXPECT_EQ(options.txtURL.Text(), "http://numbers.example/now.txt");
  options.cmdOK_Click();
  ASSERT_FALSE(options.Loaded());
  EXPECT_EQ(registry.writtenValues, std::vector<std::string>{"PhoneNumber"});
  EXPECT_EQ(Value("Work", "PhoneNumber"), "5550100");
  EXPECT_EQ(Value("Work", "PreviousPhoneNumber"), "5550100");
  EXPECT_EQ(Value("Work", "FileURL"), "http://numbers.example/now.txt");

  OptionsForm& copy = Open("Work");
  copy.cmbSelEntry.OnUserText("Work2");
  copy.cmdOK_Click();
  EXPECT_EQ(Value("Work2", "PreviousPhoneNumber"), "5550100");

  OptionsForm& other = Open("Home");
  other.tbsOptions.SetSelectedTab(3);
  EXPECT_EQ(other.lblPreviousNumber.Caption(), "Previous number: none");
  EXPECT_FALSE(other.cmdPreviousNumber.Enabled());
  other.cmdOK_Click();
  EXPECT_EQ(Value("Home", "PreviousPhoneNumber"), "<missing>");
}

// Looking at one list entry and then another shows the second one's lists
// and saves nothing of the first into it: not its files, not its line.
TEST_F(OptionsFormTest, SwitchingBetweenListEntriesCarriesNothingOver) {
  SeedEntry("Alpha", {{"UseList", "1"}, {"PhoneList", "C:\\a\\phones.csv"}, {"UserList", "C:\\a\\users.csv"},
                      {"LastDialedLocation", "Yuma,AZ,US,520 3290098"}});
  SeedEntry("Beta", {{"UseList", "1"}, {"PhoneList", "C:\\b\\phones.csv"}, {"UserList", "C:\\b\\users.csv"}});
  OptionsForm& options = Open("");
  options.cmbSelEntry_DropDown();
  options.cmbSelEntry.OnUserText("Alpha");
  ASSERT_EQ(options.txtPhoneList.Text(), "C:\\a\\phones.csv");
  options.cmbSelEntry.OnUserText("Beta");
  EXPECT_EQ(options.txtPhoneList.Text(), "C:\\b\\phones.csv");
  EXPECT_EQ(options.txtUserList.Text(), "C:\\b\\users.csv");

  options.chkLoad.OnUserValue(1);
  options.cmdOK_Click();
  EXPECT_EQ(Value("Beta", "LoadAtStartup"), "1");
  EXPECT_EQ(Value("Beta", "PhoneList"), "C:\\b\\phones.csv");
  EXPECT_EQ(Value("Beta", "UserList"), "C:\\b\\users.csv");
  EXPECT_EQ(Value("Beta", "LastDialedLocation"), "<missing>");
  EXPECT_EQ(Value("Alpha", "LastDialedLocation"), "Yuma,AZ,US,520 3290098");
}

// An entry without a second time window shows none, whatever the entry
// shown before had; a new name typed over it takes none either.
TEST_F(OptionsFormTest, SwitchingToAnEntryWithoutASecondTimeWindowShowsNone) {
  SeedEntry("Alpha", {{"OnTimeEx2", "5"}, {"OffTimeEx2", "30"}});
  SeedEntry("Beta", {{"UserName", "joe"}, {"Password", "\xB4\xB6\xB8"}, {"PhoneNumber", "5550100"},
                     {"OnTimeEx2", ""}, {"OffTimeEx2", "100"}});
  OptionsForm& options = Open("Alpha");
  ASSERT_EQ(options.txtOnTimeEx2.Text(), "5");
  options.cmbSelEntry_DropDown();
  options.cmbSelEntry.OnUserText("Beta");
  EXPECT_EQ(options.txtOnTimeEx2.Text(), "");
  EXPECT_EQ(options.txtOffTimeEx2.Text(), "NC");

  options.cmbSelEntry.OnUserText("Gamma");
  options.cmdOK_Click();
  EXPECT_EQ(Value("Gamma", "OnTimeEx2"), "");
  EXPECT_EQ(Value("Gamma", "OffTimeEx2"), "100");
}

// The spaces in the password box stand for the password of the entry shown.
// A new name typed over that entry takes that password along; where there
// is none for them to stand for, the password is asked for.
TEST_F(OptionsFormTest, SpacesInThePasswordBoxStandForTheShownEntrysPassword) {
  struct Case {
    const char* label;
    const char* storedPassword;  // of "Work"; nullptr: none
    const char* typed;           // into the password box; nullptr: untouched
    const char* saved;           // "Password" of "Home"; nullptr: "Missing password." asked
  };
  const Case cases[] = {
      {"stored, untouched", "\xB4\xB6\xB8", nullptr, "\xB4\xB6\xB8"},
      {"stored, spaces typed", "\xB4\xB6\xB8", "   ", "\xB4\xB6\xB8"},
      {"none stored, spaces typed", nullptr, "   ", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry.DeleteKey(RegHive::CurrentUser, Key("Work"));
    registry.DeleteKey(RegHive::CurrentUser, Key("Home"));
    SeedEntry("Work", {{"UserName", "joe"}, {"PhoneNumber", "5550100"}});
    if (c.storedPassword != nullptr) registry.SetString(RegHive::CurrentUser, Key("Work"), "Password", c.storedPassword);
    messages.shown.clear();
    OptionsForm& options = Open("Work");
    options.cmbSelEntry.OnUserText("Home");
    if (c.typed != nullptr) options.txtPassword.OnUserText(c.typed);
    options.cmdOK_Click();
    if (c.saved == nullptr) {
      EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Missing password."});
      EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, Key("Home")));
      options.Unload();
    } else {
      EXPECT_EQ(Value("Home", "Password"), c.saved);
      EXPECT_EQ(Value("Home", "UserName"), "joe");
    }
  }
}

// The running entry is no new entry, whatever the custom page holds: saving
// it closes the window and the program goes on with its line.
TEST_F(OptionsFormTest, SavingTheRunningEntryAfterTheCustomPageKeepsTheProgram) {
  SeedEntry("*Myisp", {{"Location", "C:\\isp.exe"}, {"Tab4Name", "Myisp"}});
  SeedEntry("Work", {{"UserName", "joe"}, {"Password", "\xB4\xB6\xB8"}, {"PhoneNumber", "5550100"}});
  store.EnumEntries();
  line.isConnected = 1;
  OptionsForm& options = Open("Work");
  options.tbsOptions.SetSelectedTab(4);
  ASSERT_EQ(options.txtNZentry.Text(), "Myisp");
  options.tbsOptions.SetSelectedTab(1);
  options.TxtRedial.OnUserText("7");
  options.cmdOK_Click();
  EXPECT_FALSE(options.Loaded());
  EXPECT_EQ(Value("Work", "NumberOfRedials"), "7");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(calls.empty());
}

// A check box set from the entry to the value it already had raises no
// click: the fields it governs must follow the entry all the same.
TEST_F(OptionsFormTest, AnEntryWithoutRedialLoadedFirstDisablesTheRedialFields) {
  SeedEntry("Work", {{"EnableRedial", "0"}});
  OptionsForm& options = Open("Work");
  EXPECT_EQ(options.chkRedial.Value(), 0);
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &options.TxtRedial, &options.txtMinutes, &options.txtSeconds, &options.vsb1, &options.vsb2, &options.vsb3}) {
    EXPECT_FALSE(control->Enabled()) << control->Name();
  }
  EXPECT_EQ(options.TxtRedial.BackColor(), forms::kColorInactiveCaptionText);
}

// There is one custom entry. Saved under a new name it moves there with its
// icon, its disconnect choice and its online time, and the old key and
// shortcut go: two "*" keys would leave the next start to pick one of them.
TEST_F(OptionsFormTest, RenamingTheCustomEntryMovesItsRecord) {
  const std::vector<std::pair<std::string, std::string>> kept = {
      {"Icon", "15"}, {"DoNotAsk", "1"}, {"CurrentMonth", "12,December"}, {"OnlineTime", "3600"}};
  SeedEntry("*Zeta", {{"Location", "C:\\isp.exe"}, {"Tab4Name", "Zeta"}});
  for (const auto& [value, text] : kept) registry.SetString(RegHive::CurrentUser, Key("*Zeta"), value, text);
  registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Tab4Name", "Zeta");
  const std::string oldLink = std::string(kUserDesktop) + "\\Zeta.lnk";
  links.links[oldLink] = {};
  store.EnumEntries();

  OptionsForm& options = Open("");
  options.tbsOptions.SetSelectedTab(4);
  ASSERT_EQ(options.txtNZentry.Text(), "Zeta");
  options.txtNZentry.OnUserText("Alpha");
  options.cmdOK_Click();

  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, Key("*Zeta")));
  EXPECT_EQ(links.links.count(oldLink), 0u);
  EXPECT_EQ(Value("*Alpha", "Location"), "C:\\isp.exe");
  EXPECT_EQ(Value("*Alpha", "Tab4Name"), "Alpha");
  for (const auto& [value, text] : kept) EXPECT_EQ(Value("*Alpha", value), text) << value;
  store.EnumEntries();
  EXPECT_EQ(store.CustomEntryKey, "*Alpha");
}

TEST_F(OptionsFormTest, SelectorCaptionsAndReloading) {
  SeedEntry("Work", {{"PhoneNumber", "0123"}});
  OptionsForm& options = Open("");
  options.cmbSelEntry.OnUserText("myisp");
  EXPECT_EQ(options.EditedEntryName, "Myisp");
  EXPECT_EQ(options.cmdRemove.Caption(), "&Remove 'Myisp'");
  EXPECT_EQ(options.cmdOK.Caption(), "&Save 'Myisp'");
  EXPECT_TRUE(options.cmdRemove.Enabled());

  options.cmbSelEntry.OnUserText("abcdefghij");
  EXPECT_EQ(options.EditedEntryName, "Abcdefghij");
  EXPECT_EQ(options.cmdRemove.Caption(), "&Remove 'Abcdefg'");
  EXPECT_EQ(options.cmdOK.Caption(), "&Save 'Abcdefg'");

  // A stored name, typed in any letters or picked, loads its values.
  options.cmbSelEntry.OnUserText("work");
  EXPECT_EQ(options.EditedEntryName, "Work");
  EXPECT_EQ(options.txtPhoneNumber.Text(), "0123");
}

TEST_F(OptionsFormTest, ClearingTheSelectorPutsTheCurrentEntryBack) {
  SeedEntry("Work", {{"PhoneNumber", "0123"}});
  SeedEntry("Home", {{"PhoneNumber", "0999"}});
  OptionsForm& options = Open("Work");
  options.cmbSelEntry_DropDown();
  options.cmbSelEntry.OnUserSelect(0);  // Home, listed first
  ASSERT_EQ(options.txtPhoneNumber.Text(), "0999");

  options.cmbSelEntry.OnUserText("");
  EXPECT_EQ(options.cmbSelEntry.Text(), "Work");
  EXPECT_EQ(options.EditedEntryName, "Work");
  EXPECT_EQ(options.txtPhoneNumber.Text(), "0123");
}

TEST_F(OptionsFormTest, SavingChecksInOrderSelectingTheTabAndField) {
  OptionsForm& options = Open("");
  options.tbsOptions.SetSelectedTab(2);
  options.cmdOK_Click();
  EXPECT_EQ(options.tbsOptions.SelectedTab(), 1);
  ASSERT_EQ(MessageTexts(), std::vector<std::string>{"Create new entry or select existing entry from the list."});
  EXPECT_EQ(messages.shown[0].title, "Error saving options");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Information);

  messages.shown.clear();
  options.cmbSelEntry.OnUserText("Work");
  options.cmdOK_Click();
  EXPECT_EQ(options.tbsOptions.SelectedTab(), 2);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Missing login name."});
  EXPECT_EQ(options.ActiveControl(), &options.txtUserName);
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, Key("Work")));
  EXPECT_TRUE(options.Loaded());
}

TEST_F(OptionsFormTest, NewEntryWithALongNameIsSavedWithItsShortcutAndEndsTheProgram) {
  OptionsForm& options = Open("");
  options.cmbSelEntry.OnUserText("Providerone");
  options.txtUserName.OnUserText("joe");
  options.txtPassword.OnUserText("secret");
  options.txtPhoneNumber.OnUserText("0123");
  options.cmdOK_Click();

  EXPECT_EQ(Value("Providerone", "UserName"), "joe");
  EXPECT_NE(Value("Providerone", "Password"), "secret");
  const std::string link = std::string(kCommonDesktop) + "\\PROVIDERONE.lnk";
  ASSERT_EQ(links.links.count(link), 1u);
  EXPECT_EQ(links.links[link].target, kProgram);
  EXPECT_EQ(links.links[link].arguments, "/Providerone");
  EXPECT_EQ(links.links[link].workingFolder, "C:\\Program Files\\Corvane");
  EXPECT_EQ(links.links[link].description, "Dialable CRV entry: Providerone");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "To dial, click on the 'Providerone' icon located on desktop.");
  EXPECT_EQ(messages.shown[0].title, "New dialing entry: 'Providerone'");
  EXPECT_EQ(calls, std::vector<std::string>{"endProgram"});
}

TEST_F(OptionsFormTest, ShortcutGoesToTheUserDesktopWhenThePublicOneRefusesIt) {
  links.folders.erase(ShellFolder::CommonDesktop);
  SeedEntry("Work", {{"Icon", "12"}, {"Password", "\xB4\xB6stored"}, {"UserName", "j"}, {"PhoneNumber", "1"}});
  OptionsForm& options = Open("Work");
  options.cmdOK_Click();
  const std::string link = std::string(kUserDesktop) + "\\Work.lnk";
  ASSERT_EQ(links.links.count(link), 1u);
  EXPECT_EQ(links.links[link].iconFile, kProgram);
  EXPECT_EQ(links.links[link].iconIndex, 11);
}

TEST_F(OptionsFormTest, RemovingTheRunningEntryDeletesItsKeyAndShortcutsOnly) {
  SeedEntry("Work", {{"PhoneNumber", "0123"}});
  SeedEntry("Workshop", {{"PhoneNumber", "7"}});
  const std::vector<std::string> own = {std::string(kCommonDesktop) + "\\WORK.lnk", std::string(kUserDesktop) + "\\Work.lnk",
                                        std::string(kStartup) + "\\CRV - Work.lnk"};
  const std::string other = std::string(kUserDesktop) + "\\Workshop.lnk";
  for (const std::string& path : own) links.links[path] = {};
  links.links[other] = {};

  OptionsForm& options = Open("Work");
  options.cmdRemove_Click();
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, Key("Work")));
  EXPECT_TRUE(registry.HasKey(RegHive::CurrentUser, Key("Workshop")));
  for (const std::string& path : own) EXPECT_EQ(links.links.count(path), 0u) << path;
  EXPECT_EQ(links.links.count(other), 1u);
  for (std::string path : links.removed) {
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(path.find("work.lnk"), std::string::npos) << path;
  }
  EXPECT_EQ(currentEntryName, "");
  EXPECT_EQ(options.EditedEntryName, "");
  EXPECT_EQ(options.cmbSelEntry.Text(), "");
  EXPECT_EQ(options.cmdOK.Caption(), "&OK");
  EXPECT_FALSE(options.cmdRemove.Enabled());
  EXPECT_TRUE(calls.empty());  // the dialer keeps running
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OptionsFormTest, RemovingANameThatIsNoEntryDeletesNothing) {
  SeedEntry("Other", {{"PhoneNumber", "1"}});
  OptionsForm& options = Open("");
  options.cmbSelEntry.OnUserText("..\\Other");
  options.cmdRemove_Click();
  EXPECT_TRUE(registry.deletedKeys.empty());
  EXPECT_TRUE(links.removed.empty());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Error removing entry");
}

TEST_F(OptionsFormTest, ClosingLeavesTheStartupShortcutsTheStoredChoicesSay) {
  // A ticked box that was not saved changes nothing; a stale shortcut goes.
  SeedEntry("Work", {{"LoadAtStartup", "1"}});
  SeedEntry("Home", {{"LoadAtStartup", "0"}});
  for (const char* current : {"Work", ""}) {
    SCOPED_TRACE(current);
    links.links.clear();
    links.links[std::string(kStartup) + "\\CRV - Home.lnk"] = ShellLink{};
    calls.clear();
    OptionsForm& options = Open(current);
    options.cmbSelEntry.OnUserText("Home");
    options.chkLoad.OnUserValue(1);
    options.cmdCancel_Click();
    EXPECT_FALSE(options.Loaded());
    ASSERT_EQ(links.links.size(), 1u);
    const std::string path = std::string(kStartup) + "\\CRV - Work.lnk";
    ASSERT_EQ(links.links.count(path), 1u);
    EXPECT_EQ(links.links[path].arguments, "/Work");
    EXPECT_EQ(links.links[path].target, kProgram);
    // Closing a window the program was started for without an entry ends it.
    const bool ended = std::find(calls.begin(), calls.end(), "endProgram") != calls.end();
    EXPECT_EQ(ended, std::string(current).empty());
  }
}

TEST_F(OptionsFormTest, IconChooserReturnsTheChosenNumberAndZeroWhenClosed) {
  OptionsForm& options = Open("");
  formHost.answer = [](forms::Form& shown) { static_cast<IconsForm&>(shown).img1[0].OnUserClick(); };
  options.imgIcon_Click(0);
  EXPECT_EQ(options.frmIcons.SelectedIcon, 8);
  EXPECT_EQ(form->Entry.Icon, 8);
  EXPECT_EQ(options.imgIcon[0].Picture(), 8);

  formHost.answer = [](forms::Form& shown) { static_cast<IconsForm&>(shown).img1[13].OnUserClick(); };
  options.imgIcon_Click(1);
  EXPECT_EQ(options.frmIcons.SelectedIcon, 21);
  EXPECT_EQ(options.CustomIcon, 21);
  EXPECT_EQ(options.imgIcon[1].Picture(), 21);
  EXPECT_EQ(form->Entry.Icon, 8);

  formHost.answer = nullptr;  // closed with its close box
  options.imgIcon_Click(0);
  EXPECT_EQ(options.frmIcons.SelectedIcon, 0);
  EXPECT_EQ(form->Entry.Icon, 8);
  EXPECT_EQ(options.frmIcons.img1[13].Picture(), 21);
}

TEST_F(OptionsFormTest, CheckBoxesEnableTheirGroupsWithTheirColours) {
  OptionsForm& options = Open("");
  options.txtPhoneNumber.OnUserText("0123");
  options.chkList.OnUserValue(1);
  EXPECT_EQ(options.chkSingle.Value(), 0);
  EXPECT_EQ(options.txtPhoneNumber.Text(), "");
  EXPECT_FALSE(options.txtPhoneNumber.Enabled());
  EXPECT_EQ(options.txtPhoneNumber.BackColor(), forms::kColorMenu);
  EXPECT_TRUE(options.txtPhoneList.Enabled());
  EXPECT_TRUE(options.cmdBrowse[0].Enabled());

  options.txtPhoneList.OnUserText("p.csv");
  options.chkSingle.OnUserValue(1);
  EXPECT_EQ(options.chkList.Value(), 0);
  EXPECT_EQ(options.txtPhoneList.Text(), "");
  EXPECT_EQ(options.txtPhoneList.BackColor(), forms::kColorMenu);
  EXPECT_FALSE(options.cmdBrowse[1].Enabled());
  EXPECT_EQ(options.txtUserName.BackColor(), forms::kColorWindow);

  options.chkAutoDisconnect.OnUserValue(0);
  EXPECT_FALSE(options.vsbAhrs.Enabled());
  EXPECT_FALSE(options.lblAfter.Enabled());
  EXPECT_EQ(options.txtAhrs.BackColor(), forms::kColorInactiveCaptionText);
  options.chkRedial.OnUserValue(0);
  EXPECT_FALSE(options.vsb3.Enabled());
  EXPECT_EQ(options.txtSeconds.BackColor(), forms::kColorInactiveCaptionText);

  options.tbsOptions.SetSelectedTab(3);
  EXPECT_EQ(options.txtURL.Text(), "http://");
  EXPECT_FALSE(options.optDisconnect.Enabled());
  options.txtURL.OnUserText("http://x");
  EXPECT_TRUE(options.optDisconnect.Enabled());
  EXPECT_TRUE(options.optNextTime.Enabled());
}

TEST_F(OptionsFormTest, BrowseButtonsAskTheFileDialog) {
  OptionsForm& options = Open("");
  options.chkList.OnUserValue(1);
  options.cmdBrowse[0].OnUserClick();
  ASSERT_EQ(fileDialog.requests.size(), 1u);
  EXPECT_EQ(fileDialog.requests[0].title, "Open phone list from:");
  EXPECT_EQ(fileDialog.requests[0].defaultExtension, "csv");
  EXPECT_EQ(fileDialog.requests[0].filter, "comma separated values (*.csv)|*.csv|all files (*.*)|*.*");
  EXPECT_EQ(options.txtPhoneList.Text(), "C:\\Lists\\phones.csv");

  fileDialog.cancels = true;
  options.cmdBrowse[3].OnUserClick();
  EXPECT_EQ(fileDialog.requests[1].title, "Select file location:");
  EXPECT_EQ(fileDialog.requests[1].filter, "executable(*.exe)|*.exe|all files (*.*)|*.*");
  EXPECT_EQ(options.txtBrowser.Text(), "");
}

TEST_F(OptionsFormTest, MonitoringSwitchAsksWhileConnected) {
  SeedEntry("Work", {});
  SeedEntry("Home", {{"MonitorTime", "0"}});
  line.isConnected = 1;
  // Filling the box from an unmonitored entry is no click of the user's.
  OptionsForm& options = Open("Home");
  EXPECT_EQ(options.chkMonitorTime.Value(), 0);
  EXPECT_TRUE(messages.shown.empty());
  // Another entry's box acts when that entry is saved, not on the line.
  options.chkMonitorTime.OnUserValue(1);
  options.chkMonitorTime.OnUserValue(0);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(calls.empty());

  options.Unload();
  Open("Work");

  messages.answer = MsgResult::No;
  form->chkMonitorTime.OnUserValue(0);
  EXPECT_EQ(form->chkMonitorTime.Value(), 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "This will interrupt the online time monitoring\r\nfor active 'Work' connection. Proceed?");
  EXPECT_EQ(messages.shown[0].title, "Active Internet Connection");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_TRUE(calls.empty());

  messages.answer = MsgResult::Yes;
  form->chkMonitorTime.OnUserValue(0);
  EXPECT_EQ(calls, std::vector<std::string>{"interruptOnlineTime"});
  form->chkMonitorTime.OnUserValue(1);
  EXPECT_EQ(calls.back(), "restartOnlineTime");
}

}  // namespace
}  // namespace corvane::testing
