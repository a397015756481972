// An entry's tariff: what its calls cost, as the telephone company bills
// them. A fee when the line comes up, a price per unit of time (a started
// unit is charged whole) that may differ by weekday and hour, and a minimum
// charge per call. Amounts are whole minor units of the currency (cents
// when it has two decimals), never fractions. Values of their own under the
// entry's key; an entry without them has no tariff and shows no cost.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"

namespace corvane {

// Names of the stored values under an entry's key (REG_SZ texts).
inline constexpr const char* kTariffUnitSecondsValue = "TariffUnitSeconds";  // 0 or missing: no tariff
inline constexpr const char* kTariffCurrencyValue = "TariffCurrency";        // "EUR", "$"
inline constexpr const char* kTariffDecimalsValue = "TariffDecimals";        // missing: 2
inline constexpr const char* kTariffFeeValue = "TariffFee";                  // minor units per call
inline constexpr const char* kTariffMinimumValue = "TariffMinimum";          // minor units per call
inline constexpr const char* kTariffPriceValue = "TariffPrice";              // minor units per unit, outside the bands
// "TariffBand1" .. "TariffBand4": "12345,8,18,25" is Monday to Friday
// (1 Monday .. 7 Sunday), from 08:00 to 18:00, 25 minor units per unit.
// Empty or missing: no band.
inline constexpr const char* kTariffBandValuePrefix = "TariffBand";

inline constexpr int kTariffBands = 4;
inline constexpr int32_t kDefaultTariffDecimals = 2;
inline constexpr int32_t kMaxTariffDecimals = 4;
inline constexpr int32_t kMaxTariffUnitSeconds = 86400;
inline constexpr int kMaxCurrencyLength = 8;

// A price that holds on some weekdays between two whole hours.
struct TariffBand {
  uint8_t Days = 0;   // bit 0 Monday .. bit 6 Sunday; 0: no band
  int32_t FromHour = 0;  // 0..23
  int32_t ToHour = 0;    // FromHour+1..24, not included
  int32_t Price = 0;     // minor units per unit

  bool Used() const { return Days != 0; }
  // True for a unit starting on `weekday` (1 Monday .. 7 Sunday) at `hour`.
  bool Covers(int weekday, int hour) const {
    return (Days & (1u << (weekday - 1))) != 0 && hour >= FromHour && hour < ToHour;
  }
  bool operator==(const TariffBand&) const = default;
};

struct Tariff {
  int32_t UnitSeconds = 0;  // 0: the entry has no tariff
  std::string Currency;
  int32_t Decimals = kDefaultTariffDecimals;
  int32_t Fee = 0;
  int32_t Minimum = 0;
  int32_t Price = 0;  // outside every band
  std::array<TariffBand, kTariffBands> Bands{};

  bool Any() const { return UnitSeconds > 0; }
  // The price of a unit that starts on `weekday` at `hour`: the first band
  // that covers it, otherwise the tariff's own price.
  int32_t PriceAt(int weekday, int hour) const;
  bool operator==(const Tariff&) const = default;
};

// "12345,8,18,25" and back; nullopt for a text that is no band (an empty
// text, unknown days, hours out of order).
std::string TariffBandText(const TariffBand& band);
std::optional<TariffBand> ParseTariffBand(const std::string& text);

// The tariff stored under `entryKey`; UnitSeconds 0 when it has none (or a
// unit length out of range: a damaged tariff charges nothing rather than
// something made up).
Tariff LoadTariff(SettingsStore& store, const std::string& entryKey);

// Writes `shown` under `entryKey`. With `loaded` (what the same entry held
// when it was shown) only the values that differ from it are written, so an
// entry the user left alone keeps not having them.
void SaveTariff(const Tariff& shown, const Tariff* loaded, SettingsStore& store, const std::string& entryKey);

}  // namespace corvane
