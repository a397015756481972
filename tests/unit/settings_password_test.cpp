// Password scrambling with the installation key: the stored form, the round
// trip, the texts that pass unchanged, and refusal of what cannot be held.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "settings/password.h"
#include "settings/win_platform.h"

namespace corvane {
namespace {

using testing::FakeMessageBox;
using testing::FakeRegistry;

class PasswordTest : public ::testing::Test {
 protected:
  void SetInstallKey(const std::string& key) {
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", key);
  }
  bool KeyWasRead() const { return !registry.queryBufferSizes.empty(); }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeMessageBox messages;
  EntrySettings single;  // UseList = 0
};

TEST_F(PasswordTest, ScrambledFormIsPlusKeyTwiceInARowPlus66) {
  SetInstallKey("12");
  // 'A'+'1'+66, 'B'+'2'+66, 'C'+'1'+66 (the key repeats), 'D'+'2'+66
  EXPECT_EQ(EncodePassword("ABCD", store, messages), std::string("\xB4\xB6\xB6\xB8"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PasswordTest, DecodingAnEncodedPasswordGivesItBack) {
  SetInstallKey("8302749165");
  const std::string cases[] = {
      "a", "secret", "P@ss w0rd!~", std::string(20, 'z'),  // twice the key: the longest
      " lead and trail ", "x\x80\x84",                   // bytes above 127 after the first
      std::string("\x80", 1),                              // 128 itself is still scrambled
  };
  for (const std::string& plain : cases) {
    SCOPED_TRACE("password \"" + plain + "\"");
    const auto stored = EncodePassword(plain, store, messages);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->size(), plain.size());
    EXPECT_NE(*stored, plain);
    EXPECT_GT(static_cast<unsigned char>(stored->front()), 128);
    EXPECT_EQ(DecodePassword(*stored, single, store), plain);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PasswordTest, TextsThatPassUnchangedDoNotReadTheKey) {
  // No installation key at all: none of these needs one.
  EXPECT_EQ(EncodePassword("", store, messages), "");

  EntrySettings listMode;
  listMode.UseList = 1;
  EXPECT_EQ(DecodePassword("plain from the user list", listMode, store), "plain from the user list");

  EXPECT_FALSE(KeyWasRead());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PasswordTest, TypedPasswordStartingAboveByte128IsScrambledOrRefusedNeverStoredAsTyped) {
  SetInstallKey("12");
  const auto low = EncodePassword(std::string("\x81typ", 4), store, messages);
  ASSERT_TRUE(low.has_value());
  EXPECT_NE(*low, std::string("\x81typ", 4));
  EXPECT_EQ(DecodePassword(*low, single, store), std::string("\x81typ", 4));

  // \xE9 + '1' + 66 passes 255: refused with the message, not stored as typed.
  EXPECT_EQ(EncodePassword("\xE9tude42", store, messages), std::nullopt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Data cannot be saved");
}

TEST_F(PasswordTest, WithoutInstallKeyNothingIsScrambled) {
  for (const char* key : {static_cast<const char*>(nullptr), ""}) {
    SCOPED_TRACE(key ? "empty key" : "no key");
    if (key) SetInstallKey(key);
    messages.shown.clear();

    EXPECT_EQ(EncodePassword("secret", store, messages), std::nullopt);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Please reinstall Corvane");
    EXPECT_EQ(messages.shown[0].title, "Data cannot be saved");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
  }
}

TEST_F(PasswordTest, RefusesPasswordsTheScramblingCannotHold) {
  struct Case {
    const char* label;
    std::string key;
    std::string typed;
    bool accepted;
  };
  const Case cases[] = {
      {"twice the key", "12", "abcd", true},
      {"longer than twice the key", "12", "abcde", false},
      {"byte + key byte = 189", "9", std::string("a\x84", 2), true},  // 132 + 57
      {"byte + key byte = 190", "9", std::string("a\x85", 2), false},
      {"high key byte", "\x7F", "~", false},  // 126 + 127
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetInstallKey(c.key);
    messages.shown.clear();

    const auto stored = EncodePassword(c.typed, store, messages);
    EXPECT_EQ(stored.has_value(), c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(messages.shown.empty());
      EXPECT_EQ(DecodePassword(*stored, single, store), c.typed);
    } else {
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].title, "Data cannot be saved");
      EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
      EXPECT_NE(messages.shown[0].text.find("password"), std::string::npos);
    }
  }
}

TEST_F(PasswordTest, DecodingWhatThisKeyCannotUnscrambleIsRefused) {
  struct Case {
    const char* label;
    const char* key;  // nullptr: no "Product" value
    std::string stored;
  };
  const Case cases[] = {
      {"no key", nullptr, "\xB4\xB6"},
      {"empty key", "", "\xB4\xB6"},
      {"longer than twice the key", "12", "\xB4\xB6\xB6\xB8\xB8"},
      {"never scrambled", "12", "secret"},
      {"would give a NUL", "12", "\x73\x74"},  // '1' + 66, '2' + 66
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    registry.DeleteKey(RegHive::CurrentUser, kSettingsRoot);
    if (c.key) SetInstallKey(c.key);
    EXPECT_EQ(DecodePassword(c.stored, single, store), std::nullopt);
  }
  EXPECT_EQ(DecodePassword("", single, store), "");
  EXPECT_TRUE(messages.shown.empty());
}

class FakePlatform : public PlatformPort {
 public:
  explicit FakePlatform(int id) : id_(id) {}
  int WinPlatformId() override { return id_; }

 private:
  int id_;
};

TEST(IsWinNT, TrueExactlyWhenBitOneOfThePlatformIdIsSet) {
  const std::pair<int, bool> cases[] = {{0, false}, {1, false}, {2, true}, {3, true}, {4, false}};
  for (const auto& [id, nt] : cases) {
    FakePlatform platform(id);
    EXPECT_EQ(IsWinNT(platform), nt) << "platform id " << id;
  }
}

}  // namespace
}  // namespace corvane
