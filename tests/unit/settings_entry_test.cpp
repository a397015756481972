// Loading an entry: every field from its value or its default.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fakes/fake_registry.h"
#include "settings/entry_settings.h"

namespace corvane {
namespace {

using testing::FakeRegistry;

const std::string kEntryKey = std::string(kSettingsRoot) + "Work";

class LoadEntryTest : public ::testing::Test {
 protected:
  void Store(const std::map<std::string, std::string>& values) {
    for (const auto& [name, text] : values) registry.SetString(RegHive::CurrentUser, kEntryKey, name, text);
  }

  FakeRegistry registry;
  SettingsStore store{registry};
};

// Defaults of every field not given in the key.
void ExpectDefaults(const EntrySettings& e, uint8_t useList) {
  EXPECT_EQ(e.Icon, 0);
  EXPECT_EQ(e.UseList, useList);
  EXPECT_EQ(e.LoadAtStartup, 0);
  EXPECT_EQ(e.MonitorTime, 1);
  EXPECT_EQ(e.PhoneList, "");
  EXPECT_EQ(e.UserList, "");
  EXPECT_EQ(e.UserName, "");
  EXPECT_EQ(e.Password, "");
  EXPECT_EQ(e.PhoneNumber, "");
  EXPECT_EQ(e.EnableRedial, 1);
  EXPECT_EQ(e.NumberOfRedials, 3);
  EXPECT_EQ(e.Minutes, 2);
  EXPECT_EQ(e.Seconds, 1);
  EXPECT_EQ(e.DoNotAsk, 0);
  EXPECT_EQ(e.FileURL, "");
  EXPECT_EQ(e.DisconnectAndDial, 0);
  EXPECT_EQ(e.StartBrowser, 1);
  EXPECT_EQ(e.AutoDisconnect, 0);
  EXPECT_EQ(e.AutoDisconnectTime, 0.0f);
  EXPECT_EQ(e.AutoReconnect, 1);
}

TEST_F(LoadEntryTest, ReturnsTheStoredValuesWithEachDefaultForTheRest) {
  struct Case {
    const char* label;
    std::map<std::string, std::string> values;
    uint8_t useList;
    std::string number, lastDialed;
  };
  const Case cases[] = {
      {"list mode", {{"UseList", "1"}, {"LastDialedLocation", "Berlin,0301234,Telco"}, {"PhoneNumber", "555"}}, 1,
       "555", "Berlin,0301234,Telco"},
      {"single mode", {{"UseList", "0"}, {"LastDialedLocation", "Berlin,0301234"}, {"PhoneNumber", "0301234"}}, 0,
       "0301234", "Berlin,0301234"},
      {"number missing", {{"UseList", "0"}}, 0, "", ""},
      {"empty key", {}, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry.DeleteKey(RegHive::CurrentUser, kEntryKey);
    Store(c.values);

    EntrySettings entry = LoadEntry(store, kEntryKey);

    EXPECT_EQ(entry.PhoneNumber, c.number);
    EXPECT_EQ(entry.LastDialedLocation, c.lastDialed);
    entry.PhoneNumber.clear();
    ExpectDefaults(entry, c.useList);
  }
}

TEST_F(LoadEntryTest, MissingSubkeyGivesDefaultsAndIsNotCreated) {
  ExpectDefaults(LoadEntry(store, kEntryKey), 0);
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kEntryKey));
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(LoadEntryTest, EveryStoredValueReachesItsField) {
  const std::string scrambled = "\xB4\xB6\xC0";
  Store({{"Icon", "12"}, {"UseList", "0"}, {"LoadAtStartup", "1"}, {"MonitorTime", "0"},
         {"PhoneList", "C:\\phones.csv"}, {"UserList", "C:\\users.csv"}, {"UserName", "guest"},
         {"Password", scrambled}, {"PhoneNumber", "0191011"}, {"EnableRedial", "0"},
         {"NumberOfRedials", "12abc"}, {"Minutes", " 0"}, {"Seconds", "30"}, {"DoNotAsk", "1"},
         {"FileURL", "http://example.net/n.txt"}, {"DisconnectAndDial", "1"}, {"StartBrowser", "0"},
         {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "5400"}, {"AutoReconnect", "0"}});
  const EntrySettings entry = LoadEntry(store, kEntryKey);

  EXPECT_EQ(entry.Icon, 12);
  EXPECT_EQ(entry.UseList, 0);
  EXPECT_EQ(entry.LoadAtStartup, 1);
  EXPECT_EQ(entry.MonitorTime, 0);
  EXPECT_EQ(entry.PhoneList, "C:\\phones.csv");
  EXPECT_EQ(entry.UserList, "C:\\users.csv");
  EXPECT_EQ(entry.UserName, "guest");
  EXPECT_EQ(entry.Password, scrambled);  // stays scrambled
  EXPECT_EQ(entry.PhoneNumber, "0191011");
  EXPECT_EQ(entry.EnableRedial, 0);
  EXPECT_EQ(entry.NumberOfRedials, 12);
  EXPECT_EQ(entry.Minutes, 0);
  EXPECT_EQ(entry.Seconds, 30);
  EXPECT_EQ(entry.DoNotAsk, 1);
  EXPECT_EQ(entry.FileURL, "http://example.net/n.txt");
  EXPECT_EQ(entry.DisconnectAndDial, 1);
  EXPECT_EQ(entry.StartBrowser, 0);
  EXPECT_EQ(entry.AutoDisconnect, 1);
  EXPECT_EQ(entry.AutoDisconnectTime, 5400.0f);
  EXPECT_EQ(entry.AutoReconnect, 0);
}

}  // namespace
}  // namespace corvane
