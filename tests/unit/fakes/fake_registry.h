// An in-memory registry for tests of the settings store: keys in both hives
// with their subkeys in a chosen enumeration order, values as raw bytes, and
// a record of the calls made (buffer sizes, keys left open, failures to
// inject).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry_port.h"

namespace corvane::testing {

class FakeRegistry : public RegistryPort {
 public:
  // --- the port ---
  int32_t CreateKey(RegHive hive, const std::string& path, RegKey& key) override;
  int32_t OpenKeyForEnum(RegHive hive, const std::string& path, RegKey& key) override;
  int32_t QueryValue(RegKey key, const std::string& name, char* buffer, uint32_t& size) override;
  int32_t SetStringValue(RegKey key, const std::string& name, const std::string& text) override;
  int32_t EnumSubkey(RegKey key, uint32_t index, std::string& name) override;
  void CloseKey(RegKey key) override;
  int32_t DeleteLeafKey(RegHive hive, const std::string& path) override;

  // --- arranging and inspecting (paths relative to the hive, "\" separated,
  // case-insensitive like the real registry; an empty component is ignored) ---
  void AddKey(RegHive hive, const std::string& path);
  // Stores `bytes` exactly as given (no NUL added), creating the key.
  void SetRaw(RegHive hive, const std::string& path, const std::string& name, const std::string& bytes);
  // Stores `text` plus its NUL, as a string value written by a program.
  void SetString(RegHive hive, const std::string& path, const std::string& name, const std::string& text);
  bool HasKey(RegHive hive, const std::string& path) const;
  std::optional<std::string> RawValue(RegHive hive, const std::string& path, const std::string& name) const;
  void DeleteKey(RegHive hive, const std::string& path);
  // Every key at or below `path`, an empty one included: its path below
  // `path` in lower case ("" for `path` itself) -> lower-case value name ->
  // bytes.
  using ValueTree = std::map<std::string, std::map<std::string, std::string>>;
  ValueTree ValuesBelow(RegHive hive, const std::string& path) const;

  // The name of every value written through the port, in order.
  std::vector<std::string> writtenValues;
  // Every path given to DeleteLeafKey, in order.
  std::vector<std::string> deletedKeys;
  // Keys opened through the port and not yet closed.
  size_t OpenKeyCount() const { return open_.size(); }
  // The buffer size of every QueryValue call in order; 0 for a size query.
  std::vector<uint32_t> queryBufferSizes;
  // When set, CreateKey fails with this status and creates nothing.
  int32_t createKeyFailure = kRegSuccess;
  // When set, OpenKeyForEnum fails with this status.
  int32_t openKeyFailure = kRegSuccess;
  // When set, SetStringValue fails with this status and writes nothing.
  int32_t setValueFailure = kRegSuccess;

 private:
  struct Node {
    std::vector<std::string> subkeys;  // original spelling, enumeration order
    std::map<std::string, std::string> values;  // lower-case name -> bytes
  };
  static std::string Normalize(RegHive hive, const std::string& path);
  Node* Find(RegHive hive, const std::string& path);
  const Node* Find(RegHive hive, const std::string& path) const;
  std::string Create(RegHive hive, const std::string& path);
  Node* Opened(RegKey key);

  std::map<std::string, Node> nodes_;      // normalized path -> key
  std::map<RegKey, std::string> open_;     // handle -> normalized path
  RegKey nextHandle_ = 0x100;
};

}  // namespace corvane::testing
