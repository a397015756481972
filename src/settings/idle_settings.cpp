// Loading and saving an entry's idle hang-up.
#include "settings/idle_settings.h"

namespace corvane {

IdleSettings LoadIdleSettings(SettingsStore& store, const std::string& entryKey) {
  IdleSettings idle;
  idle.Minutes = ReadInt32(store.ReadRegValue(entryKey, kIdleMinutesValue), 0);
  idle.ThresholdBytesPerMinute =
      ReadInt32(store.ReadRegValue(entryKey, kIdleThresholdValue), kDefaultIdleThreshold);
  return idle;
}

void SaveIdleSettings(const IdleSettings& shown, const IdleSettings* loaded, SettingsStore& store,
                      const std::string& entryKey) {
  const IdleSettings none;
  const IdleSettings& before = loaded != nullptr ? *loaded : none;
  if (loaded == nullptr || shown.Minutes != before.Minutes) {
    store.SaveRegValue(entryKey, kIdleMinutesValue, std::to_string(shown.Minutes));
  }
  if (loaded == nullptr || shown.ThresholdBytesPerMinute != before.ThresholdBytesPerMinute) {
    store.SaveRegValue(entryKey, kIdleThresholdValue, std::to_string(shown.ThresholdBytesPerMinute));
  }
}

}  // namespace corvane
