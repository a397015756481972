// The in-memory registry of the settings tests.
#include "fakes/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace corvane::testing {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path + "\\") {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  return parts;
}

std::string HiveName(RegHive hive) { return hive == RegHive::CurrentUser ? "HKCU" : "HKLM"; }

}  // namespace

std::string FakeRegistry::Normalize(RegHive hive, const std::string& path) {
  std::string normal = HiveName(hive);
  for (const std::string& part : Components(path)) normal += "\\" + Lower(part);
  return normal;
}

FakeRegistry::Node* FakeRegistry::Find(RegHive hive, const std::string& path) {
  auto it = nodes_.find(Normalize(hive, path));
  return it == nodes_.end() ? nullptr : &it->second;
}

const FakeRegistry::Node* FakeRegistry::Find(RegHive hive, const std::string& path) const {
  auto it = nodes_.find(Normalize(hive, path));
  return it == nodes_.end() ? nullptr : &it->second;
}

std::string FakeRegistry::Create(RegHive hive, const std::string& path) {
  std::string normal = HiveName(hive);
  nodes_[normal];
  for (const std::string& part : Components(path)) {
    Node& parent = nodes_[normal];
    normal += "\\" + Lower(part);
    if (nodes_.find(normal) == nodes_.end()) {
      parent.subkeys.push_back(part);
      nodes_[normal];
    }
  }
  return normal;
}

FakeRegistry::Node* FakeRegistry::Opened(RegKey key) {
  auto it = open_.find(key);
  if (it == open_.end()) return nullptr;
  auto node = nodes_.find(it->second);
  return node == nodes_.end() ? nullptr : &node->second;
}

int32_t FakeRegistry::CreateKey(RegHive hive, const std::string& path, RegKey& key) {
  if (createKeyFailure != kRegSuccess) return createKeyFailure;
  key = nextHandle_++;
  open_[key] = Create(hive, path);
  return kRegSuccess;
}

int32_t FakeRegistry::OpenKeyForEnum(RegHive hive, const std::string& path, RegKey& key) {
  if (openKeyFailure != kRegSuccess) return openKeyFailure;
  if (Find(hive, path) == nullptr) return kRegFileNotFound;
  key = nextHandle_++;
  open_[key] = Normalize(hive, path);
  return kRegSuccess;
}

int32_t FakeRegistry::QueryValue(RegKey key, const std::string& name, char* buffer, uint32_t& size) {
  queryBufferSizes.push_back(buffer == nullptr ? 0 : size);
  Node* node = Opened(key);
  if (node == nullptr) return 6;  // invalid handle
  auto it = node->values.find(Lower(name));
  if (it == node->values.end()) return kRegFileNotFound;
  const std::string& bytes = it->second;
  const uint32_t available = size;
  size = static_cast<uint32_t>(bytes.size());
  if (buffer == nullptr) return kRegSuccess;
  if (available < bytes.size()) return kRegMoreData;
  std::memcpy(buffer, bytes.data(), bytes.size());
  return kRegSuccess;
}

int32_t FakeRegistry::SetStringValue(RegKey key, const std::string& name, const std::string& text) {
  if (setValueFailure != kRegSuccess) return setValueFailure;
  Node* node = Opened(key);
  if (node == nullptr) return 6;
  node->values[Lower(name)] = text + '\0';
  writtenValues.push_back(name);
  return kRegSuccess;
}

int32_t FakeRegistry::EnumSubkey(RegKey key, uint32_t index, std::string& name) {
  Node* node = Opened(key);
  if (node == nullptr) return 6;
  if (index >= node->subkeys.size()) return kRegNoMoreItems;
  name = node->subkeys[index];
  return kRegSuccess;
}

void FakeRegistry::CloseKey(RegKey key) { open_.erase(key); }

void FakeRegistry::AddKey(RegHive hive, const std::string& path) { Create(hive, path); }

void FakeRegistry::SetRaw(RegHive hive, const std::string& path, const std::string& name,
                          const std::string& bytes) {
  nodes_[Create(hive, path)].values[Lower(name)] = bytes;
}

void FakeRegistry::SetString(RegHive hive, const std::string& path, const std::string& name,
                             const std::string& text) {
  SetRaw(hive, path, name, text + '\0');
}

bool FakeRegistry::HasKey(RegHive hive, const std::string& path) const {
  return Find(hive, path) != nullptr;
}

std::optional<std::string> FakeRegistry::RawValue(RegHive hive, const std::string& path,
                                                  const std::string& name) const {
  const Node* node = Find(hive, path);
  if (node == nullptr) return std::nullopt;
  auto it = node->values.find(Lower(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second;
}

FakeRegistry::ValueTree FakeRegistry::ValuesBelow(RegHive hive, const std::string& path) const {
  const std::string top = Normalize(hive, path);
  ValueTree tree;
  for (const auto& [normal, node] : nodes_) {
    if (normal.compare(0, top.size(), top) != 0) continue;
    if (normal.size() == top.size()) {
      tree[""] = node.values;
    } else if (normal[top.size()] == '\\') {
      tree[normal.substr(top.size() + 1)] = node.values;
    }
  }
  return tree;
}

int32_t FakeRegistry::DeleteLeafKey(RegHive hive, const std::string& path) {
  deletedKeys.push_back(path);
  const Node* node = Find(hive, path);
  if (node == nullptr) return kRegFileNotFound;
  if (!node->subkeys.empty()) return 5;  // access denied, as for a key with subkeys
  DeleteKey(hive, path);
  return kRegSuccess;
}

void FakeRegistry::DeleteKey(RegHive hive, const std::string& path) {
  const std::vector<std::string> parts = Components(path);
  if (parts.empty()) return;
  const std::string normal = Normalize(hive, path);
  for (auto it = nodes_.begin(); it != nodes_.end();) {
    const bool inside = it->first == normal || it->first.rfind(normal + "\\", 0) == 0;
    it = inside ? nodes_.erase(it) : std::next(it);
  }
  std::string parentPath;
  for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
  if (Node* parent = Find(hive, parentPath)) {
    auto& subkeys = parent->subkeys;
    const std::string last = Lower(parts.back());
    subkeys.erase(std::remove_if(subkeys.begin(), subkeys.end(),
                                 [&](const std::string& s) { return Lower(s) == last; }),
                  subkeys.end());
  }
}

}  // namespace corvane::testing
