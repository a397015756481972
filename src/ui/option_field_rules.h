// The rules of the options window's numeric fields: each text box has a
// scroll bar whose range reaches one step beyond the valid values on both
// sides, and those two outside values wrap around to the other end. Pure
// functions; the window applies them to its controls.
#pragma once

#include <optional>
#include <string>

#include "settings/automation_values.h"

namespace corvane {

struct NumericFieldRule {
  int scrollMin;          // the low wrap marker, one below the lowest valid value
  int scrollMax;          // the high wrap marker, one above the highest valid value
  int acceptBelow;        // a typed number is accepted when below this ...
  int refused;            // ... and not this one
  int messageLow;         // the range the message names
  int messageHigh;
  bool offTime = false;   // 100 shows as "NC"; a refused text stays as typed
};

// txtAhrs/vsbAhrs and the on-time boxes differ only in what they accept:
// the on-time boxes take 1000 and let the scroll bar wrap it to 0.
inline constexpr NumericFieldRule kHoursRule{-1, 1000, 1000, -1, 1, 999};
inline constexpr NumericFieldRule kMinutesOfHourRule{-1, 60, 60, -1, 1, 59};
inline constexpr NumericFieldRule kRedialCountRule{0, 1000, 1000, 0, 1, 999};
inline constexpr NumericFieldRule kRedialMinutesRule{-1, 100, 100, -1, 0, 99};
inline constexpr NumericFieldRule kRedialSecondsRule{0, 60, 60, 0, 1, 59};
inline constexpr NumericFieldRule kOnTimeRule{-1, 1000, 1001, -1, 1, 999};
inline constexpr NumericFieldRule kOffTimeRule{-1, 101, 100, -1, 0, 100, true};
// The monthly allowance: hours as txtAhrs takes them (0 for none),
// megabytes likewise up to 99999, and the warning level's percent.
inline constexpr NumericFieldRule kAllowanceMegabytesRule{-1, 100000, 100000, -1, 1, 99999};
inline constexpr NumericFieldRule kWarnPercentRule{0, 100, 100, 0, 1, 99};
// The idle hang-up: minutes as txtAhrs takes hours (0 for none), and the
// threshold in bytes a minute, which must be above 0 (a line is never
// quite silent, so 0 would never find it idle).
inline constexpr NumericFieldRule kIdleMinutesRule{-1, 1000, 1000, -1, 1, 999};
inline constexpr NumericFieldRule kIdleThresholdRule{0, 100000, 100000, 0, 1, 99999};

// The scroll bar's value after its wrap rule: the low marker becomes the
// highest valid value, the high marker the lowest.
int WrappedScrollValue(const NumericFieldRule& rule, int value);

// The text a scroll bar writes into its box for `value` (already wrapped).
std::string ScrollValueText(const NumericFieldRule& rule, int value);

// What a changed text box does with its text.
struct TypedTextOutcome {
  std::optional<int> scrollValue;        // accepted: the scroll bar takes this value
  bool rangeMessage = false;             // refused: "The valid range is low - high"
  std::optional<std::string> boxText;    // what the box is then set to, when it changes
};

// Judges `text` typed into the box of `rule` while its scroll bar stands at
// `scrollValue`.
TypedTextOutcome JudgeTypedText(const NumericFieldRule& rule, const std::string& text, int scrollValue);

// The range message's text.
std::string RangeMessageText(const NumericFieldRule& rule);
inline constexpr const char* kRangeMessageTitle = "Wrong value";

}  // namespace corvane
