// The running entry's monthly allowance as the line goes on: what is used
// of it (the month's online time, the log's bytes of the month plus the
// running line's), the warnings due, each shown once per entry and month
// and remembered under the entry's key, and what is left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/allowance_settings.h"
#include "settings/settings_store.h"
#include "settings/tariff_settings.h"
#include "stats/connection_log.h"
#include "stats/live_connection.h"
#include "stats/online_time_ledger.h"
#include "system/clock_port.h"

namespace corvane {

// A megabyte of the data allowance, as the user's plan counts it.
inline constexpr uint64_t kBytesPerMegabyte = 1024 * 1024;

enum class AllowanceKind { Time, Data, Money };
// Stored by number in "AllowanceWarned": never renumber.
enum class AllowanceLevel : uint8_t { None = 0, Warning = 1, Limit = 2 };

// The level `used` has reached of `allowance` with its warning at
// `warnPercent` percent; None without an allowance (0).
AllowanceLevel LevelReached(uint64_t used, uint64_t allowance, int32_t warnPercent);

struct AllowanceUse {
  int64_t Seconds = 0;  // the month's online time
  uint64_t Bytes = 0;   // the month's bytes sent and received
  int64_t Cost = 0;     // the month's cost, minor units of the entry's tariff
};

// What the log holds of one entry's month: its bytes, and its cost in the
// tariff's minor units (rows of other decimals turned into them).
struct LoggedMonth {
  uint64_t Bytes = 0;
  int64_t Cost = 0;
};

// One notification to show.
struct AllowanceWarning {
  AllowanceKind Kind = AllowanceKind::Time;
  AllowanceLevel Level = AllowanceLevel::Warning;
  std::string Title;
  std::string Text;
};

// The bytes sent and received the log holds for `entryName` (a custom
// entry's with its "*", as the log names it) booked into `month`. The log keeps entry names in UTF-8; `entryName` is in the ANSI
// code page, as the registry has it.
LoggedMonth LoggedMonthOf(ConnectionLog& log, ConnectionLogFiles& files, const std::string& entryName,
                          const CalendarDate& month, const Tariff& tariff);

// What `entryName` has used this month, as the windows show it: the month's
// online time (MonthTotal), and the log's bytes and cost of the month plus
// the running line's while it belongs to that entry and is monitored.
AllowanceUse MonthUse(OnlineTimeLedger& ledger, SettingsStore& store, const LiveConnection& line, ConnectionLog& log,
                      ConnectionLogFiles& files, ClockPort& clock, const std::string& entryName);

// "1.5 MB": megabytes to a tenth, rounded down.
std::string MegabytesText(uint64_t bytes);

// What is left of the allowances `allowance` after `use`: "Left: 12 hrs 05 min,
// 3.2 MB, 12.40 EUR" (the parts of the allowances set, money only with a
// tariff; nothing past a limit goes below 0); empty without an allowance.
std::string AllowanceLeftText(const AllowanceSettings& allowance, const AllowanceUse& use,
                              const Tariff& tariff = Tariff{});

class AllowanceWatch {
 public:
  AllowanceWatch(SettingsStore& store, ClockPort& clock, ConnectionLog& log, ConnectionLogFiles& files);

  // Reads the allowance and tariff of `entryName` and the warnings its
  // month has had and the log's bytes and cost of the month: once per line
  // (at connect, before a dial, when the entry is saved), never at the tick.
  void Load(const std::string& entryName);
  const AllowanceSettings& Settings() const { return allowance_; }
  const Tariff& EntryTariff() const { return tariff_; }

  // What is used now: `monthSeconds` the month's online time, the same
  // figure the statistics window shows; `lineBytes` and `lineCost` the
  // running line's bytes and cost so far (0 without one). In a new month
  // the log is read again.
  AllowanceUse Used(int64_t monthSeconds, uint64_t lineBytes, int64_t lineCost = 0);

  // True when any allowance is used up.
  bool UsedUp(const AllowanceUse& use) const;

  // The warnings `use` has reached that this month has not had yet; they
  // are remembered as shown from here on, also across a restart.
  std::vector<AllowanceWarning> NewWarnings(const AllowanceUse& use);

 private:
  void ReadMonth(const CalendarDate& month);
  // The money allowance in the tariff's minor units; 0 (none) without a tariff.
  uint64_t MoneyLimit() const;

  SettingsStore& store_;
  ClockPort& clock_;
  ConnectionLog& log_;
  ConnectionLogFiles& files_;
  std::string entryName_;
  AllowanceSettings allowance_;
  Tariff tariff_;
  CalendarDate month_;
  LoggedMonth logged_;
  AllowanceLevel warnedTime_ = AllowanceLevel::None;
  AllowanceLevel warnedData_ = AllowanceLevel::None;
  AllowanceLevel warnedMoney_ = AllowanceLevel::None;
};

}  // namespace corvane
