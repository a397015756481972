// Time as the program reads it: the wall clock as seconds since midnight,
// the calendar month and year, and a monotonic counter for measuring durations that
// must survive midnight, clock changes and daylight-saving shifts.
#pragma once

#include <string>

namespace corvane {

class ClockPort {
 public:
  virtual ~ClockPort() = default;

  // Local wall-clock time, seconds since midnight (0 <= t < 86400).
  virtual double SecondsSinceMidnight() = 0;

  // Current month of the local calendar, 1..12.
  virtual int MonthNumber() = 0;

  // Current year of the local calendar, e.g. 2026.
  virtual int Year() = 0;

  // The locale's full name of `month` (1..12), e.g. "December".
  virtual std::string MonthName(int month) = 0;

  // Seconds from an arbitrary fixed origin; never goes backwards.
  virtual double MonotonicSeconds() = 0;
};

}  // namespace corvane
