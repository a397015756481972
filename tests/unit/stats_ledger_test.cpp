// The online-time ledger on a fake clock and an in-memory registry: what a
// booking writes (month roll-over, year, rounding), that durations follow the
// monotonic clock through midnight and clock changes, the running
// connection's checkpoint and its booking after a kill, the month totals,
// and the duration and history texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "settings/settings_store.h"
#include "stats/duration_text.h"
#include "stats/month_history.h"
#include "stats/online_time_ledger.h"

namespace corvane {
namespace {

using testing::FakeClock;
using testing::FakeRegistry;

const std::string kEntryKey = std::string(kSettingsRoot) + "Work";

class LedgerTest : public ::testing::Test {
 protected:
  // Values under the entry's key; nullopt leaves the value absent.
  struct Stored {
    std::optional<std::string> currentMonth, onlineTime, previousMonths, currentYear;
  };

  void Seed(const Stored& stored) {
    registry.DeleteKey(RegHive::CurrentUser, kEntryKey);
    registry.AddKey(RegHive::CurrentUser, kEntryKey);
    const std::pair<const char*, const std::optional<std::string>*> values[] = {
        {kCurrentMonthValue, &stored.currentMonth},
        {kOnlineTimeValue, &stored.onlineTime},
        {kPreviousMonthsValue, &stored.previousMonths},
        {kCurrentYearValue, &stored.currentYear}};
    for (const auto& [name, text] : values) {
      if (text->has_value()) registry.SetString(RegHive::CurrentUser, kEntryKey, name, **text);
    }
  }

  // The value's text, or "<none>" when it is absent.
  std::string Value(const char* name) const {
    const auto raw = registry.RawValue(RegHive::CurrentUser, kEntryKey, name);
    return raw ? StripNull(*raw) : "<none>";
  }

  // Lets `seconds` pass on the monotonic clock; the wall clock moves by
  // `wallSeconds` (the same unless told otherwise), wrapping at midnight.
  void Pass(double seconds, std::optional<double> wallSeconds = std::nullopt) {
    clock.monotonic += seconds;
    clock.secondsSinceMidnight += wallSeconds.value_or(seconds);
    while (clock.secondsSinceMidnight >= 86400) clock.secondsSinceMidnight -= 86400;
    while (clock.secondsSinceMidnight < 0) clock.secondsSinceMidnight += 86400;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeClock clock;
  OnlineTimeLedger ledger{store, clock};
};

TEST_F(LedgerTest, BookingAddsToTheOpenMonthOrRollsItOverIntoTheHistory) {
  struct Case {
    const char* label;
    Stored before;
    int month, year;
    double elapsed;
    Stored after;
  };
  const std::nullopt_t none = std::nullopt;
  const std::vector<Case> cases = {
      {"first booking", {none, none, none, none}, 12, 2026, 100, {"12,December", "100", none, "2026"}},
      {"same month adds", {"12,December", "500", none, "2026"}, 12, 2026, 100, {"12,December", "600", none, "2026"}},
      {"new month", {"9,September", "5400", none, none}, 10, 2026, 100,
       {"10,October", "100", "9,September,5400@", "2026"}},
      {"new month goes in front", {"10,October", "5400", "9,September,123@", "2026"}, 11, 2026, 7,
       {"11,November", "7", "10,October,5400@9,September,123@", "2026"}},
      // Stores written before the year was kept behave as they always did.
      {"twelve months later, no year stored", {"12,December", "500", none, none}, 12, 2027, 100,
       {"12,December", "600", none, "2027"}},
      {"same month number a year later", {"12,December", "500", none, "2025"}, 12, 2026, 100,
       {"12,December", "100", "12,December,500@", "2026"}},
      {"month without a number", {"garbage", "500", none, none}, 12, 2026, 100,
       {"12,December", "100", "garbage,500@", "2026"}},
      {"halves to even: 12.5 books 12", {none, none, none, none}, 12, 2026, 12.5, {"12,December", "12", none, "2026"}},
      {"halves to even: 13.5 books 14", {none, none, none, none}, 12, 2026, 13.5, {"12,December", "14", none, "2026"}},
      {"a 30-hour connection", {"12,December", "0", none, "2026"}, 12, 2026, 30 * 3600.0,
       {"12,December", "108000", none, "2026"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Seed(c.before);
    clock.month = c.month;
    clock.year = c.year;
    OnlineTimeLedger fresh(store, clock);
    fresh.StartCounting();
    Pass(c.elapsed);
    fresh.SaveOnlineTime(kEntryKey);

    EXPECT_EQ(Value(kCurrentMonthValue), c.after.currentMonth.value_or("<none>"));
    EXPECT_EQ(Value(kOnlineTimeValue), c.after.onlineTime.value_or("<none>"));
    EXPECT_EQ(Value(kPreviousMonthsValue), c.after.previousMonths.value_or("<none>"));
    EXPECT_EQ(Value(kCurrentYearValue), c.after.currentYear.value_or("<none>"));
    EXPECT_EQ(Value(kCheckpointValue), "");
  }
}

TEST_F(LedgerTest, DurationsFollowTheMonotonicClockNotTheWallClock) {
  struct Case {
    const char* label;
    double start;    // wall clock when the line came up, seconds since midnight
    double elapsed;  // real time online
    double wall;     // how far the wall clock moved meanwhile
    const char* booked;
  };
  const std::vector<Case> cases = {
      {"23:50:00 to 00:10:00", 23 * 3600 + 50 * 60.0, 1200, 1200, "1200"},
      {"clock set back one hour", 9 * 3600.0, 600, 600 - 3600, "600"},
      {"daylight saving forward", 1 * 3600 + 50 * 60.0, 1200, 1200 + 3600, "1200"},
      {"30 hours across two midnights", 20 * 3600.0, 30 * 3600.0, 30 * 3600.0, "108000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Seed({});
    clock.secondsSinceMidnight = c.start;
    OnlineTimeLedger fresh(store, clock);
    fresh.StartCounting();
    EXPECT_FLOAT_EQ(fresh.ConnectTime(), static_cast<float>(c.start));
    Pass(c.elapsed, c.wall);
    fresh.UpdateElapsed();
    EXPECT_DOUBLE_EQ(fresh.ElapsedSeconds(), c.elapsed);
    fresh.SaveOnlineTime(kEntryKey);
    EXPECT_EQ(Value(kOnlineTimeValue), c.booked);
  }
}

TEST_F(LedgerTest, EachConnectionIsBookedOnceAndNothingWithoutOne) {
  Seed({"12,December", "500", std::nullopt, "2026"});
  ledger.SaveOnlineTime(kEntryKey);  // no connection since start
  ledger.UpdateElapsed();
  EXPECT_EQ(ledger.ElapsedSeconds(), 0);
  EXPECT_EQ(Value(kOnlineTimeValue), "500");
  EXPECT_EQ(Value(kCheckpointValue), "<none>");

  ledger.StartCounting();
  Pass(100);
  ledger.SaveOnlineTime(kEntryKey);
  Pass(100);
  ledger.SaveOnlineTime(kEntryKey);
  EXPECT_TRUE(ledger.OnlineTimeSaved());
  EXPECT_EQ(Value(kOnlineTimeValue), "600");

  ledger.StartCounting();  // the next connection
  Pass(50);
  ledger.SaveOnlineTime(kEntryKey);
  EXPECT_EQ(Value(kOnlineTimeValue), "650");
}

TEST_F(LedgerTest, CheckpointIsRefreshedOncePerIntervalWhileTheConnectionRuns) {
  Seed({"12,December", "500", std::nullopt, "2026"});
  ledger.Checkpoint(kEntryKey);  // nothing running
  EXPECT_EQ(Value(kCheckpointValue), "<none>");

  ledger.StartCounting();
  const int interval = static_cast<int>(kCheckpointIntervalSeconds);
  struct Step {
    double at;  // seconds since the line came up
    bool due;
    std::string checkpoint;
  };
  const std::vector<Step> steps = {{0.5, false, "<none>"},
                                   {interval - 0.5, false, "<none>"},
                                   {interval + 0.2, true, std::to_string(interval)},
                                   {interval * 1.5, false, std::to_string(interval)},
                                   {interval * 2.0, true, std::to_string(interval * 2)},
                                   {interval * 30.0 + 0.7, true, std::to_string(interval * 30)}};
  double now = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.at);
    Pass(step.at - now);
    now = step.at;
    EXPECT_EQ(ledger.CheckpointDue(), step.due);
    ledger.Checkpoint(kEntryKey);
    EXPECT_EQ(Value(kCheckpointValue), step.checkpoint);
    EXPECT_FALSE(ledger.CheckpointDue());
  }
  // The account itself is untouched until the booking, which clears it.
  EXPECT_EQ(Value(kOnlineTimeValue), "500");
  ledger.SaveOnlineTime(kEntryKey);
  EXPECT_EQ(Value(kOnlineTimeValue), std::to_string(500 + interval * 30 + 1));  // 0.7 s rounds up
  EXPECT_EQ(Value(kCheckpointValue), "");
  EXPECT_FALSE(ledger.CheckpointDue());
  ledger.Checkpoint(kEntryKey);
  EXPECT_EQ(Value(kCheckpointValue), "");
}

TEST_F(LedgerTest, AfterAKillTheNextStartBooksTheCheckpointOnce) {
  Seed({"12,December", "500", std::nullopt, "2026"});
  const int interval = static_cast<int>(kCheckpointIntervalSeconds);
  {
    OnlineTimeLedger killed(store, clock);
    killed.StartCounting();
    for (int tick = 0; tick < interval * 5 + 20; ++tick) {  // killed 20 s after a checkpoint
      Pass(1);
      killed.Checkpoint(kEntryKey);
    }
  }
  OnlineTimeLedger next(store, clock);
  next.BookLeftCheckpoint(kEntryKey);
  next.BookLeftCheckpoint(kEntryKey);
  EXPECT_EQ(Value(kOnlineTimeValue), std::to_string(500 + interval * 5));
  EXPECT_EQ(Value(kCheckpointValue), "");

  OnlineTimeLedger later(store, clock);
  later.BookLeftCheckpoint(kEntryKey);
  EXPECT_EQ(Value(kOnlineTimeValue), std::to_string(500 + interval * 5));
}

TEST_F(LedgerTest, ABookingCutShortIsFinishedNotRepeated) {
  struct Case {
    const char* label;
    const char* checkpoint;
    const char* onlineTime;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"killed while running", "300", "500", "800"},
      {"killed before the account was written", "300,800", "500", "800"},
      {"killed after the account was written", "300,800", "800", "800"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Seed({"12,December", c.onlineTime, std::nullopt, "2026"});
    registry.SetString(RegHive::CurrentUser, kEntryKey, kCheckpointValue, c.checkpoint);
    ledger.BookLeftCheckpoint(kEntryKey);
    EXPECT_EQ(Value(kOnlineTimeValue), c.expected);
    EXPECT_EQ(Value(kCheckpointValue), "");
  }
}

TEST_F(LedgerTest, MonthTotalsCountTheOpenMonthOnlyWhenItIsThisMonth) {
  struct Case {
    const char* label;
    Stored stored;
    bool connected;
    int64_t storedSeconds;
    int32_t total;
  };
  const std::nullopt_t none = std::nullopt;
  // The running connection has lasted 100.6 s.
  const std::vector<Case> cases = {
      {"this month, connected", {"12,December", "500", none, "2026"}, true, 500, 601},
      {"this month, offline", {"12,December", "500", none, "2026"}, false, 500, 500},
      {"another month", {"11,November", "500", none, "2026"}, true, 0, 101},
      {"this month last year", {"12,December", "500", none, "2025"}, true, 0, 101},
      {"this month, no year stored", {"12,December", "500", none, none}, true, 500, 601},
      {"nothing booked yet", {none, none, none, none}, true, 0, 101},
      {"fraction stored", {"12,December", "500.7", none, "2026"}, false, 500, 501},
  };
  ledger.StartCounting();
  Pass(100.6);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Seed(c.stored);
    EXPECT_EQ(ledger.StoredMonthSeconds(kEntryKey), c.storedSeconds);
    EXPECT_EQ(ledger.CalcTotalTime(kEntryKey, c.connected), c.total);
  }
}

TEST(DurationTextTest, SplitsAndWritesDurations) {
  struct Case {
    int64_t seconds;
    int64_t h, mi, se;
    const char* clock;
    const char* list;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0, "00:00:00", "0 hrs   00 min"},
      {3 * 3600 + 7 * 60 + 45, 3, 7, 45, "03:07:45", "3 hrs   07 min"},
      {112 * 3600 + 5, 112, 0, 5, "112:00:05", "112 hrs   00 min"},
      {3599, 0, 59, 59, "00:59:59", "0 hrs   59 min"},
      {-5, 0, 0, 0, "00:00:00", "0 hrs   00 min"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const DurationParts parts = SplitDuration(c.seconds);
    EXPECT_EQ(parts.Hours, c.h);
    EXPECT_EQ(parts.Minutes, c.mi);
    EXPECT_EQ(parts.Seconds, c.se);
    EXPECT_EQ(ClockText(c.seconds), c.clock);
    EXPECT_EQ(ListText(c.seconds), c.list);
  }
}

TEST(MonthHistoryTest, ReadsRecordsNewestFirst) {
  struct Case {
    const char* label;
    const char* text;
    std::vector<std::pair<std::string, int64_t>> records;
  };
  const std::vector<Case> cases = {
      {"empty", "", {}},
      {"two records", "10,October,5400@9,September,123@", {{"October", 5400}, {"September", 123}}},
      {"last one cut short", "10,October,5400@9,Sept", {{"October", 5400}, {"Sept", 0}}},
      {"seconds with junk after", "1,Januar,77 s@", {{"Januar", 77}}},
      {"no commas", "junk@", {{"", 0}}},
      // Found by fuzzing: a figure beyond any integer was converted as it
      // stood, which is undefined. No month holds it, as no account does.
      {"seconds beyond any account", "3,March,111111111111111111111111111111111111111111@", {{"March", 0}}},
      {"seconds just beyond a 32-bit count", "3,March,2147483648@", {{"March", 0}}},
      {"negative seconds", "3,March,-5@", {{"March", 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::pair<std::string, int64_t>> read;
    for (const MonthRecord& record : ReadMonthHistory(c.text)) read.emplace_back(record.MonthName, record.Seconds);
    EXPECT_EQ(read, c.records);
  }
}

}  // namespace
}  // namespace corvane
