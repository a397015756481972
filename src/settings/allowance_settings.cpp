// Loading and saving an entry's allowance.
#include "settings/allowance_settings.h"

namespace corvane {

AllowanceSettings LoadAllowance(SettingsStore& store, const std::string& entryKey) {
  AllowanceSettings allowance;
  allowance.Hours = ReadInt32(store.ReadRegValue(entryKey, kAllowanceHoursValue), 0);
  allowance.Megabytes = ReadInt32(store.ReadRegValue(entryKey, kAllowanceMegabytesValue), 0);
  allowance.WarnPercent =
      ReadInt32(store.ReadRegValue(entryKey, kAllowanceWarnPercentValue), kDefaultWarnPercent);
  allowance.HangUp = ReadByte(store.ReadRegValue(entryKey, kAllowanceHangUpValue), 0);
  allowance.Money = ReadInt32(store.ReadRegValue(entryKey, kAllowanceMoneyValue), 0);
  return allowance;
}

void SaveAllowance(const AllowanceSettings& shown, const AllowanceSettings* loaded, SettingsStore& store,
                   const std::string& entryKey) {
  const auto save = [&](const char* valueName, int32_t value, int32_t loadedValue) {
    if (loaded == nullptr || value != loadedValue) store.SaveRegValue(entryKey, valueName, std::to_string(value));
  };
  const AllowanceSettings none;
  const AllowanceSettings& before = loaded != nullptr ? *loaded : none;
  save(kAllowanceHoursValue, shown.Hours, before.Hours);
  save(kAllowanceMegabytesValue, shown.Megabytes, before.Megabytes);
  save(kAllowanceWarnPercentValue, shown.WarnPercent, before.WarnPercent);
  save(kAllowanceHangUpValue, shown.HangUp, before.HangUp);
  save(kAllowanceMoneyValue, shown.Money, before.Money);
}

}  // namespace corvane
