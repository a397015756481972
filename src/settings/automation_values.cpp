// The "NC" marker and the automatic hang-up time.
#include "settings/automation_values.h"

#include <cmath>
#include <limits>

#include "settings/entry_name.h"

namespace corvane {

bool IsNotConnectedText(const std::string& text) {
  return EqualsIgnoringCase(text, kNotConnectedText);
}

int32_t AutoDisconnectSeconds(int hours, int minutes) { return hours * 3600 + minutes * 60; }

HoursAndMinutes SplitAutoDisconnectTime(float seconds) {
  // A stored time far beyond what the fields hold must not overflow; the
  // boxes then show it and their range message tells the user.
  constexpr double kLimit = std::numeric_limits<int32_t>::max();
  const double whole = std::trunc(std::fmin(std::fmax(static_cast<double>(seconds), 0.0), kLimit));
  const auto hours = static_cast<int32_t>(whole / 3600.0);
  const auto minutes = static_cast<int32_t>((whole - hours * 3600.0) / 60.0);
  return {hours, minutes};
}

}  // namespace corvane
