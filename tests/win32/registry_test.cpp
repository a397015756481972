// The settings store over the real registry (Wine's or Windows'): long
// values, stored NULs, enumeration order, keys created on read, a missing
// product key, and scrambled bytes surviving the ANSI string round trip.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "settings/password.h"
#include "settings/settings_store.h"
#include "win32/win32_registry.h"

namespace corvane {
namespace {

class NullMessageBox : public MessageBoxPort {
 public:
  MsgResult Show(const std::string&, const std::string&, MsgIcon, MsgButtons) override {
    ++shown;
    return MsgResult::Ok;
  }
  int shown = 0;
};

// Every test works below its own key, removed again at the end.
class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = "Software\\CorvaneTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()) + "-" + std::to_string(++counter_);
    store.SettingsRoot = base_ + "\\Corvane\\";
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvaneTests");  // only once empty
  }

  static bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  // Writes raw bytes as a string value, bypassing the store.
  static void WriteRaw(const std::string& path, const std::string& name, const std::string& bytes, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  static void AddKey(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // Subkey names in the registry's own enumeration order.
  static std::vector<std::string> RegistryOrder(const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = sizeof(name);
      if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
  }

  std::string EntryKey(const std::string& name) const { return store.SettingsRoot + name; }

  Win32Registry registry;
  SettingsStore store{registry};

 private:
  std::string base_;
  static inline int counter_ = 0;
};

TEST_F(RegistryStoreTest, ReadsValuesOfAnyLengthWithoutAStoredNul) {
  const std::string path300 = "C:\\Lists\\" + std::string(291, 'p');
  const std::string long1000(1000, 'q');
  struct Case {
    const char* label;
    std::string bytes;  // as written with RegSetValueExA
    std::string expected;
  };
  const Case cases[] = {
      {"terminated", std::string("0301234\0", 8), "0301234"},
      {"stored trailing NUL", std::string("0301234\0\0", 9), "0301234"},
      {"no terminator", "0301234", "0301234"},
      {"NUL inside", std::string("abc\0xyz\0", 8), "abc"},
      {"253 characters", std::string(253, 'f') + '\0', std::string(253, 'f')},
      {"254 characters", std::string(254, 'o') + '\0', std::string(254, 'o')},
      {"300-character path", path300 + '\0', path300},
      {"1000 characters with a stored NUL", long1000 + '\0' + '\0', long1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    WriteRaw(EntryKey("Work"), "PhoneList", c.bytes);
    EXPECT_EQ(store.ReadRegValue(EntryKey("Work"), "PhoneList"), c.expected);
  }
}

TEST_F(RegistryStoreTest, SavesStringValuesThatOtherProgramsRead) {
  EXPECT_TRUE(store.SaveRegValue(EntryKey("Work"), "AutoDisconnectTime", "5400"));

  char data[16] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, EntryKey("Work").c_str(), "AutoDisconnectTime", RRF_RT_ANY,
                         &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(data, size), std::string("5400\0", 5));
  EXPECT_EQ(store.ReadRegValue(EntryKey("Work"), "AutoDisconnectTime"), "5400");

  store.SaveRegValue(EntryKey("Work"), "AutoDisconnectTime", "");
  EXPECT_EQ(store.ReadRegValue(EntryKey("Work"), "AutoDisconnectTime"), "");
}

// Looking at a name is not making an entry: the real registry keeps no
// empty key behind a read.
TEST_F(RegistryStoreTest, ReadingLeavesTheMissingKeyMissing) {
  ASSERT_FALSE(KeyExists(EntryKey("Fresh")));
  EXPECT_EQ(store.ReadRegValue(EntryKey("Fresh"), "PhoneNumber"), "");
  EXPECT_FALSE(KeyExists(EntryKey("Fresh")));
}

TEST_F(RegistryStoreTest, ListsEntriesInReverseEnumerationOrder) {
  for (const char* name : {"Alpha", "*Net", "Beta"}) AddKey(EntryKey(name));

  const std::vector<std::string> entries = store.EnumEntries();
  EXPECT_EQ(entries, (std::vector<std::string>{"Beta", "Alpha"}));
  EXPECT_EQ(JoinEntryList(entries), "Beta;Alpha;");
  EXPECT_EQ(store.CustomEntryKey, "*Net");

  // Whatever order the registry keeps, the list is its reverse.
  std::vector<std::string> expected;
  for (const std::string& name : RegistryOrder(store.SettingsRoot)) {
    if (name[0] != '*') expected.insert(expected.begin(), name);
  }
  EXPECT_EQ(entries, expected);

  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, EntryKey("*Net").c_str()), ERROR_SUCCESS);
  store.EnumEntries();
  EXPECT_EQ(store.CustomEntryKey, "");
}

TEST_F(RegistryStoreTest, WithoutTheProductKeyThereAreNoEntriesUntilTheFirstSave) {
  store.CustomEntryKey = "*Stale";
  EXPECT_TRUE(store.EnumEntries().empty());
  EXPECT_EQ(store.CustomEntryKey, "");
  EXPECT_FALSE(KeyExists(store.SettingsRoot));

  EXPECT_TRUE(store.SaveRegValue(EntryKey("Work"), "PhoneNumber", "0301234"));
  EXPECT_EQ(store.EnumEntries(), std::vector<std::string>{"Work"});
  EXPECT_EQ(store.ReadRegValue(EntryKey("Work"), "PhoneNumber"), "0301234");
}

TEST_F(RegistryStoreTest, ScrambledPasswordsSurviveTheStringValue) {
  // Every byte a scrambled password can hold goes through the ANSI string
  // value and comes back unchanged.
  std::string allHigh;
  for (int code = 128; code <= 255; ++code) allHigh += static_cast<char>(code);
  store.SaveRegValue(EntryKey("Work"), "Password", allHigh);
  EXPECT_EQ(store.ReadRegValue(EntryKey("Work"), "Password"), allHigh);

  store.SaveRegValue(store.SettingsRoot, "Product", "8302749165");
  NullMessageBox messages;
  EntrySettings entry;
  const auto stored = EncodePassword("P@ss w0rd!~", store, messages);
  ASSERT_TRUE(stored.has_value());
  store.SaveRegValue(EntryKey("Work"), "Password", *stored);
  EXPECT_EQ(DecodePassword(store.ReadRegValue(EntryKey("Work"), "Password"), entry, store), "P@ss w0rd!~");
  EXPECT_EQ(messages.shown, 0);
}

}  // namespace
}  // namespace corvane
