// The tariff's stored form: loading, saving and the bands' texts.
#include "settings/tariff_settings.h"

#include <charconv>
#include <string_view>

namespace corvane {

namespace {

constexpr int kWeekdays = 7;
constexpr int32_t kHoursPerDay = 24;

bool ParseWhole(std::string_view text, int32_t& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

std::string BandValueName(int index) { return kTariffBandValuePrefix + std::to_string(index + 1); }

// An amount stored under `entryKey`: a negative or unreadable one is none.
int32_t ReadAmount(SettingsStore& store, const std::string& entryKey, const char* valueName) {
  const int32_t amount = ReadInt32(store.ReadRegValue(entryKey, valueName), 0);
  return amount > 0 ? amount : 0;
}

}  // namespace

int32_t Tariff::PriceAt(int weekday, int hour) const {
  for (const TariffBand& band : Bands) {
    if (band.Used() && band.Covers(weekday, hour)) return band.Price;
  }
  return Price;
}

std::string TariffBandText(const TariffBand& band) {
  if (!band.Used()) return {};
  std::string days;
  for (int day = 1; day <= kWeekdays; ++day) {
    if ((band.Days & (1u << (day - 1))) != 0) days += static_cast<char>('0' + day);
  }
  return days + "," + std::to_string(band.FromHour) + "," + std::to_string(band.ToHour) + "," +
         std::to_string(band.Price);
}

std::optional<TariffBand> ParseTariffBand(const std::string& text) {
  std::string_view rest = text;
  std::array<std::string_view, 4> fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t comma = rest.find(',');
    if ((comma == std::string_view::npos) != (i + 1 == fields.size())) return std::nullopt;
    fields[i] = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
  }
  TariffBand band;
  for (const char day : fields[0]) {
    if (day < '1' || day > '0' + kWeekdays) return std::nullopt;
    band.Days |= static_cast<uint8_t>(1u << (day - '1'));
  }
  if (band.Days == 0 || !ParseWhole(fields[1], band.FromHour) || !ParseWhole(fields[2], band.ToHour) ||
      !ParseWhole(fields[3], band.Price) || band.FromHour >= band.ToHour || band.ToHour > kHoursPerDay) {
    return std::nullopt;
  }
  return band;
}

Tariff LoadTariff(SettingsStore& store, const std::string& entryKey) {
  Tariff tariff;
  tariff.UnitSeconds = ReadInt32(store.ReadRegValue(entryKey, kTariffUnitSecondsValue), 0);
  if (tariff.UnitSeconds <= 0 || tariff.UnitSeconds > kMaxTariffUnitSeconds) return Tariff{};
  tariff.Currency = store.ReadRegValue(entryKey, kTariffCurrencyValue);
  tariff.Decimals = ReadInt32(store.ReadRegValue(entryKey, kTariffDecimalsValue), kDefaultTariffDecimals);
  if (tariff.Decimals < 0 || tariff.Decimals > kMaxTariffDecimals) tariff.Decimals = kDefaultTariffDecimals;
  tariff.Fee = ReadAmount(store, entryKey, kTariffFeeValue);
  tariff.Minimum = ReadAmount(store, entryKey, kTariffMinimumValue);
  tariff.Price = ReadAmount(store, entryKey, kTariffPriceValue);
  for (int i = 0; i < kTariffBands; ++i) {
    tariff.Bands[i] = ParseTariffBand(store.ReadRegValue(entryKey, BandValueName(i))).value_or(TariffBand{});
  }
  return tariff;
}

void SaveTariff(const Tariff& shown, const Tariff* loaded, SettingsStore& store, const std::string& entryKey) {
  const Tariff none;
  const Tariff& before = loaded != nullptr ? *loaded : none;
  const auto save = [&](const std::string& valueName, const std::string& value, const std::string& loadedValue) {
    if (loaded == nullptr || value != loadedValue) store.SaveRegValue(entryKey, valueName, value);
  };
  save(kTariffUnitSecondsValue, std::to_string(shown.UnitSeconds), std::to_string(before.UnitSeconds));
  save(kTariffCurrencyValue, shown.Currency, before.Currency);
  save(kTariffDecimalsValue, std::to_string(shown.Decimals), std::to_string(before.Decimals));
  save(kTariffFeeValue, std::to_string(shown.Fee), std::to_string(before.Fee));
  save(kTariffMinimumValue, std::to_string(shown.Minimum), std::to_string(before.Minimum));
  save(kTariffPriceValue, std::to_string(shown.Price), std::to_string(before.Price));
  for (int i = 0; i < kTariffBands; ++i) {
    save(BandValueName(i), TariffBandText(shown.Bands[i]), TariffBandText(before.Bands[i]));
  }
}

}  // namespace corvane
