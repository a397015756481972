// RegistryPort over the Win32 registry functions (ANSI, string values).
#pragma once

#include "settings/registry_port.h"

namespace corvane {

class Win32Registry : public RegistryPort {
 public:
  int32_t CreateKey(RegHive hive, const std::string& path, RegKey& key) override;
  int32_t OpenKeyForEnum(RegHive hive, const std::string& path, RegKey& key) override;
  int32_t QueryValue(RegKey key, const std::string& name, char* buffer, uint32_t& size) override;
  int32_t SetStringValue(RegKey key, const std::string& name, const std::string& text) override;
  int32_t EnumSubkey(RegKey key, uint32_t index, std::string& name) override;
  void CloseKey(RegKey key) override;
  int32_t DeleteLeafKey(RegHive hive, const std::string& path) override;
};

}  // namespace corvane
