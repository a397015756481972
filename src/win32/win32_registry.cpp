// The registry port on RegCreateKeyExA, RegOpenKeyExA, RegQueryValueExA,
// RegSetValueExA, RegEnumKeyExA and RegDeleteKeyA. Keys travel through the port as
// integers; the store closes each one it opens.
#include "win32/win32_registry.h"

#include <windows.h>

namespace corvane {

namespace {

HKEY HiveKey(RegHive hive) {
  return hive == RegHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

// Longest key name the registry allows, plus its NUL.
constexpr DWORD kMaxKeyName = 256;

}  // namespace

int32_t Win32Registry::CreateKey(RegHive hive, const std::string& path, RegKey& key) {
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExA(HiveKey(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_READ | KEY_WRITE, nullptr, &opened, nullptr);
  if (status == ERROR_ACCESS_DENIED) {
    // The all-users keys of the local machine are read-only for an ordinary
    // user; a read must still find what is there.
    status = RegOpenKeyExA(HiveKey(hive), path.c_str(), 0, KEY_READ, &opened);
  }
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

int32_t Win32Registry::OpenKeyForEnum(RegHive hive, const std::string& path, RegKey& key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(HiveKey(hive), path.c_str(), 0, KEY_READ, &opened);
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

int32_t Win32Registry::QueryValue(RegKey key, const std::string& name, char* buffer, uint32_t& size) {
  DWORD bytes = buffer == nullptr ? 0 : size;
  const LONG status = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer), &bytes);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) size = bytes;
  return status;
}

int32_t Win32Registry::SetStringValue(RegKey key, const std::string& name, const std::string& text) {
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

int32_t Win32Registry::EnumSubkey(RegKey key, uint32_t index, std::string& name) {
  char buffer[kMaxKeyName];
  DWORD length = kMaxKeyName;
  const LONG status = RegEnumKeyExA(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name.assign(buffer, length);
  return status;
}

void Win32Registry::CloseKey(RegKey key) {
  if (key != 0) RegCloseKey(ToHkey(key));
}

int32_t Win32Registry::DeleteLeafKey(RegHive hive, const std::string& path) {
  // RegDeleteKeyA refuses a key that has subkeys: never a whole tree.
  return RegDeleteKeyA(HiveKey(hive), path.c_str());
}

}  // namespace corvane
