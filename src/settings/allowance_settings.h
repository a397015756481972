// An entry's monthly allowance: the hours and megabytes its plan includes,
// the share of them at which the user is warned, and whether the line is
// hung up once one is used up. Values of their own under the entry's key;
// an entry without them has no allowance and behaves as it always did.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

namespace corvane {

// Names of the stored values under an entry's key (REG_SZ, decimal texts).
inline constexpr const char* kAllowanceHoursValue = "AllowanceHours";          // 0 = no time allowance
inline constexpr const char* kAllowanceMegabytesValue = "AllowanceMegabytes";  // 0 = no data allowance
inline constexpr const char* kAllowanceWarnPercentValue = "AllowanceWarnPercent";
inline constexpr const char* kAllowanceHangUpValue = "AllowanceHangUp";        // 1 = hang up at the limit
// Monthly budget in minor units of the entry's tariff (cents); 0 = none.
// Without a tariff nothing is spent and the budget is never reached.
inline constexpr const char* kAllowanceMoneyValue = "AllowanceMoney";
// Which warnings this month has had: "2026-12,1,2" is December 2026, the
// time allowance's warning level shown (1), the data allowance's limit
// shown (2). A text of another month stands for none shown.
inline constexpr const char* kAllowanceWarnedValue = "AllowanceWarned";
// The same for the money allowance, a value of its own: "2026-12,1".
inline constexpr const char* kAllowanceMoneyWarnedValue = "AllowanceMoneyWarned";

inline constexpr int32_t kDefaultWarnPercent = 80;

struct AllowanceSettings {
  int32_t Hours = 0;
  int32_t Megabytes = 0;
  int32_t WarnPercent = kDefaultWarnPercent;
  uint8_t HangUp = 0;
  int32_t Money = 0;

  // True when any allowance is set.
  bool Any() const { return Hours > 0 || Megabytes > 0 || Money > 0; }
  bool operator==(const AllowanceSettings&) const = default;
};

// The allowance stored under `entryKey`; defaults for missing values.
AllowanceSettings LoadAllowance(SettingsStore& store, const std::string& entryKey);

// Writes `shown` under `entryKey`. With `loaded` (what the same entry held
// when it was shown) only the values that differ from it are written, so an
// entry the user left alone keeps not having them.
void SaveAllowance(const AllowanceSettings& shown, const AllowanceSettings* loaded, SettingsStore& store,
                   const std::string& entryKey);

}  // namespace corvane
