// Reading the month history.
#include "stats/month_history.h"

#include <cmath>

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
      const double seconds = LeadingNumber(std::string_view(record).substr(second + 1));
      if (seconds >= 0 && std::isfinite(seconds)) month.Seconds = static_cast<int64_t>(seconds);
    }
    records.push_back(std::move(month));
  }
  return records;
}

}  // namespace corvane
