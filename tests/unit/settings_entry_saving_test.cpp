// Saving an entry from the options window: the checks in their order, the
// values written and their order, the password rules, the custom entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "settings/entry_saving.h"

namespace corvane {
namespace {

using testing::FakeMessageBox;
using testing::FakeRegistry;

const std::string kWorkKey = std::string(kSettingsRoot) + "Work";

// A single-login entry that passes every check.
EntryForm CompleteForm() {
  EntryForm form;
  form.name = "Work";
  form.loadAtStartup = 1;
  form.monitorTime = 1;
  form.single = 1;
  form.userName = "joe";
  form.password = "secret";
  form.phoneNumber = "0123";
  form.redial = 1;
  form.redialText = " 3";
  form.redialValue = 3;
  form.minutesText = " 2";
  form.minutesValue = 2;
  form.secondsText = " 1";
  form.secondsValue = 1;
  form.url = "http://";
  form.startBrowser = 1;
  form.autoReconnect = 1;
  form.onTime1 = "0";
  form.offTime1 = "0";
  form.offTime2 = "NC";
  return form;
}

class EntrySavingTest : public ::testing::Test {
 protected:
  void SetUp() override { registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "8302749165"); }

  std::string Value(const std::string& key, const std::string& name) const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, key, name);
    return raw ? StripNull(*raw) : "<missing>";
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeMessageBox messages;
  EntrySettings entry;
};

TEST_F(EntrySavingTest, ChecksInTheirOrder) {
  struct Case {
    const char* label;
    void (*spoil)(EntryForm&);
    int tab;
    const char* message;
    EntryField focus;
  };
  const Case cases[] = {
      {"no name, even with no login either",
       [](EntryForm& f) { f.name.clear(); f.userName.clear(); },
       1, "Create new entry or select existing entry from the list.", EntryField::Unchanged},
      {"name that is no key", [](EntryForm& f) { f.name = "Work\\Sub"; }, 1, nullptr, EntryField::EntryName},
      {"no login before no password",
       [](EntryForm& f) { f.userName.clear(); f.password.clear(); },
       2, "Missing login name.", EntryField::UserName},
      {"no password", [](EntryForm& f) { f.password.clear(); }, 2, "Missing password.", EntryField::Password},
      {"no number", [](EntryForm& f) { f.phoneNumber.clear(); }, 2, "Missing phone number.", EntryField::PhoneNumber},
      {"no phone list",
       [](EntryForm& f) { f.single = 0; f.list = 1; f.userList = "u.csv"; },
       2, "Missing phones list.", EntryField::PhoneList},
      {"no user list",
       [](EntryForm& f) { f.single = 0; f.list = 1; f.phoneList = "p.csv"; },
       2, "Missing users list.", EntryField::UserList},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EntryForm form = CompleteForm();
    c.spoil(form);
    const auto problem = CheckEntryForm(form, 0);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->tab, c.tab);
    if (c.message != nullptr) {
      EXPECT_EQ(problem->message, c.message);
    }
    EXPECT_EQ(problem->focus, c.focus);
  }
  EXPECT_EQ(CheckEntryForm(CompleteForm(), 0), std::nullopt);

  EntryForm listMode = CompleteForm();
  listMode.single = 0;
  listMode.list = 1;
  listMode.userName.clear();
  listMode.phoneList = "p.csv";
  listMode.userList = "u.csv";
  EXPECT_EQ(CheckEntryForm(listMode, 0), std::nullopt);
}

TEST_F(EntrySavingTest, EveryRefusedNameIsRefusedBeforeAnythingElse) {
  for (const char* name : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\x01", "dot.",
                           "space ", "CON", "prn", "Aux", "nul", "COM1", "lpt9"}) {
    SCOPED_TRACE(name);
    EntryForm form;  // nothing else filled in: the name is judged first
    form.name = name;
    form.single = 1;
    const auto problem = CheckEntryForm(form, 0);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->tab, 1);
    EXPECT_EQ(problem->focus, EntryField::EntryName);
  }
  EntryForm longName = CompleteForm();
  longName.name = std::string(200, 'a');
  EXPECT_EQ(CheckEntryForm(longName, 0), std::nullopt);
  EXPECT_TRUE(CheckEntryForm(longName, 60).has_value());  // with a 60-character desktop folder
}

TEST_F(EntrySavingTest, WritesThePasswordThenTheValuesInOrder) {
  EntryForm form = CompleteForm();
  form.lastDialedLocation = "Home,0123";
  form.autoDisconnect = 1;
  form.autoDisconnectHours = 10;
  form.autoDisconnectMinutes = 30;
  form.disconnectAndDial = true;
  form.icon = 12;

  ASSERT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::Saved);

  const std::vector<std::string> order = {
      "Password",     "LoadAtStartup", "MonitorTime",  "LastDialedLocation", "UseList",       "PhoneList",
      "UserList",     "UserName",      "PhoneNumber",  "EnableRedial",       "NumberOfRedials", "Minutes",
      "Seconds",      "FileURL",       "BrowserPath",  "StartBrowser",       "AutoDisconnect", "AutoDisconnectTime",
      "AutoReconnect", "OnTimeEx1",    "OnTimeEx2",    "OffTimeEx1",         "OffTimeEx2",    "DisconnectAndDial",
      "Icon"};
  EXPECT_EQ(registry.writtenValues, order);
  const std::pair<const char*, const char*> expected[] = {
      {"LoadAtStartup", "1"}, {"MonitorTime", "1"}, {"LastDialedLocation", "Home,0123"}, {"UseList", "0"},
      {"PhoneList", ""}, {"UserName", "joe"}, {"PhoneNumber", "0123"}, {"EnableRedial", "1"},
      {"NumberOfRedials", " 3"}, {"Minutes", " 2"}, {"Seconds", " 1"}, {"FileURL", ""},  // the prefill alone is no address
      {"StartBrowser", "1"}, {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "37800"}, {"AutoReconnect", "1"},
      {"OnTimeEx1", "0"}, {"OnTimeEx2", ""}, {"OffTimeEx1", "0"}, {"OffTimeEx2", "100"},
      {"DisconnectAndDial", "1"}, {"Icon", "12"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(Value(kWorkKey, name), text) << name;

  EXPECT_EQ(entry.AutoDisconnectTime, 37800.0f);
  EXPECT_EQ(entry.NumberOfRedials, 3);
  EXPECT_EQ(entry.UserName, "joe");
  EXPECT_EQ(entry.DisconnectAndDial, 1);
  EXPECT_NE(entry.Password, "secret");
  EXPECT_EQ(entry.Password, Value(kWorkKey, "Password"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EntrySavingTest, PasswordBoxOfOnlySpacesKeepsTheStoredPassword) {
  registry.SetString(RegHive::CurrentUser, kWorkKey, "Password", "\xB4\xB6stored");
  for (const std::string& box : {std::string(24, ' '), std::string(" ")}) {
    SCOPED_TRACE("\"" + box + "\"");
    EntryForm form = CompleteForm();
    form.password = box;
    registry.writtenValues.clear();
    ASSERT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::Saved);
    EXPECT_EQ(Value(kWorkKey, "Password"), "\xB4\xB6stored");
    EXPECT_EQ(registry.writtenValues.size(), 24u);
  }
}

// Saved over the entry it was loaded from, a form writes the values whose
// text changed, each as it is stored: a time as seconds, "NC" as 100, a
// typed password scrambled. Under a new name the password the spaces stand
// for goes along.
TEST_F(EntrySavingTest, OverTheLoadedEntryOnlyChangedValuesAreWritten) {
  const EntryForm loaded = CompleteForm();
  EntryForm form = loaded;
  form.autoDisconnectHours = 2;
  form.offTime1 = "nc";
  form.password = std::string(24, ' ');
  ASSERT_EQ(SaveEntry(form, &loaded, store, entry, messages), SaveResult::Saved);
  EXPECT_EQ(registry.writtenValues, (std::vector<std::string>{"AutoDisconnectTime", "OffTimeEx1"}));
  EXPECT_EQ(Value(kWorkKey, "AutoDisconnectTime"), "7200");
  EXPECT_EQ(Value(kWorkKey, "OffTimeEx1"), "100");

  registry.writtenValues.clear();
  form.password = "secret";
  ASSERT_EQ(SaveEntry(form, &loaded, store, entry, messages), SaveResult::Saved);
  EXPECT_EQ(registry.writtenValues, (std::vector<std::string>{"Password", "AutoDisconnectTime", "OffTimeEx1"}));

  const std::string homeKey = std::string(kSettingsRoot) + "Home";
  form.name = "Home";
  form.password = std::string(24, ' ');
  form.storedPassword = "\xB4\xB6stored";
  ASSERT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::Saved);
  EXPECT_EQ(Value(homeKey, "Password"), "\xB4\xB6stored");
  EXPECT_EQ(Value(homeKey, "UserName"), "joe");
}

TEST_F(EntrySavingTest, RefusedPasswordWritesNothingAtAll) {
  EntryForm form = CompleteForm();
  form.password = "\xE9tude42";  // cannot be held: stored as typed it would dial garbage
  EXPECT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::PasswordRefused);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Data cannot be saved");
  EXPECT_TRUE(registry.writtenValues.empty());
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kWorkKey));
}

TEST_F(EntrySavingTest, KeyThatCannotBeCreatedSaysOptionsNotSaved) {
  registry.createKeyFailure = 5;
  EntryForm form = CompleteForm();
  form.password = std::string(24, ' ');
  EXPECT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::KeyNotCreated);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Options not saved");
  EXPECT_EQ(messages.shown[0].title, "Error");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(registry.writtenValues.empty());
  EXPECT_EQ(entry.UserName, "joe");  // the record was already updated
}

TEST_F(EntrySavingTest, OffTimesTurnNcInAnyCaseInto100OnTimesStayAsTyped) {
  EntryForm form = CompleteForm();
  form.offTime1 = "nc";
  form.offTime2 = "NC";
  form.onTime1 = "nc";
  form.onTime2 = " 5";
  ASSERT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::Saved);
  EXPECT_EQ(Value(kWorkKey, "OffTimeEx1"), "100");
  EXPECT_EQ(Value(kWorkKey, "OffTimeEx2"), "100");
  EXPECT_EQ(Value(kWorkKey, "OnTimeEx1"), "nc");
  EXPECT_EQ(Value(kWorkKey, "OnTimeEx2"), " 5");
}

TEST_F(EntrySavingTest, RedialTextThatWouldReadBackOtherwiseIsWrittenAsTheScrollValue) {
  EntryForm form = CompleteForm();
  form.minutesText = "";  // an emptied box: read back it would be the default 2
  form.minutesValue = 0;
  form.secondsText = "7x";
  form.secondsValue = 7;
  ASSERT_EQ(SaveEntry(form, nullptr, store, entry, messages), SaveResult::Saved);
  EXPECT_EQ(Value(kWorkKey, "Minutes"), "0");
  EXPECT_EQ(Value(kWorkKey, "Seconds"), "7x");
}

TEST_F(EntrySavingTest, CustomEntryWritesItsNameLocationAndChosenIcon) {
  SaveCustomEntry("NetZero", "C:\\nz\\start.exe", 0, store);
  const std::string key = std::string(kSettingsRoot) + "*NetZero";
  EXPECT_EQ(Value(kSettingsRoot, "Tab4Name"), "NetZero");
  EXPECT_EQ(Value(key, "Location"), "C:\\nz\\start.exe");
  EXPECT_EQ(Value(key, "Tab4Name"), "NetZero");
  EXPECT_EQ(Value(key, "Icon"), "<missing>");

  SaveCustomEntry("NetZero", "C:\\nz\\start.exe", 15, store);
  EXPECT_EQ(Value(key, "Icon"), "15");
}

}  // namespace
}  // namespace corvane
