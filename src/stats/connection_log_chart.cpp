// The connection log's chart of online time per day.
#include "stats/connection_log_chart.h"

#include <algorithm>

#include "stats/connection_record.h"
#include "stats/duration_text.h"

namespace corvane {

forms::Chart::Data DailyChart(const std::vector<int64_t>& secondsPerDay, const CalendarDate& month,
                              const std::function<std::string(int)>& monthName) {
  forms::Chart::Data chart;
  const int days = DaysInMonth(month.Year, month.Month);
  const auto secondsOn = [&](int day) {
    return static_cast<size_t>(day) < secondsPerDay.size() ? secondsPerDay[static_cast<size_t>(day)] : 0;
  };
  int64_t busiest = 0;
  for (int day = 1; day <= days; ++day) busiest = std::max(busiest, secondsOn(day));
  if (busiest <= 0) {
    chart.Note = "No online time in " + monthName(month.Month) + " " + std::to_string(month.Year) + ".";
    return chart;
  }
  chart.TopLabel = ClockText(busiest);
  for (int day = 1; day <= days; ++day) {
    forms::Chart::Bar bar;
    bar.Fraction = static_cast<double>(secondsOn(day)) / static_cast<double>(busiest);
    if (day == 1 || day % 5 == 0) bar.Label = std::to_string(day);
    bar.Tip = std::to_string(day) + " " + monthName(month.Month) + " " + std::to_string(month.Year) + ": " +
              ClockText(secondsOn(day));
    chart.Bars.push_back(std::move(bar));
  }
  return chart;
}

}  // namespace corvane
