// The registry-backed settings store: one product key, one subkey per entry,
// every value a string. Each operation opens, uses and closes its key and
// leaves the status of its last registry call in LastResult.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/registry_port.h"

namespace corvane {

inline constexpr const char* kSettingsRoot = "Software\\Tamberlo\\Corvane\\";

class SettingsStore {
 public:
  SettingsStore(RegistryPort& registry, int32_t& lastResult);

  // The value's text; empty when the key cannot be opened or the value is
  // missing. A missing key is created (empty) on the way.
  std::string ReadRegValue(const std::string& keyPath, const std::string& valueName);

  // Writes `text` as a string value, creating the key path when missing.
  void SaveRegValue(const std::string& keyPath, const std::string& valueName, const std::string& text);

  // Ordinary entry names in reverse enumeration order; records CustomEntryKey.
  std::vector<std::string> EnumEntries();

  RegHive RootHive = RegHive::CurrentUser;
  std::string SettingsRoot = kSettingsRoot;
  std::string CustomEntryKey;

 private:
  RegistryPort& registry_;
  int32_t& lastResult_;
};

// The text up to, not including, its first NUL; the whole text without one.
std::string StripNull(const std::string& text);

// The entry list as the options window takes it: each name followed by ";".
std::string JoinEntryList(const std::vector<std::string>& names);

// Reading numbers: the longest leading decimal number (leading spaces
// skipped, none counts as 0), with `fallback` only for an empty text.
uint8_t ReadByte(const std::string& text, uint8_t fallback);
int32_t ReadInt32(const std::string& text, int32_t fallback);
float ReadFloat(const std::string& text, float fallback);

}  // namespace corvane
