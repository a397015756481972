// Duration texts.
#include "stats/duration_text.h"

namespace corvane {

DurationParts SplitDuration(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  DurationParts parts;
  parts.Hours = seconds / 3600;
  parts.Minutes = (seconds - parts.Hours * 3600) / 60;
  parts.Seconds = seconds - parts.Hours * 3600 - parts.Minutes * 60;
  return parts;
}

std::string TwoDigits(int64_t value) {
  std::string text = std::to_string(value);
  return value >= 0 && value < 10 ? "0" + text : text;
}

std::string ClockText(int64_t seconds) {
  const DurationParts parts = SplitDuration(seconds);
  return TwoDigits(parts.Hours) + ":" + TwoDigits(parts.Minutes) + ":" + TwoDigits(parts.Seconds);
}

std::string ListText(int64_t seconds) {
  const DurationParts parts = SplitDuration(seconds);
  return std::to_string(parts.Hours) + " hrs   " + TwoDigits(parts.Minutes) + " min";
}

}  // namespace corvane
