// The month history of an entry ("PreviousMonths"): records of month number,
// month name and seconds, each ended by "@", newest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct MonthRecord {
  std::string MonthName;  // between the record's first and second comma
  int64_t Seconds = 0;    // the leading number after the second comma
};

// The records of `previousMonths` in stored order (newest first). Text after
// the last "@" is a record too, so a history cut short loses nothing.
std::vector<MonthRecord> ReadMonthHistory(const std::string& previousMonths);

}  // namespace corvane
