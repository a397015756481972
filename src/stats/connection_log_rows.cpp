// The connection log window's selections, totals, order and cell texts.
#include "stats/connection_log_rows.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "stats/duration_text.h"
#include "stats/money_text.h"

namespace corvane {

namespace {

bool SameMonth(const CalendarDate& a, const CalendarDate& b) { return a.Year == b.Year && a.Month == b.Month; }

std::string ShownTime(const LocalDateTime& moment) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", moment.Year, moment.Month, moment.Day,
                moment.Hour, moment.Minute, moment.Second);
  return text;
}

// A cost in ten-thousandths (the most decimals a row has), to sort rows of
// any decimals exactly; rows without one first.
int64_t CostOrder(const ConnectionRecord& record) {
  if (!record.Cost) return -1;
  int64_t cost = *record.Cost;
  for (int decimals = record.CostDecimals; decimals < 4; ++decimals) cost *= 10;
  return cost;
}

}  // namespace

std::vector<CalendarDate> LoggedMonths(const std::vector<ConnectionRecord>& records) {
  std::set<int> keys;
  for (const ConnectionRecord& record : records) keys.insert(record.BookedIn.Year * 12 + record.BookedIn.Month - 1);
  std::vector<CalendarDate> months;
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) months.push_back({*key / 12, *key % 12 + 1});
  return months;
}

std::vector<std::string> LoggedEntries(const std::vector<ConnectionRecord>& records) {
  std::set<std::string> names;
  for (const ConnectionRecord& record : records) names.insert(record.Entry);
  return {names.begin(), names.end()};
}

std::vector<const ConnectionRecord*> SelectRecords(const std::vector<ConnectionRecord>& records,
                                                   const std::optional<CalendarDate>& month, const std::string& entry) {
  std::vector<const ConnectionRecord*> selected;
  for (const ConnectionRecord& record : records) {
    if (month && !SameMonth(record.BookedIn, *month)) continue;
    if (!entry.empty() && record.Entry != entry) continue;
    selected.push_back(&record);
  }
  return selected;
}

LogTotals TotalsOf(const std::vector<const ConnectionRecord*>& records) {
  LogTotals totals;
  for (const ConnectionRecord* record : records) {
    ++totals.Connections;
    totals.Seconds += record->Seconds;
    totals.Sent += record->Sent;
    totals.Received += record->Received;
    if (record->Cost) totals.CostDecimals = std::max(totals.CostDecimals, record->CostDecimals);
  }
  for (const ConnectionRecord* record : records) {
    if (!record->Cost) continue;
    int64_t cost = *record->Cost;
    for (int decimals = record->CostDecimals; decimals < totals.CostDecimals; ++decimals) cost *= 10;
    totals.Cost = totals.Cost.value_or(0) + cost;
  }
  return totals;
}

void SortRecords(std::vector<const ConnectionRecord*>& records, LogColumn column, bool descending) {
  const auto less = [column](const ConnectionRecord* a, const ConnectionRecord* b) {
    switch (column) {
      case LogColumn::Started: return UtcSeconds(a->Started) < UtcSeconds(b->Started);
      case LogColumn::Ended: return UtcSeconds(a->Ended) < UtcSeconds(b->Ended);
      case LogColumn::Duration: return a->Seconds < b->Seconds;
      case LogColumn::Entry: return a->Entry < b->Entry;
      case LogColumn::Number: return a->Number < b->Number;
      case LogColumn::Login: return a->Login < b->Login;
      case LogColumn::Speed: return a->Speed < b->Speed;
      case LogColumn::Sent: return a->Sent < b->Sent;
      case LogColumn::Received: return a->Received < b->Received;
      case LogColumn::EndedBy:
        return std::string_view(ConnectionEndName(a->EndedBy)) < std::string_view(ConnectionEndName(b->EndedBy));
      case LogColumn::Cost: return CostOrder(*a) < CostOrder(*b);
      case LogColumn::Count: break;
    }
    return false;
  };
  if (descending) {
    std::stable_sort(records.begin(), records.end(), [&less](auto* a, auto* b) { return less(b, a); });
  } else {
    std::stable_sort(records.begin(), records.end(), less);
  }
}

std::vector<std::string> RowCells(const ConnectionRecord& record,
                                  const std::function<std::string(const std::string&)>& forDisplay) {
  return {ShownTime(record.Started),
          ShownTime(record.Ended),
          ClockText(record.Seconds),
          forDisplay(record.Entry),
          forDisplay(record.Number),
          forDisplay(record.Login),
          std::to_string(record.Speed),
          std::to_string(record.Sent),
          std::to_string(record.Received),
          ConnectionEndName(record.EndedBy),
          record.Cost ? AmountText(*record.Cost, record.CostDecimals) : std::string()};
}

std::string MonthCaption(const CalendarDate& month, const std::function<std::string(int)>& monthName) {
  return monthName(month.Month) + " " + std::to_string(month.Year);
}

std::vector<int64_t> SecondsPerDay(const std::vector<const ConnectionRecord*>& records, const CalendarDate& month) {
  std::vector<int64_t> days(32, 0);
  for (const ConnectionRecord* record : records) {
    LocalDateTime at = record->Started;
    int64_t left = record->Seconds;
    // A line that started before the month goes straight to the month's
    // first midnight: a damaged row of year 1 costs no walk over the ages.
    if (at.Year * 12 + at.Month < month.Year * 12 + month.Month) {
      LocalDateTime monthStart{month.Year, month.Month, 1, 0, 0, 0, at.UtcOffsetMinutes};
      const int64_t before = UtcSeconds(monthStart) - UtcSeconds(at);
      if (before >= left) continue;
      left -= before;
      at = monthStart;
    }
    while (left > 0 && at.Year * 12 + at.Month <= month.Year * 12 + month.Month) {
      const int64_t toMidnight = 86400 - (at.Hour * 3600 + at.Minute * 60 + at.Second);
      const int64_t part = std::min(left, toMidnight);
      if (at.Year == month.Year && at.Month == month.Month) days[static_cast<size_t>(at.Day)] += part;
      left -= part;
      at = AddSeconds(at, part);
    }
  }
  return days;
}

}  // namespace corvane
