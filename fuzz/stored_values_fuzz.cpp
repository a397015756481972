// Fuzzes what the program reads back from the store: a registry that
// answers every value read with any status, any reported size and any
// bytes; a text read from it as every kind of number; and a whole entry
// loaded from such a registry.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "settings/entry_settings.h"
#include "settings/settings_store.h"

namespace {

using corvane::fuzz::Check;

// A registry whose value reads answer as the input says. It never writes
// past the buffer it is given, as no registry does; everything else (the
// status, the byte count it reports, the bytes) is the input's choice.
class ScriptedRegistry : public corvane::RegistryPort {
 public:
  explicit ScriptedRegistry(FuzzedDataProvider& input) : input_(input) {}

  int32_t CreateKey(corvane::RegHive, const std::string&, corvane::RegKey& key) override {
    if (input_.ConsumeBool()) return corvane::kRegFileNotFound;
    key = 1;
    ++openKeys;
    return corvane::kRegSuccess;
  }
  int32_t OpenKeyForEnum(corvane::RegHive, const std::string&, corvane::RegKey& key) override {
    if (input_.ConsumeBool()) return corvane::kRegFileNotFound;
    key = 1;
    ++openKeys;
    return corvane::kRegSuccess;
  }
  int32_t QueryValue(corvane::RegKey, const std::string&, char* buffer, uint32_t& size) override {
    const int32_t status = input_.PickValueInArray({corvane::kRegSuccess, corvane::kRegMoreData,
                                                    corvane::kRegFileNotFound});
    // Sizes past the first read's buffer matter; how far past does not.
    const auto stored = input_.ConsumeIntegralInRange<uint32_t>(0, 4096);
    const std::string bytes = input_.ConsumeRandomLengthString(256);
    if (buffer != nullptr && status == corvane::kRegSuccess) {
      std::memcpy(buffer, bytes.data(), std::min<size_t>(bytes.size(), size));
    }
    size = stored;
    return status;
  }
  int32_t SetStringValue(corvane::RegKey, const std::string&, const std::string&) override {
    return corvane::kRegSuccess;
  }
  int32_t EnumSubkey(corvane::RegKey, uint32_t, std::string&) override { return corvane::kRegNoMoreItems; }
  int32_t DeleteLeafKey(corvane::RegHive, const std::string&) override { return corvane::kRegSuccess; }
  void CloseKey(corvane::RegKey) override { --openKeys; }

  int openKeys = 0;

 private:
  FuzzedDataProvider& input_;
};

void CheckNumbersOf(const std::string& text) {
  const double leading = corvane::LeadingNumber(text);
  const uint8_t byte = corvane::ReadByte(text, 7);
  const int32_t whole = corvane::ReadInt32(text, -7);
  const float real = corvane::ReadFloat(text, 7.5f);
  Check(byte == 7 || std::fabs(byte - leading) <= 0.5, "a byte is the leading number rounded");
  Check(whole == -7 || std::fabs(whole - leading) <= 0.5, "an integer is the leading number rounded");
  Check(std::isfinite(real), "a float read is finite");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);

  ScriptedRegistry scripted(input);
  corvane::SettingsStore store(scripted);
  const std::string read = store.ReadRegValue("Software\\Entry", "Value");
  Check(read.find('\0') == std::string::npos, "a text read holds no NUL");
  CheckNumbersOf(read);

  const corvane::EntrySettings entry = corvane::LoadEntry(store, "Software\\Entry");
  Check(entry.PhoneNumber.find('\0') == std::string::npos, "a loaded number holds no NUL");
  Check(std::isfinite(entry.AutoDisconnectTime), "the disconnect time is finite");
  Check(scripted.openKeys == 0, "every key opened is closed");
  return 0;
}
