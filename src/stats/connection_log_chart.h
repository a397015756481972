// The connection log window's chart: online time per day of one month, as
// bars scaled so that the busiest day reaches the top.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "system/clock_port.h"

namespace corvane {

// The chart of `secondsPerDay` (1..31, index 0 unused, as SecondsPerDay
// gives it) for `month`: one bar per day of the month, labelled on the 1st
// and every fifth day, its tip the day's date and time; the top of the scale
// is the busiest day's time. A month without online time has no bars, only
// a note. `monthName` names a month (1..12).
forms::Chart::Data DailyChart(const std::vector<int64_t>& secondsPerDay, const CalendarDate& month,
                              const std::function<std::string(int)>& monthName);

}  // namespace corvane
