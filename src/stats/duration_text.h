// Durations as the displays show them: hours, minutes and seconds of a
// whole number of seconds, and the two texts built from them.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct DurationParts {
  int64_t Hours = 0;
  int64_t Minutes = 0;  // 0..59
  int64_t Seconds = 0;  // 0..59
};

// Splits whole `seconds` (negative counts as 0) into hours, minutes, seconds.
DurationParts SplitDuration(int64_t seconds);

// `value` with at least two digits: a leading zero below 10 ("07", "112").
std::string TwoDigits(int64_t value);

// "03:07:45", hours growing past two digits as needed ("112:00:05").
std::string ClockText(int64_t seconds);

// "3 hrs   07 min": plain hours, three spaces, two-digit minutes.
std::string ListText(int64_t seconds);

}  // namespace corvane
