// What the connection log window shows of the records: the months and
// entries to choose from, the records a choice selects, their totals, their
// order by a column, and the texts of their cells.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stats/connection_record.h"

namespace corvane {

// The window's columns, left to right.
enum class LogColumn { Started, Ended, Duration, Entry, Number, Login, Speed, Sent, Received, EndedBy, Cost, Count };

// The months records were booked into, newest first.
std::vector<CalendarDate> LoggedMonths(const std::vector<ConnectionRecord>& records);
// The entries of the records, in alphabetical order.
std::vector<std::string> LoggedEntries(const std::vector<ConnectionRecord>& records);

// The records booked into `month` (every month when none) of `entry`
// (every entry when empty), in file order.
std::vector<const ConnectionRecord*> SelectRecords(const std::vector<ConnectionRecord>& records,
                                                   const std::optional<CalendarDate>& month, const std::string& entry);

struct LogTotals {
  int64_t Connections = 0;
  int64_t Seconds = 0;
  uint64_t Sent = 0;
  uint64_t Received = 0;
  // The rows' costs summed in minor units of the most decimals among them
  // (rows of fewer decimals scaled up exactly); none when no row has one.
  std::optional<int64_t> Cost;
  int CostDecimals = 0;
};
LogTotals TotalsOf(const std::vector<const ConnectionRecord*>& records);

// Orders `records` by `column`: times as the moments they were, numbers as
// numbers, texts as texts; equal ones keep their order.
void SortRecords(std::vector<const ConnectionRecord*>& records, LogColumn column, bool descending);

// The cells of one record's row, texts passed through `forDisplay` (the
// file holds UTF-8; the window shows the ANSI code page).
std::vector<std::string> RowCells(const ConnectionRecord& record,
                                  const std::function<std::string(const std::string&)>& forDisplay);

// "December 2026" style month caption, with `monthName` giving the name.
std::string MonthCaption(const CalendarDate& month, const std::function<std::string(int)>& monthName);

// Online seconds on each day (1..31; index 0 unused) of `month` of the
// records, each line split at midnight by its own start and length.
std::vector<int64_t> SecondsPerDay(const std::vector<const ConnectionRecord*>& records, const CalendarDate& month);

}  // namespace corvane
