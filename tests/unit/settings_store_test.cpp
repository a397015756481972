// The settings store over an in-memory registry: reading values of any
// length, writing and creating keys, enumerating entries, and the rule by
// which stored texts become numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fakes/fake_registry.h"
#include "settings/settings_store.h"

namespace corvane {
namespace {

using testing::FakeRegistry;

const std::string kEntryKey = std::string(kSettingsRoot) + "Work";

class SettingsStoreTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  SettingsStore store{registry};
};

struct ReadCase {
  const char* label;
  std::string stored;  // raw bytes as the registry holds them
  std::string expected;
  std::vector<uint32_t> buffers;  // sizes of the reads made (0 = size query)
};

TEST_F(SettingsStoreTest, ReadsValuesOfAnyLengthWithoutTheirNul) {
  const std::string longPath = "C:\\Lists\\" + std::string(291, 'p');  // 300 characters
  const std::string fits(253, 'f');                                   // 253 + NUL = 254 bytes
  const std::string justOver(254, 'o');                               // 254 + NUL = 255 bytes
  const std::vector<ReadCase> cases = {
      {"with NUL", std::string("5551234\0", 8), "5551234", {254}},
      {"without NUL", "5551234", "5551234", {254}},
      {"NUL then garbage", std::string("abc\0junk", 8), "abc", {254}},
      {"empty string", std::string("\0", 1), "", {254}},
      {"no bytes", "", "", {254}},
      {"fills the first buffer", fits + '\0', fits, {254}},
      {"one byte over", justOver + '\0', justOver, {254, 0, 255}},
      {"300-character path", longPath + '\0', longPath, {254, 0, 301}},
      {"long without NUL", longPath, longPath, {254, 0, 300}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    registry.SetRaw(RegHive::CurrentUser, kEntryKey, "PhoneList", c.stored);
    registry.queryBufferSizes.clear();

    EXPECT_EQ(store.ReadRegValue(kEntryKey, "PhoneList"), c.expected);
    EXPECT_EQ(registry.queryBufferSizes, c.buffers);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
  }
}

// Looking at a name is not making an entry: no empty key is left to list.
TEST_F(SettingsStoreTest, MissingValueReadsEmptyAndMissingKeyIsNotCreated) {
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kEntryKey));

  EXPECT_EQ(store.ReadRegValue(kEntryKey, "PhoneNumber"), "");
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kEntryKey));
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
  EXPECT_TRUE(store.EnumEntries().empty());
}

TEST_F(SettingsStoreTest, KeyThatCannotBeOpenedReadsEmptyAndWritesNothing) {
  registry.SetString(RegHive::CurrentUser, kEntryKey, "PhoneNumber", "0301234");
  registry.createKeyFailure = 5;  // access denied
  registry.openKeyFailure = 5;

  EXPECT_EQ(store.ReadRegValue(kEntryKey, "PhoneNumber"), "");
  EXPECT_TRUE(registry.queryBufferSizes.empty());

  EXPECT_FALSE(store.SaveRegValue(kEntryKey, "PhoneNumber", "999"));
  EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, kEntryKey, "PhoneNumber"),
            std::string("0301234\0", 8));
}

TEST_F(SettingsStoreTest, SaveWritesStringValuesAndCreatesTheWholePath) {
  EXPECT_TRUE(store.SaveRegValue(kEntryKey, "Minutes", " 5"));
  EXPECT_TRUE(registry.HasKey(RegHive::CurrentUser, "Software\\Tamberlo"));
  EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, kEntryKey, "Minutes"), std::string(" 5\0", 3));

  store.SaveRegValue(kEntryKey, "Minutes", "");
  EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, kEntryKey, "Minutes"), std::string("\0", 1));
  EXPECT_EQ(store.ReadRegValue(kEntryKey, "Minutes"), "");
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(SettingsStoreTest, FailedWriteKeepsTheOldValue) {
  store.SaveRegValue(kEntryKey, "PhoneNumber", "0301234");
  registry.setValueFailure = 5;
  EXPECT_FALSE(store.SaveRegValue(kEntryKey, "PhoneNumber", "999"));
  EXPECT_EQ(store.ReadRegValue(kEntryKey, "PhoneNumber"), "0301234");
}

TEST_F(SettingsStoreTest, OperationsWorkInTheCurrentRootHive) {
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  registry.SetString(RegHive::LocalMachine, shellFolders, "Common Desktop", "C:\\Users\\Public\\Desktop");

  EXPECT_EQ(store.ReadRegValue(shellFolders, "Common Desktop"), "");
  store.RootHive = RegHive::LocalMachine;
  EXPECT_EQ(store.ReadRegValue(shellFolders, "Common Desktop"), "C:\\Users\\Public\\Desktop");
}

struct EnumCase {
  const char* label;
  std::vector<std::string> subkeys;  // in the registry's enumeration order
  std::vector<std::string> entries;
  std::string customEntryKey;
  std::string listText;
};

TEST_F(SettingsStoreTest, EnumeratesEntriesInReverseOrderAndFindsTheCustomEntry) {
  const std::vector<EnumCase> cases = {
      {"none", {}, {}, "", ""},
      {"one custom among two", {"Alpha", "*Net", "Beta"}, {"Beta", "Alpha"}, "*Net", "Beta;Alpha;"},
      {"the last custom wins", {"*One", "Work", "*Two"}, {"Work"}, "*Two", "Work;"},
      {"names with spaces", {"My ISP", "Home"}, {"Home", "My ISP"}, "", "Home;My ISP;"},
  };
  for (const EnumCase& c : cases) {
    SCOPED_TRACE(c.label);
    FakeRegistry fresh;
    SettingsStore s(fresh);
    s.CustomEntryKey = "*Stale";
    fresh.AddKey(RegHive::CurrentUser, kSettingsRoot);
    fresh.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", "1234");
    for (const std::string& name : c.subkeys) fresh.AddKey(RegHive::CurrentUser, kSettingsRoot + name);
    // Subkeys of an entry are not entries.
    if (!c.subkeys.empty()) fresh.AddKey(RegHive::CurrentUser, kSettingsRoot + c.subkeys.front() + "\\Nested");

    const std::vector<std::string> entries = s.EnumEntries();
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(s.CustomEntryKey, c.customEntryKey);
    EXPECT_EQ(JoinEntryList(entries), c.listText);
    EXPECT_EQ(fresh.OpenKeyCount(), 0u);
  }
}

TEST_F(SettingsStoreTest, CustomEntryKeyIsClearedOnceItsSubkeyIsGone) {
  for (const char* name : {"Alpha", "*Net", "Beta"}) {
    registry.AddKey(RegHive::CurrentUser, std::string(kSettingsRoot) + name);
  }
  store.EnumEntries();
  ASSERT_EQ(store.CustomEntryKey, "*Net");

  registry.DeleteKey(RegHive::CurrentUser, std::string(kSettingsRoot) + "*Net");
  EXPECT_EQ(store.EnumEntries(), (std::vector<std::string>{"Beta", "Alpha"}));
  EXPECT_EQ(store.CustomEntryKey, "");
}

TEST_F(SettingsStoreTest, WithoutSettingsRootThereAreNoEntriesUntilTheFirstSave) {
  store.CustomEntryKey = "*Stale";

  EXPECT_TRUE(store.EnumEntries().empty());
  EXPECT_EQ(store.CustomEntryKey, "");
  EXPECT_FALSE(registry.HasKey(RegHive::CurrentUser, kSettingsRoot));  // enumerating creates nothing

  EXPECT_TRUE(store.SaveRegValue(kEntryKey, "PhoneNumber", "0301234"));
  EXPECT_EQ(store.EnumEntries(), std::vector<std::string>{"Work"});
}

struct NumberCase {
  std::string text;
  uint8_t asByte;   // ReadByte(text, 7)
  int32_t asInt;    // ReadInt32(text, -9)
  float asFloat;    // ReadFloat(text, 2.5f)
};

TEST(NumberRule, LeadingDecimalNumberRoundedToTheFieldType) {
  const float huge = 1e23f;
  const std::vector<NumberCase> cases = {
      {"", 7, -9, 2.5f},  // the default only for an empty text
      {"0", 0, 0, 0.0f},
      {"x", 0, 0, 0.0f},
      {" ", 0, 0, 0.0f},
      {"12abc", 12, 12, 12.0f},
      {"  42", 42, 42, 42.0f},
      {"\t3 4", 3, 3, 3.0f},
      {"+8", 8, 8, 8.0f},
      {"1,5", 1, 1, 1.0f},
      {"1e3", 1, 1, 1.0f},
      {"5.", 5, 5, 5.0f},
      {".5", 0, 0, 0.5f},
      {"0.5", 0, 0, 0.5f},
      {"1.5", 2, 2, 1.5f},
      {"2.5", 2, 2, 2.5f},
      {"3.5", 4, 4, 3.5f},
      {"2.50001", 3, 3, 2.50001f},
      {"2.49999", 2, 2, 2.49999f},
      {"-0.4", 0, 0, -0.4f},
      {"-2.5", 7, -2, -2.5f},  // negative: outside a byte, the default
      {"-3", 7, -3, -3.0f},
      {"5400", 7, 5400, 5400.0f},
      {"255.4", 255, 255, 255.4f},
      {"255.5", 7, 256, 255.5f},  // rounds to 256: outside a byte
      {"300", 7, 300, 300.0f},
      {"2147483647", 7, 2147483647, 2147483647.0f},
      {"2147483648", 7, -9, 2147483648.0f},
      {"-2147483648", 7, std::numeric_limits<int32_t>::min(), -2147483648.0f},
      {"100000000000000000000000", 7, -9, huge},
      {"0000000000000000000000042", 42, 42, 42.0f},
      {"1" + std::string(40, '0'), 7, -9, 2.5f},  // beyond a float too
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    EXPECT_EQ(ReadByte(c.text, 7), c.asByte);
    EXPECT_EQ(ReadInt32(c.text, -9), c.asInt);
    EXPECT_FLOAT_EQ(ReadFloat(c.text, 2.5f), c.asFloat);
  }
}

TEST(NumberRule, LeadingNumberKeepsTheFraction) {
  EXPECT_DOUBLE_EQ(LeadingNumber("12,December,3600"), 12.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("  -1.25x"), -1.25);
  EXPECT_DOUBLE_EQ(LeadingNumber(""), 0.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("NC"), 0.0);
}

}  // namespace
}  // namespace corvane
