// Fuzzes the online-time account as it is read back from the store:
// "CurrentMonth", "OnlineTime", "PreviousMonths" and the values beside them
// hold any text, the clock any month, and a connection of any length is
// booked, totalled and read back as month history.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fuzz_check.h"
#include "settings/settings_store.h"
#include "stats/month_history.h"
#include "stats/online_time_ledger.h"

namespace {

using corvane::fuzz::Check;

std::string Stored(corvane::testing::FakeRegistry& registry, const std::string& key, const char* name) {
  std::string text = registry.RawValue(corvane::RegHive::CurrentUser, key, name).value_or("");
  return text.substr(0, text.find('\0'));
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  corvane::testing::FakeRegistry registry;
  const std::string key = std::string(corvane::kSettingsRoot) + "Entry";
  for (const char* name : {corvane::kCurrentMonthValue, corvane::kOnlineTimeValue, corvane::kPreviousMonthsValue,
                           corvane::kCurrentYearValue, corvane::kCheckpointValue}) {
    if (input.ConsumeBool()) registry.SetRaw(corvane::RegHive::CurrentUser, key, name, input.ConsumeRandomLengthString(48));
  }
  corvane::testing::FakeClock clock;
  clock.month = input.ConsumeIntegralInRange(1, 12);
  clock.year = input.ConsumeIntegralInRange(1990, 2100);
  corvane::SettingsStore store(registry);
  corvane::OnlineTimeLedger ledger(store, clock);

  const std::string history = Stored(registry, key, corvane::kPreviousMonthsValue);
  const size_t marks = static_cast<size_t>(std::count(history.begin(), history.end(), '@'));
  const size_t records = corvane::ReadMonthHistory(history).size();
  Check(records == marks || records == marks + 1, "one record per \"@\", and the text after the last");
  for (const corvane::MonthRecord& month : corvane::ReadMonthHistory(history)) {
    Check(month.Seconds >= 0, "a month's seconds are not negative");
  }

  ledger.BookLeftCheckpoint(key);
  Check(ledger.StoredMonthSeconds(key) >= 0, "the month's booked seconds are not negative");

  const std::string before = Stored(registry, key, corvane::kPreviousMonthsValue);
  ledger.StartCounting();
  const double seconds = input.ConsumeFloatingPointInRange(0.0, 400.0 * 86400.0);
  clock.monotonic += seconds;
  Check(ledger.CalcTotalTime(key, true) >= 0, "a month total is not negative");
  ledger.SaveOnlineTime(key);

  const std::string online = Stored(registry, key, corvane::kOnlineTimeValue);
  Check(AllDigits(online), "\"OnlineTime\" is written as plain digits");
  const std::string month = Stored(registry, key, corvane::kCurrentMonthValue);
  Check(month.rfind(std::to_string(clock.month) + ",", 0) == 0, "\"CurrentMonth\" names this month");
  const std::string after = Stored(registry, key, corvane::kPreviousMonthsValue);
  Check(after.size() >= before.size() && after.compare(after.size() - before.size(), before.size(), before) == 0,
        "a roll-over keeps the history behind the new record");
  Check(Stored(registry, key, corvane::kCheckpointValue).empty(), "a finished booking leaves no checkpoint");
  return 0;
}
