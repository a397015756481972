// ClockPort over the local wall clock and the performance counter.
#pragma once

#include "system/clock_port.h"

namespace corvane {

class Win32Clock : public ClockPort {
 public:
  double SecondsSinceMidnight() override;
  CalendarDate Today() override;
  LocalDateTime Now() override;
  LocalDateTime LocalTimeAt(int64_t utcSeconds) override;
  std::string MonthName(int month) override;
  double MonotonicSeconds() override;
};

}  // namespace corvane
