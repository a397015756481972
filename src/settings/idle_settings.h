// An entry's idle hang-up: after how many minutes of a quiet line it is hung
// up, and how little traffic a minute still counts as quiet. Values of
// their own under the entry's key; an entry without them is never hung up
// for being idle.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

namespace corvane {

// Names of the stored values under an entry's key (REG_SZ, decimal texts).
inline constexpr const char* kIdleMinutesValue = "IdleMinutes";      // 0 = no idle hang-up
inline constexpr const char* kIdleThresholdValue = "IdleThreshold";  // bytes a minute, sent plus received

// A line carries a little background traffic even when nobody uses it: a
// threshold of 0 would never find it idle.
inline constexpr int32_t kDefaultIdleThreshold = 2048;

struct IdleSettings {
  int32_t Minutes = 0;
  int32_t ThresholdBytesPerMinute = kDefaultIdleThreshold;

  bool On() const { return Minutes > 0; }
  bool operator==(const IdleSettings&) const = default;
};

// The idle hang-up stored under `entryKey`; defaults for missing values.
IdleSettings LoadIdleSettings(SettingsStore& store, const std::string& entryKey);

// Writes `shown` under `entryKey`. With `loaded` (what the same entry held
// when it was shown) only the values that differ from it are written.
void SaveIdleSettings(const IdleSettings& shown, const IdleSettings* loaded, SettingsStore& store,
                      const std::string& entryKey);

}  // namespace corvane
