// Tray pictures and tooltip texts.
#include "app/tray_display.h"

#include <cmath>

#include "stats/duration_text.h"

namespace corvane {

namespace {

constexpr uint8_t kDefaultEntryIcon = 8;
constexpr uint8_t kLastEntryIcon = 21;
constexpr int kReconnectWaitOffset = 100;

}  // namespace

int ReconnectWaitIcon(uint8_t entryIcon) {
  const bool isEntryIcon = entryIcon >= kDefaultEntryIcon && entryIcon <= kLastEntryIcon;
  return (isEntryIcon ? entryIcon : kDefaultEntryIcon) + kReconnectWaitOffset;
}

std::string DisconnectionCountdownText(double secondsLeft) {
  if (!(secondsLeft > 0)) secondsLeft = 0;
  auto hours = static_cast<int64_t>(secondsLeft / 3600);
  const double inHour = secondsLeft - static_cast<double>(hours) * 3600;
  int64_t minutesBegun = static_cast<int64_t>(inHour / 60) + 1;
  const bool inLastMinute = minutesBegun <= 1;
  // The sixtieth minute begun is the next whole hour: "2 hrs  00 min", not
  // "1 hrs  60 min".
  if (minutesBegun == 60) {
    ++hours;
    minutesBegun = 0;
  }
  const int64_t figure = inLastMinute ? static_cast<int64_t>(std::nearbyint(inHour)) : minutesBegun;
  return "Disconnection in: " + std::to_string(hours) + " hrs  " + TwoDigits(figure) +
         (inLastMinute ? " secs" : " min");
}

std::string ConnectionStatisticsText(const std::string& displayName, uint32_t bitsPerSecond,
                                     int64_t connectionSeconds, int64_t monthSeconds, const std::string& monthName,
                                     const std::string& allowanceLeft) {
  const DurationParts month = SplitDuration(monthSeconds);
  const std::string lastLine = !allowanceLeft.empty() ? allowanceLeft
                                                      : monthName + ": " + std::to_string(month.Hours) + " hrs " +
                                                            TwoDigits(month.Minutes) + " min";
  return "'" + displayName + "': " + std::to_string(bitsPerSecond) + "\r\nNow: " + ClockText(connectionSeconds) +
         "\r\n" + lastLine;
}

std::string IdleCountdownText(double secondsLeft) {
  if (!(secondsLeft > 0)) secondsLeft = 0;
  const auto whole = static_cast<int64_t>(secondsLeft);
  if (secondsLeft <= 60) return "Idle hang-up in: " + std::to_string(whole) + " secs";
  return "Idle hang-up in: " + std::to_string(static_cast<int64_t>(std::ceil(secondsLeft / 60))) + " min";
}

std::string ReconnectCountdownText(double secondsLeft) {
  if (!(secondsLeft > 0)) secondsLeft = 0;
  const auto whole = static_cast<int64_t>(secondsLeft);
  if (secondsLeft <= 60) return "Connecting in: " + std::to_string(whole) + " secs";
  return "Connecting in: " + std::to_string(whole / 60) + " min";
}

}  // namespace corvane
