// How the options window's automation fields become stored values: the
// "NC" marker of the reconnect pauses and the automatic hang-up time as
// seconds.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The off-time boxes' text for "do not reconnect"; stored as "100".
inline constexpr const char* kNotConnectedText = "NC";

// True for "NC" in any letter case.
bool IsNotConnectedText(const std::string& text);

// Hours and minutes of the automatic hang-up as stored: seconds, in 32-bit
// arithmetic.
int32_t AutoDisconnectSeconds(int hours, int minutes);

// The automatic hang-up time split back into whole hours and the minutes
// of the rest, as the two boxes show them.
struct HoursAndMinutes {
  int32_t hours;
  int32_t minutes;
};
HoursAndMinutes SplitAutoDisconnectTime(float seconds);

}  // namespace corvane
