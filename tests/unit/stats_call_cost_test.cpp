// What a call costs under a tariff, as a table of calls: in one band, over a
// band's end, over midnight into a weekend, over a daylight-saving change,
// under the minimum, on and just past a unit's end, and units of 1 second
// and of an hour. Then the tariff's stored form and the money texts.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "settings/settings_store.h"
#include "settings/tariff_settings.h"
#include "stats/call_cost.h"
#include "stats/connection_record.h"
#include "stats/money_text.h"

namespace corvane::testing {
namespace {

constexpr uint8_t kWeekdays = 0b0011111;
constexpr uint8_t kWeekend = 0b1100000;
constexpr uint8_t kEveryDay = 0b1111111;

// Per minute: 0.20 on weekdays from 08 to 18, 0.01 at weekends, 0.05 else;
// 0.10 a call.
Tariff PeakTariff() {
  Tariff tariff;
  tariff.UnitSeconds = 60;
  tariff.Currency = "EUR";
  tariff.Fee = 10;
  tariff.Price = 5;
  tariff.Bands[0] = {kWeekdays, 8, 18, 20};
  tariff.Bands[1] = {kWeekend, 0, 24, 1};
  return tariff;
}

Tariff With(Tariff tariff, int32_t unitSeconds, int32_t price, int32_t bandPrice, int32_t fee, int32_t minimum) {
  tariff.UnitSeconds = unitSeconds;
  tariff.Price = price;
  tariff.Bands[0].Price = bandPrice;
  tariff.Fee = fee;
  tariff.Minimum = minimum;
  return tariff;
}

// 03:00 to 04:00 every night at 0.50 a minute, 0.01 otherwise, no fee.
Tariff NightTariff() {
  Tariff tariff;
  tariff.UnitSeconds = 60;
  tariff.Price = 1;
  tariff.Bands[0] = {kEveryDay, 3, 4, 50};
  return tariff;
}

TEST(CallCostTest, EachStartedUnitAtTheBandItStartsIn) {
  struct Case {
    const char* what;
    Tariff tariff;
    LocalDateTime start;  // 2026-12-11 is a Friday
    int64_t seconds;
    int64_t expected;
  };
  const Tariff peak = PeakTariff();
  const Case cases[] = {
      {"within one band", peak, {2026, 12, 11, 10, 0, 0, 60}, 150, 10 + 3 * 20},
      {"over the band's end", peak, {2026, 12, 11, 17, 58, 30, 60}, 150, 10 + 20 + 20 + 5},
      {"over midnight into the weekend", peak, {2026, 12, 11, 23, 59, 0, 60}, 180, 10 + 5 + 1 + 1},
      {"weekend into Monday's peak", peak, {2026, 12, 14, 7, 59, 0, 60}, 61, 10 + 5 + 20},
      {"exactly on a unit's end", peak, {2026, 12, 11, 10, 0, 0, 60}, 120, 10 + 2 * 20},
      {"a second past it starts a unit", peak, {2026, 12, 11, 10, 0, 0, 60}, 121, 10 + 3 * 20},
      {"a line up for no booked second pays the fee", peak, {2026, 12, 11, 10, 0, 0, 60}, 0, 10},
      {"under the minimum", With(peak, 60, 5, 20, 10, 100), {2026, 12, 11, 10, 0, 0, 60}, 30, 100},
      {"over the minimum", With(peak, 60, 5, 20, 10, 100), {2026, 12, 11, 10, 0, 0, 60}, 300, 110},
      {"zero fee", With(peak, 60, 5, 20, 0, 0), {2026, 12, 11, 10, 0, 0, 60}, 60, 20},
      {"1-second units over the band's end", With(peak, 1, 1, 2, 0, 0), {2026, 12, 11, 17, 59, 50, 60}, 20,
       10 * 2 + 10 * 1},
      {"1-second units for hours", With(peak, 1, 1, 2, 0, 0), {2026, 12, 11, 16, 0, 0, 60}, 4 * 3600,
       2 * 3600 * 2 + 2 * 3600 * 1},
      {"hour units over the band's end", With(peak, 3600, 100, 300, 0, 0), {2026, 12, 11, 17, 30, 0, 60}, 3601,
       300 + 100},
      {"no tariff costs nothing", Tariff{}, {2026, 12, 11, 10, 0, 0, 60}, 600, 0},
  };
  FakeClock zone;  // a fixed offset of +01:00
  const LocalTimeAt localTimeAt = [&zone](int64_t utc) { return zone.LocalTimeAt(utc); };
  for (const Case& c : cases) {
    EXPECT_EQ(CallCost(c.tariff, UtcSeconds(c.start), c.seconds, localTimeAt), c.expected) << c.what;
  }
}

TEST(CallCostTest, AUnitAfterADaylightSavingChangeHasTheNewClocksBand) {
  // 2026-03-29: at 01:00 UTC the clocks go from 02:00 +01:00 to 03:00 +02:00.
  FakeClock zone;
  zone.now.UtcOffsetMinutes = 60;
  zone.offsetChangesAtUtc = UtcSeconds({2026, 3, 29, 1, 0, 0, 0});
  zone.changedOffsetMinutes = 120;
  const LocalTimeAt localTimeAt = [&zone](int64_t utc) { return zone.LocalTimeAt(utc); };
  // 01:59 +01:00 at the night price, the next minute starts at 03:00 +02:00.
  EXPECT_EQ(CallCost(NightTariff(), UtcSeconds({2026, 3, 29, 1, 59, 0, 60}), 120, localTimeAt), 1 + 50);
  // And back in autumn, 03:00 +02:00 becomes 02:00 +01:00: the hour from 02
  // comes twice, and a unit in each is in its band.
  zone.now.UtcOffsetMinutes = 120;
  zone.offsetChangesAtUtc = UtcSeconds({2026, 10, 25, 1, 0, 0, 0});
  zone.changedOffsetMinutes = 60;
  Tariff twoToThree = NightTariff();
  twoToThree.Bands[0] = {kEveryDay, 2, 3, 50};
  EXPECT_EQ(CallCost(twoToThree, UtcSeconds({2026, 10, 25, 2, 59, 0, 120}), 120, localTimeAt), 50 + 50);
}

TEST(CallCostTest, WeekdayOfTheLocalDate) {
  EXPECT_EQ(Weekday({2026, 12, 11, 0, 0, 0, 60}), 5);    // Friday
  EXPECT_EQ(Weekday({2026, 12, 13, 23, 59, 59, 60}), 7);  // Sunday
  EXPECT_EQ(Weekday({2026, 12, 14, 0, 0, 0, -600}), 1);  // Monday, whatever the offset
  EXPECT_EQ(Weekday({1969, 12, 31, 12, 0, 0, 0}), 3);    // before 1970 too
}

TEST(TariffSettingsTest, StoredFormRoundTripsAndDamageChargesNothing) {
  FakeRegistry registry;
  SettingsStore store{registry};
  const std::string key = store.SettingsRoot + "Satphone";
  const Tariff tariff = With(PeakTariff(), 10, 7, 30, 50, 120);
  SaveTariff(tariff, nullptr, store, key);
  EXPECT_EQ(store.ReadRegValue(key, "TariffBand1"), "12345,8,18,30");
  EXPECT_EQ(store.ReadRegValue(key, "TariffBand3"), "");
  EXPECT_EQ(LoadTariff(store, key), tariff);

  // A band that does not parse is no band; a unit out of range is no tariff.
  store.SaveRegValue(key, "TariffBand1", "12845,8,18,30");
  EXPECT_FALSE(LoadTariff(store, key).Bands[0].Used());
  store.SaveRegValue(key, kTariffUnitSecondsValue, "-5");
  EXPECT_FALSE(LoadTariff(store, key).Any());
  EXPECT_FALSE(LoadTariff(store, store.SettingsRoot + "Other").Any());
}

TEST(TariffSettingsTest, BandTexts) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"12345,8,18,25", true}, {"67,0,24,1", true},     {"7,23,24,0", true},      {"", false},
      {"12345,8,18", false},   {"12345,18,8,25", false}, {"12345,8,25,25", false}, {"0,8,18,25", false},
      {",8,18,25", false},     {"1,8,18,-1", false},     {"1,8,18,25,", false},   {"1, 8,18,25", false},
  };
  for (const Case& c : cases) {
    const auto band = ParseTariffBand(c.text);
    EXPECT_EQ(band.has_value(), c.valid) << c.text;
    if (band) {
      EXPECT_EQ(TariffBandText(*band), c.text);
    }
  }
}

TEST(MoneyTextTest, MinorUnitsShownAndTypedBackExactly) {
  EXPECT_EQ(MoneyText(340, 2, "EUR"), "3.40 EUR");
  EXPECT_EQ(MoneyText(5, 2, ""), "0.05");
  EXPECT_EQ(MoneyText(1234, 0, "JPY"), "1234 JPY");
  EXPECT_EQ(MoneyText(7, 3, "$"), "0.007 $");
  struct Case {
    const char* text;
    int decimals;
    std::optional<int64_t> expected;
  };
  const Case cases[] = {
      {"3.40", 2, 340}, {"3.4", 2, 340},          {"3", 2, 300},          {".5", 2, 50},
      {"0", 2, 0},      {"12", 0, 12},            {"3.405", 2, std::nullopt}, {"3.", 2, std::nullopt},
      {"", 2, std::nullopt}, {".", 2, std::nullopt}, {"-1", 2, std::nullopt}, {"1,5", 2, std::nullopt},
      {" 1", 2, std::nullopt}, {"1.5", 0, std::nullopt}, {"21474836.47", 2, 2147483647},
      {"21474836.48", 2, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseAmount(c.text, c.decimals, INT32_MAX), c.expected) << c.text;
}

}  // namespace
}  // namespace corvane::testing
