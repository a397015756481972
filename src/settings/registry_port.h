// The registry as the settings store sees it: keys opened by path in a hive,
// string values, and subkey enumeration. Status codes are the platform's own
// (0 success, 2 not found, 234 more data, 259 no more items).
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

enum class RegHive { CurrentUser, LocalMachine };

// An open key; 0 is never a valid key.
using RegKey = std::uintptr_t;

inline constexpr int32_t kRegSuccess = 0;
inline constexpr int32_t kRegFileNotFound = 2;
inline constexpr int32_t kRegMoreData = 234;
inline constexpr int32_t kRegNoMoreItems = 259;

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;

  // Opens `path` under `hive` for reading and writing, creating every missing
  // key on the way. On success `key` must later go to CloseKey.
  virtual int32_t CreateKey(RegHive hive, const std::string& path, RegKey& key) = 0;

  // Opens an existing key for reading its values and enumerating its
  // subkeys; never creates it.
  virtual int32_t OpenKeyForEnum(RegHive hive, const std::string& path, RegKey& key) = 0;

  // Reads value `name` as raw bytes into `buffer` of `size` bytes. On success
  // or kRegMoreData `size` becomes the stored byte count. A null `buffer`
  // only asks for the size.
  virtual int32_t QueryValue(RegKey key, const std::string& name, char* buffer, uint32_t& size) = 0;

  // Writes value `name` as a string value holding `text` plus its terminating NUL.
  virtual int32_t SetStringValue(RegKey key, const std::string& name, const std::string& text) = 0;

  // Name of subkey number `index`, in the registry's own enumeration order.
  virtual int32_t EnumSubkey(RegKey key, uint32_t index, std::string& name) = 0;

  virtual void CloseKey(RegKey key) = 0;

  // Deletes the key `path` with its values. A key that has subkeys is left
  // as it is (a status other than 0), so no more than the one key can go.
  virtual int32_t DeleteLeafKey(RegHive hive, const std::string& path) = 0;
};

}  // namespace corvane
