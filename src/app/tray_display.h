// What the notification-area icon shows: the picture while waiting to
// reconnect, and the tooltip texts built from the connection's figures.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The entry icon's reconnect-wait variant: "Icon" + 100 for the entry icons
// 8..21; the default icon's variant (108) for "Icon" 0 and for any number
// that names no entry icon.
int ReconnectWaitIcon(uint8_t entryIcon);

// "Disconnection in: 0 hrs  30 min" with `secondsLeft` before the automatic
// hang-up: whole hours, then the minutes begun of the hour (at least two
// digits) or, in its first minute, the seconds rounded. Time already past
// counts as 0.
std::string DisconnectionCountdownText(double secondsLeft);

// The three lines shown while connected: the entry and its speed in bits
// per second, the connection's time, and the month's total under the
// month's name. With `allowanceLeft` (what is left of a monthly allowance,
// or else the call's cost so far) that text is the last line instead: the tip holds 63 characters, too few
// for four lines.
std::string ConnectionStatisticsText(const std::string& displayName, uint32_t bitsPerSecond,
                                     int64_t connectionSeconds, int64_t monthSeconds, const std::string& monthName,
                                     const std::string& allowanceLeft = {});

// "Idle hang-up in: 3 min" while an idle line counts down to its hang-up:
// the minutes begun, or the whole seconds in the last minute
// ("Idle hang-up in: 45 secs").
std::string IdleCountdownText(double secondsLeft);

// "Connecting in: 1 min" while waiting to reconnect; the seconds in the
// last minute ("Connecting in: 45 secs").
std::string ReconnectCountdownText(double secondsLeft);

}  // namespace corvane
