// Time as the program reads it: the wall clock as seconds since midnight,
// the calendar month and year, and a monotonic counter for measuring durations that
// must survive midnight, clock changes and daylight-saving shifts.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// A day of the local calendar.
struct CalendarDate {
  int Year = 0;   // e.g. 2026
  int Month = 0;  // 1..12
};

// A moment of the local calendar and clock, with the local time's offset from
// UTC at that moment (daylight saving included), in minutes east of UTC.
struct LocalDateTime {
  int Year = 0;
  int Month = 0;  // 1..12
  int Day = 0;    // 1..31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int UtcOffsetMinutes = 0;
};

class ClockPort {
 public:
  virtual ~ClockPort() = default;

  // Local wall-clock time, seconds since midnight (0 <= t < 86400).
  virtual double SecondsSinceMidnight() = 0;

  // Today's year and month, read together: a caller that needs both takes
  // them from one reading, so a month or year ending between two readings
  // cannot pair December with the next year.
  virtual CalendarDate Today() = 0;

  // The local date and time to the second, with its UTC offset.
  virtual LocalDateTime Now() = 0;

  // The local date and time at `utcSeconds` (seconds since 1970-01-01 UTC),
  // with the offset the time zone's rules give then: a moment after a
  // daylight-saving change gets the new offset.
  virtual LocalDateTime LocalTimeAt(int64_t utcSeconds) = 0;

  // The locale's full name of `month` (1..12), e.g. "December".
  virtual std::string MonthName(int month) = 0;

  // Seconds from an arbitrary fixed origin; never goes backwards.
  virtual double MonotonicSeconds() = 0;
};

}  // namespace corvane
