// The monthly allowance's arithmetic on fakes: the levels, the month's data
// (the log's records plus the running line), one warning per level and
// month kept across a restart, and a line that runs over the month's end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_log_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "settings/allowance_settings.h"
#include "settings/settings_store.h"
#include "stats/allowance_watch.h"
#include "stats/connection_log.h"
#include "settings/tariff_settings.h"

namespace corvane::testing {
namespace {

constexpr uint64_t kMegabyte = kBytesPerMegabyte;

TEST(AllowanceLevelTest, WarningFromItsShareLimitFromTheWhole) {
  struct Case {
    uint64_t used, allowance;
    int32_t percent;
    AllowanceLevel expected;
  };
  const Case cases[] = {
      {0, 0, 80, AllowanceLevel::None},          // no allowance, however much is used
      {999, 0, 80, AllowanceLevel::None},
      {79, 100, 80, AllowanceLevel::None},
      {80, 100, 80, AllowanceLevel::Warning},    // exactly at the share
      {99, 100, 80, AllowanceLevel::Warning},
      {100, 100, 80, AllowanceLevel::Limit},     // exactly at the whole
      {150, 100, 80, AllowanceLevel::Limit},
      {99, 100, 0, AllowanceLevel::None},        // no warning level: only the limit
      {100, 100, 0, AllowanceLevel::Limit},
      {2'000'000, 3'600'000, 50, AllowanceLevel::Warning},
      // No overflow in the share's arithmetic for a large data allowance.
      {400'000 * kMegabyte, 500'000 * kMegabyte, 80, AllowanceLevel::Warning},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LevelReached(c.used, c.allowance, c.percent), c.expected)
        << c.used << " of " << c.allowance << " at " << c.percent << " %";
  }
}

TEST(AllowanceTextTest, LeftShowsTheAllowancesSetAndNeverBelowZero) {
  AllowanceSettings both{10, 2, 80, 0};
  EXPECT_EQ(AllowanceLeftText(both, {3600 + 55 * 60, kMegabyte / 2}), "Left: 8 hrs 05 min, 1.5 MB");
  EXPECT_EQ(AllowanceLeftText(both, {11 * 3600, 3 * kMegabyte}), "Left: 0 hrs 00 min, 0.0 MB");
  EXPECT_EQ(AllowanceLeftText({0, 2, 80, 0}, {999, kMegabyte / 10}), "Left: 1.9 MB");
  EXPECT_EQ(AllowanceLeftText({}, {999, 5}), "");
}

class AllowanceWatchTest : public ::testing::Test {
 protected:
  AllowanceWatchTest() { store.SettingsRoot = kSettingsRoot; }

  void SetAllowance(const std::string& name, const AllowanceSettings& allowance) {
    registry.AddKey(RegHive::CurrentUser, Key(name));
    SaveAllowance(allowance, nullptr, store, Key(name));
  }
  void Log(const std::string& entry, uint64_t sent, uint64_t received, CalendarDate month) {
    ConnectionRecord record;
    record.Entry = entry;
    record.Started = {month.Year, month.Month, 2, 10, 0, 0, 60};
    record.Ended = AddSeconds(record.Started, 60);
    record.Sent = sent;
    record.Received = received;
    record.BookedIn = month;
    ASSERT_EQ(log.Append(record), "");
  }
  std::string Key(const std::string& name) const { return std::string(kSettingsRoot) + name; }
  static std::vector<std::string> Titles(const std::vector<AllowanceWarning>& warnings) {
    std::vector<std::string> titles;
    for (const AllowanceWarning& warning : warnings) titles.push_back(warning.Title + " | " + warning.Text);
    return titles;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeClock clock;
  FakeLogFiles files;
  ConnectionLog log{files, store};
};

// The month's data: this entry's records booked into this month (the name
// compared as the log writes it), plus the running line's bytes.
TEST_F(AllowanceWatchTest, DataIsTheMonthsLoggedBytesPlusTheRunningLine) {
  SetAllowance("K\xF6ln", {0, 10, 80, 0});
  Log("K\xF6ln", 1000, 20000, {2026, 12});
  Log("K\xF6ln", 300, 4000, {2026, 12});
  Log("K\xF6ln", 7, 7, {2026, 11});  // another month
  Log("Work", 9, 9, {2026, 12});     // another entry
  AllowanceWatch watch(store, clock, log, files);
  watch.Load("K\xF6ln");
  EXPECT_EQ(watch.Used(120, 0).Bytes, 25300u);
  EXPECT_EQ(watch.Used(120, 500).Bytes, 25800u);
  EXPECT_EQ(watch.Used(120, 500).Seconds, 120);
  const int readsAfterLoad = files.reads;
  watch.Used(121, 900);
  EXPECT_EQ(files.reads, readsAfterLoad) << "the log is read at load, not at every check";

  // A custom entry is logged under its "*" name.
  SetAllowance("*Isp", {0, 10, 80, 0});
  Log("*Isp", 5, 6, {2026, 12});
  watch.Load("*Isp");
  EXPECT_EQ(watch.Used(0, 0).Bytes, 11u);
}

// Each level is shown once per month, also by a program started afresh;
// the next month starts without any.
TEST_F(AllowanceWatchTest, EachWarningOncePerMonthAlsoAfterARestart) {
  SetAllowance("Work", {10, 1, 50, 1});
  {
    AllowanceWatch watch(store, clock, log, files);
    watch.Load("Work");
    EXPECT_TRUE(watch.NewWarnings(watch.Used(0, kMegabyte / 4)).empty());
    EXPECT_EQ(Titles(watch.NewWarnings(watch.Used(0, kMegabyte / 2))),
              std::vector<std::string>{"Allowance of 'Work': 50 % used | Data this month: 0.5 MB of 1 MB."});
    EXPECT_TRUE(watch.NewWarnings(watch.Used(0, kMegabyte * 3 / 4)).empty());
    EXPECT_EQ(watch.NewWarnings(watch.Used(5 * 3600, kMegabyte * 3 / 4)).size(), 1u) << "time warns apart";
    EXPECT_FALSE(watch.UsedUp(watch.Used(0, kMegabyte - 1)));
  }
  AllowanceWatch restarted(store, clock, log, files);
  restarted.Load("Work");
  EXPECT_TRUE(restarted.NewWarnings(restarted.Used(6 * 3600, kMegabyte / 2)).empty()) << "shown before the restart";
  // Past both limits at once: one limit warning each.
  EXPECT_EQ(Titles(restarted.NewWarnings(restarted.Used(10 * 3600, kMegabyte))),
            (std::vector<std::string>{"Allowance of 'Work' used up | Online time this month: 10 hrs 00 min of 10 hrs.",
                                      "Allowance of 'Work' used up | Data this month: 1.0 MB of 1 MB."}));
  EXPECT_TRUE(restarted.UsedUp(restarted.Used(10 * 3600, kMegabyte)));
  EXPECT_TRUE(restarted.NewWarnings(restarted.Used(11 * 3600, 2 * kMegabyte)).empty());

  clock.month = 1;
  clock.year = 2027;
  AllowanceWatch nextMonth(store, clock, log, files);
  nextMonth.Load("Work");
  EXPECT_EQ(nextMonth.NewWarnings(nextMonth.Used(0, kMegabyte / 2)).size(), 1u);
}

// The money allowance: the month's cost is the sum of its logged rows (in
// the tariff's decimals) plus the running line's, warned and used up like
// the others, kept apart from their stored warnings; without a tariff
// nothing is spent and it never runs out.
TEST_F(AllowanceWatchTest, MoneyIsTheMonthsLoggedCostPlusTheRunningLine) {
  AllowanceSettings budget;
  budget.Money = 500;
  budget.WarnPercent = 50;
  budget.HangUp = 1;
  SetAllowance("Sat", budget);
  Tariff tariff;
  tariff.UnitSeconds = 10;
  tariff.Currency = "EUR";
  tariff.Price = 5;
  SaveTariff(tariff, nullptr, store, Key("Sat"));
  const auto logCost = [this](int64_t cost, int decimals, CalendarDate month) {
    ConnectionRecord record;
    record.Entry = "Sat";
    record.Started = {month.Year, month.Month, 2, 10, 0, 0, 60};
    record.Ended = record.Started;
    record.BookedIn = month;
    record.Cost = cost;
    record.CostDecimals = decimals;
    ASSERT_EQ(log.Append(record), "");
  };
  logCost(120, 2, {2026, 12});
  logCost(1005, 3, {2026, 12});  // 1.005 counts as 1.01: never less than spent
  logCost(9999, 2, {2026, 11});
  AllowanceWatch watch(store, clock, log, files);
  watch.Load("Sat");
  EXPECT_EQ(watch.Used(0, 0).Cost, 221);
  EXPECT_EQ(Titles(watch.NewWarnings(watch.Used(0, 0, 29))),
            std::vector<std::string>{"Allowance of 'Sat': 50 % used | Cost this month: 2.50 EUR of 5.00 EUR."});
  EXPECT_EQ(store.ReadRegValue(Key("Sat"), kAllowanceMoneyWarnedValue), "2026-12,1");
  EXPECT_EQ(store.ReadRegValue(Key("Sat"), kAllowanceWarnedValue), "") << "the time and data warnings' value untouched";
  EXPECT_FALSE(watch.UsedUp(watch.Used(0, 0, 278)));
  EXPECT_TRUE(watch.UsedUp(watch.Used(0, 0, 279)));
  EXPECT_EQ(AllowanceLeftText(watch.Settings(), watch.Used(0, 0, 200), watch.EntryTariff()), "Left: 0.79 EUR");
  EXPECT_EQ(Titles(watch.NewWarnings(watch.Used(0, 0, 279))),
            std::vector<std::string>{"Allowance of 'Sat' used up | Cost this month: 5.00 EUR of 5.00 EUR."});

  store.SaveRegValue(Key("Sat"), kTariffUnitSecondsValue, "0");
  watch.Load("Sat");
  EXPECT_FALSE(watch.UsedUp(watch.Used(0, 0, 100000)));
  EXPECT_EQ(AllowanceLeftText(watch.Settings(), watch.Used(0, 0, 0), watch.EntryTariff()), "");
}

// A line that came up in November and goes on into December: from then on
// November's records and warnings no longer count, and the whole line does
// (it is booked into the month it ends in).
TEST_F(AllowanceWatchTest, LineOverTheMonthsEndCountsIntoTheNewMonth) {
  SetAllowance("Work", {0, 1, 50, 1});
  clock.month = 11;
  Log("Work", 0, kMegabyte * 3 / 4, {2026, 11});
  AllowanceWatch watch(store, clock, log, files);
  watch.Load("Work");
  EXPECT_EQ(watch.NewWarnings(watch.Used(0, 0)).size(), 1u) << "November's warning";
  EXPECT_TRUE(watch.NewWarnings(watch.Used(0, kMegabyte / 8)).empty());

  clock.month = 12;
  EXPECT_EQ(watch.Used(0, kMegabyte / 8).Bytes, kMegabyte / 8) << "November's records are November's";
  EXPECT_FALSE(watch.UsedUp(watch.Used(0, kMegabyte / 8)));
  EXPECT_EQ(Titles(watch.NewWarnings(watch.Used(0, kMegabyte / 2))),
            std::vector<std::string>{"Allowance of 'Work': 50 % used | Data this month: 0.5 MB of 1 MB."})
      << "December's own warning";
}

// The window saves only what the user changed: an entry without the values
// keeps not having them.
TEST_F(AllowanceWatchTest, SavingWritesOnlyTheValuesThatDiffer) {
  registry.AddKey(RegHive::CurrentUser, Key("Work"));
  const AllowanceSettings loaded = LoadAllowance(store, Key("Work"));
  EXPECT_EQ(loaded, AllowanceSettings{});
  SaveAllowance(loaded, &loaded, store, Key("Work"));
  EXPECT_FALSE(registry.RawValue(RegHive::CurrentUser, Key("Work"), kAllowanceWarnPercentValue).has_value());
  AllowanceSettings changed = loaded;
  changed.Megabytes = 500;
  SaveAllowance(changed, &loaded, store, Key("Work"));
  EXPECT_TRUE(registry.RawValue(RegHive::CurrentUser, Key("Work"), kAllowanceMegabytesValue).has_value());
  EXPECT_FALSE(registry.RawValue(RegHive::CurrentUser, Key("Work"), kAllowanceHoursValue).has_value());
  EXPECT_EQ(LoadAllowance(store, Key("Work")), changed);
}

}  // namespace
}  // namespace corvane::testing
