// Reading the month history.
#include "stats/month_history.h"

#include <cstdint>
#include <limits>

#include "settings/settings_store.h"

namespace corvane {

std::vector<MonthRecord> ReadMonthHistory(const std::string& previousMonths) {
  std::vector<MonthRecord> records;
  size_t position = 0;
  while (position < previousMonths.size()) {
    size_t end = previousMonths.find('@', position);
    if (end == std::string::npos) end = previousMonths.size();
    const std::string record = previousMonths.substr(position, end - position);
    position = end + 1;

    MonthRecord month;
    const size_t first = record.find(',');
    const size_t second = first == std::string::npos ? std::string::npos : record.find(',', first + 1);
    if (first != std::string::npos) month.MonthName = record.substr(first + 1, second == std::string::npos
                                                                                 ? std::string::npos
                                                                                 : second - first - 1);
    if (second != std::string::npos) {
      // A figure no account can hold (the booked seconds are a 32-bit count)
      // reads as 0, as the ledger reads it; converting it would be undefined.
      const double seconds = LeadingNumber(std::string_view(record).substr(second + 1));
      if (seconds >= 0 && seconds <= std::numeric_limits<int32_t>::max()) {
        month.Seconds = static_cast<int64_t>(seconds);
      }
    }
    records.push_back(std::move(month));
  }
  return records;
}

}  // namespace corvane
