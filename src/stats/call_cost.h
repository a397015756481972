// What a call costs under a tariff. The call is cut into units from the
// moment the line came up; each unit is charged whole at the price of the
// band on the local clock when it starts, so a call over a band boundary,
// midnight, a weekend or a daylight-saving change pays each unit where it
// began. The fee is added, and a total under the minimum charge is raised
// to it. Whole minor units throughout: nothing is ever rounded.
#pragma once

#include <cstdint>
#include <functional>

#include "settings/tariff_settings.h"
#include "system/clock_port.h"

namespace corvane {

// The local date and time at `utcSeconds` (seconds since 1970-01-01 UTC),
// with the offset that holds then.
using LocalTimeAt = std::function<LocalDateTime(int64_t utcSeconds)>;

// The cost in minor units of a call that came up at `startUtc` and lasted
// `seconds`; 0 without a tariff.
int64_t CallCost(const Tariff& tariff, int64_t startUtc, int64_t seconds, const LocalTimeAt& localTimeAt);

// 1 Monday .. 7 Sunday, of the local date of `moment`.
int Weekday(const LocalDateTime& moment);

}  // namespace corvane
