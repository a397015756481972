// Fuzzes password unscrambling with any installation key and any stored
// text, and the promise that what the scrambling stores unscrambles to what
// was typed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fuzz_check.h"
#include "settings/password.h"

using corvane::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  corvane::testing::FakeRegistry registry;
  if (input.ConsumeBool()) {
    registry.SetRaw(corvane::RegHive::CurrentUser, corvane::kSettingsRoot, "Product",
                    input.ConsumeRandomLengthString(40));
  }
  corvane::SettingsStore store(registry);
  corvane::testing::FakeMessageBox messages;
  corvane::EntrySettings entry;
  entry.UseList = input.ConsumeBool() ? 1 : 0;

  const std::string typed = input.ConsumeRandomLengthString(80);
  const std::string stored = input.ConsumeRemainingBytesAsString();

  const std::optional<std::string> plain = corvane::DecodePassword(stored, entry, store);
  if (plain && entry.UseList == 0) {
    Check(plain->size() == stored.size(), "the plain password is as long as the stored one");
    Check(plain->find('\0') == std::string::npos, "the plain password holds no NUL");
  }

  const std::optional<std::string> scrambled = corvane::EncodePassword(typed, store, messages);
  Check(scrambled.has_value() || !messages.shown.empty(), "a refused password is explained");
  const bool takenAsScrambled = !typed.empty() && static_cast<unsigned char>(typed.front()) > 128;
  if (scrambled && !takenAsScrambled && entry.UseList == 0) {
    Check(scrambled->size() == typed.size(), "the stored text is as long as the password");
    const std::optional<std::string> back = corvane::DecodePassword(*scrambled, entry, store);
    Check((back.has_value() && *back == typed) || typed.find('\0') != std::string::npos,
          "a stored password unscrambles to what was typed");
  }
  return 0;
}
