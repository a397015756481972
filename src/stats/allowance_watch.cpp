// AllowanceWatch and the allowance's texts.
#include "stats/allowance_watch.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "settings/entry_name.h"
#include "stats/connection_log_rows.h"
#include "stats/duration_text.h"
#include "stats/money_text.h"
#include "stats/monthly_online_time.h"

namespace corvane {

namespace {

constexpr int64_t kSecondsPerHour = 3600;
constexpr int kPercent = 100;

std::string WarnedText(const CalendarDate& month, AllowanceLevel time, AllowanceLevel data) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d,%d,%d", month.Year, month.Month, static_cast<int>(time),
                static_cast<int>(data));
  return text;
}

std::string MoneyWarnedText(const CalendarDate& month, AllowanceLevel money) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d,%d", month.Year, month.Month, static_cast<int>(money));
  return text;
}

// Reads "year-month,time,data" as WarnedText writes it (or "year-month,money"
// as MoneyWarnedText does, with N 3), blanks and a plus
// sign before a number allowed and anything after the last one ignored, as a
// scanf of "%d-%d,%d,%d" reads it; false when a number or separator is missing.
// (The runtime's scanf would bring its whole float reader into the program.)
template <int N>
bool ParseWarned(const std::string& text, int (&numbers)[N]) {
  static constexpr char kSeparators[] = {'-', ',', ','};
  const char* at = text.c_str();
  const char* const end = at + text.size();
  for (int i = 0; i < N; ++i) {
    if (i > 0) {
      if (at == end || *at != kSeparators[i - 1]) return false;
      ++at;
    }
    while (at != end && (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n')) ++at;
    if (at != end && *at == '+' && at + 1 != end && *(at + 1) != '-') ++at;
    const auto [next, error] = std::from_chars(at, end, numbers[i]);
    if (error != std::errc()) return false;
    at = next;
  }
  return true;
}

AllowanceLevel StoredLevel(int number) {
  return number >= 2 ? AllowanceLevel::Limit : number == 1 ? AllowanceLevel::Warning : AllowanceLevel::None;
}

std::string HoursMinutesText(int64_t seconds) {
  const DurationParts parts = SplitDuration(seconds);
  return std::to_string(parts.Hours) + " hrs " + TwoDigits(parts.Minutes) + " min";
}

// `amount` of `fromDecimals` in minor units of `toDecimals`; a part of a
// unit that does not fit is counted whole, so a budget is never undercounted.
int64_t InDecimals(int64_t amount, int fromDecimals, int toDecimals) {
  for (; fromDecimals < toDecimals; ++fromDecimals) amount *= 10;
  for (; fromDecimals > toDecimals; --fromDecimals) amount = (amount + 9) / 10;
  return amount;
}

std::string UsedText(AllowanceKind kind, const AllowanceSettings& allowance, const AllowanceUse& use,
                     const Tariff& tariff) {
  if (kind == AllowanceKind::Money) {
    return "Cost this month: " + MoneyText(use.Cost, tariff.Decimals, tariff.Currency) + " of " +
           MoneyText(allowance.Money, tariff.Decimals, tariff.Currency) + ".";
  }
  if (kind == AllowanceKind::Time) {
    return "Online time this month: " + HoursMinutesText(use.Seconds) + " of " + std::to_string(allowance.Hours) +
           " hrs.";
  }
  return "Data this month: " + MegabytesText(use.Bytes) + " of " + std::to_string(allowance.Megabytes) + " MB.";
}

}  // namespace

AllowanceLevel LevelReached(uint64_t used, uint64_t allowance, int32_t warnPercent) {
  if (allowance == 0) return AllowanceLevel::None;
  if (used >= allowance) return AllowanceLevel::Limit;
  // In whole numbers: used / allowance >= percent / 100, without rounding.
  const auto percent = static_cast<uint64_t>(std::clamp(warnPercent, 0, kPercent));
  if (percent > 0 && used * kPercent >= allowance * percent) return AllowanceLevel::Warning;
  return AllowanceLevel::None;
}

LoggedMonth LoggedMonthOf(ConnectionLog& log, ConnectionLogFiles& files, const std::string& entryName,
                          const CalendarDate& month, const Tariff& tariff) {
  const std::vector<ConnectionRecord> records = log.ReadAll();
  const LogTotals totals = TotalsOf(SelectRecords(records, month, files.Utf8FromAnsi(entryName)));
  return LoggedMonth{totals.Sent + totals.Received, InDecimals(totals.Cost.value_or(0), totals.CostDecimals, tariff.Decimals)};
}

AllowanceUse MonthUse(OnlineTimeLedger& ledger, SettingsStore& store, const LiveConnection& line, ConnectionLog& log,
                      ConnectionLogFiles& files, ClockPort& clock, const std::string& entryName) {
  const bool withRunning = line.IsConnected() && line.RunningEntry().MonitorTime == 1 &&
                           EqualsIgnoringCase(line.RunningEntryName(), entryName);
  const LoggedMonth logged =
      LoggedMonthOf(log, files, entryName, clock.Today(), LoadTariff(store, store.SettingsRoot + entryName));
  return AllowanceUse{MonthTotal(ledger, store, line, entryName), logged.Bytes + (withRunning ? line.LineBytes() : 0),
                      logged.Cost + (withRunning ? line.LineCost() : 0)};
}

std::string MegabytesText(uint64_t bytes) {
  const uint64_t tenths = bytes / (kBytesPerMegabyte / 10);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

std::string AllowanceLeftText(const AllowanceSettings& allowance, const AllowanceUse& use, const Tariff& tariff) {
  std::string text;
  if (allowance.Hours > 0) {
    text = HoursMinutesText(std::max<int64_t>(0, allowance.Hours * kSecondsPerHour - use.Seconds));
  }
  if (allowance.Megabytes > 0) {
    const uint64_t limit = static_cast<uint64_t>(allowance.Megabytes) * kBytesPerMegabyte;
    if (!text.empty()) text += ", ";
    text += MegabytesText(limit > use.Bytes ? limit - use.Bytes : 0);
  }
  if (allowance.Money > 0 && tariff.Any()) {
    if (!text.empty()) text += ", ";
    text += MoneyText(std::max<int64_t>(0, allowance.Money - use.Cost), tariff.Decimals, tariff.Currency);
  }
  return text.empty() ? text : "Left: " + text;
}

AllowanceWatch::AllowanceWatch(SettingsStore& store, ClockPort& clock, ConnectionLog& log, ConnectionLogFiles& files)
    : store_(store), clock_(clock), log_(log), files_(files) {}

void AllowanceWatch::Load(const std::string& entryName) {
  entryName_ = entryName;
  allowance_ = LoadAllowance(store_, store_.SettingsRoot + entryName);
  tariff_ = LoadTariff(store_, store_.SettingsRoot + entryName);
  ReadMonth(clock_.Today());
}

void AllowanceWatch::ReadMonth(const CalendarDate& month) {
  month_ = month;
  logged_ = allowance_.Megabytes > 0 || (allowance_.Money > 0 && tariff_.Any())
                ? LoggedMonthOf(log_, files_, entryName_, month, tariff_)
                : LoggedMonth{};
  warnedTime_ = warnedData_ = warnedMoney_ = AllowanceLevel::None;
  if (!allowance_.Any()) return;
  const std::string money = store_.ReadRegValue(store_.SettingsRoot + entryName_, kAllowanceMoneyWarnedValue);
  int moneyNumbers[3] = {};  // year, month, money level
  if (ParseWarned(money, moneyNumbers) && moneyNumbers[0] == month.Year && moneyNumbers[1] == month.Month) {
    warnedMoney_ = StoredLevel(moneyNumbers[2]);
  }
  const std::string stored = store_.ReadRegValue(store_.SettingsRoot + entryName_, kAllowanceWarnedValue);
  int numbers[4] = {};  // year, month, time level, data level
  if (ParseWarned(stored, numbers) && numbers[0] == month.Year && numbers[1] == month.Month) {
    warnedTime_ = StoredLevel(numbers[2]);
    warnedData_ = StoredLevel(numbers[3]);
  }
}

AllowanceUse AllowanceWatch::Used(int64_t monthSeconds, uint64_t lineBytes, int64_t lineCost) {
  const CalendarDate today = clock_.Today();
  // A line over the month's end is booked into the month it ends in: the
  // old month's records no longer count, and neither do its warnings.
  if (today.Year != month_.Year || today.Month != month_.Month) ReadMonth(today);
  return AllowanceUse{monthSeconds, logged_.Bytes + lineBytes, logged_.Cost + lineCost};
}

bool AllowanceWatch::UsedUp(const AllowanceUse& use) const {
  const auto seconds = static_cast<uint64_t>(std::max<int64_t>(0, use.Seconds));
  return LevelReached(seconds, static_cast<uint64_t>(std::max(0, allowance_.Hours)) * kSecondsPerHour, kPercent) ==
             AllowanceLevel::Limit ||
         LevelReached(use.Bytes, static_cast<uint64_t>(std::max(0, allowance_.Megabytes)) * kBytesPerMegabyte,
                      kPercent) == AllowanceLevel::Limit ||
         LevelReached(static_cast<uint64_t>(std::max<int64_t>(0, use.Cost)), MoneyLimit(), kPercent) ==
             AllowanceLevel::Limit;
}

uint64_t AllowanceWatch::MoneyLimit() const {
  return tariff_.Any() ? static_cast<uint64_t>(std::max(0, allowance_.Money)) : 0;
}

std::vector<AllowanceWarning> AllowanceWatch::NewWarnings(const AllowanceUse& use) {
  std::vector<AllowanceWarning> warnings;
  const auto check = [&](AllowanceKind kind, uint64_t used, uint64_t limit, AllowanceLevel& warned) {
    const AllowanceLevel reached = LevelReached(used, limit, allowance_.WarnPercent);
    if (reached <= warned) return;
    warned = reached;
    const std::string name = "'" + ShownEntryName(entryName_) + "'";
    warnings.push_back({kind, reached,
                        reached == AllowanceLevel::Limit ? "Allowance of " + name + " used up"
                                                         : "Allowance of " + name + ": " +
                                                               std::to_string(allowance_.WarnPercent) + " % used",
                        UsedText(kind, allowance_, use, tariff_)});
  };
  check(AllowanceKind::Time, static_cast<uint64_t>(std::max<int64_t>(0, use.Seconds)),
        static_cast<uint64_t>(std::max(0, allowance_.Hours)) * kSecondsPerHour, warnedTime_);
  check(AllowanceKind::Data, use.Bytes, static_cast<uint64_t>(std::max(0, allowance_.Megabytes)) * kBytesPerMegabyte,
        warnedData_);
  const AllowanceLevel moneyBefore = warnedMoney_;
  check(AllowanceKind::Money, static_cast<uint64_t>(std::max<int64_t>(0, use.Cost)), MoneyLimit(), warnedMoney_);
  // Remembered before anything is shown: a program killed in between
  // misses a warning rather than repeating it at every start.
  const bool moneyWarned = warnedMoney_ != moneyBefore;
  if (warnings.size() > (moneyWarned ? 1u : 0u)) {
    store_.SaveRegValue(store_.SettingsRoot + entryName_, kAllowanceWarnedValue,
                        WarnedText(month_, warnedTime_, warnedData_));
  }
  if (moneyWarned) {
    store_.SaveRegValue(store_.SettingsRoot + entryName_, kAllowanceMoneyWarnedValue,
                        MoneyWarnedText(month_, warnedMoney_));
  }
  return warnings;
}

}  // namespace corvane
