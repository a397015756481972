// The registry-backed settings store: one product key, one subkey per entry,
// every value a string. Each operation opens, uses and closes its key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry_port.h"

namespace corvane {

inline constexpr const char* kSettingsRoot = "Software\\Tamberlo\\Corvane\\";

class SettingsStore {
 public:
  explicit SettingsStore(RegistryPort& registry);

  // The value's text up to its first NUL; empty when the key cannot be
  // opened or the value is missing. A missing key stays missing.
  std::string ReadRegValue(const std::string& keyPath, const std::string& valueName);

  // Writes `text` as a string value, creating the key path when missing.
  // True when it was written; false leaves the old value as it was.
  bool SaveRegValue(const std::string& keyPath, const std::string& valueName, const std::string& text);

  // Opens the key path with create semantics and closes it again. True on
  // success.
  bool CreateRegKey(const std::string& keyPath);

  // Deletes the key path with its values, never a key that has subkeys.
  // True when it is gone.
  bool DeleteRegKey(const std::string& keyPath);

  // Ordinary entry names in reverse enumeration order; records the last
  // "*"-prefixed subkey as CustomEntryKey (cleared first). A missing
  // SettingsRoot gives an empty list and is not created.
  std::vector<std::string> EnumEntries();

  RegHive RootHive = RegHive::CurrentUser;
  std::string SettingsRoot = kSettingsRoot;
  std::string CustomEntryKey;

 private:
  RegistryPort& registry_;
};

// The text up to, not including, its first NUL; the whole text without one.
std::string StripNull(const std::string& text);

// The entry list as the options window takes it: each name followed by ";".
std::string JoinEntryList(const std::vector<std::string>& names);

// The longest leading decimal number of `text` (spaces and tabs before it
// skipped; an optional sign, digits, an optional fraction; no exponent), or
// 0 when the text does not start with one. Unrounded, for readers that do
// their own arithmetic on stored figures.
double LeadingNumber(std::string_view text);

// Reading numbers into a field: the leading decimal number as above, rounded
// to the nearest value of the field's type with halves going to the even
// neighbour. `fallback` is the field's default and is used for an empty text
// and also for a number the field cannot hold (e.g. "300" for a byte,
// "-1" for a byte, 1e40 for a float): such texts are never written by the
// program, so they are treated like a missing value rather than clamped to
// some extreme the reader would then act on.
uint8_t ReadByte(const std::string& text, uint8_t fallback);
int32_t ReadInt32(const std::string& text, int32_t fallback);
float ReadFloat(const std::string& text, float fallback);

}  // namespace corvane
