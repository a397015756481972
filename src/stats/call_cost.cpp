// CallCost.
#include "stats/call_cost.h"

#include <algorithm>

#include "stats/connection_record.h"

namespace corvane {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSecondsPerHour = 3600;
// 1970-01-01 was a Thursday: day 0 is weekday 4.
constexpr int64_t kWeekdayOfDayZero = 4;

}  // namespace

int Weekday(const LocalDateTime& moment) {
  LocalDateTime wall = moment;
  wall.UtcOffsetMinutes = 0;
  const int64_t seconds = UtcSeconds(wall);
  const int64_t days = seconds / kSecondsPerDay - (seconds % kSecondsPerDay < 0 ? 1 : 0);
  return static_cast<int>(((days + kWeekdayOfDayZero - 1) % 7 + 7) % 7) + 1;
}

int64_t CallCost(const Tariff& tariff, int64_t startUtc, int64_t seconds, const LocalTimeAt& localTimeAt) {
  if (!tariff.Any()) return 0;
  const int64_t unit = tariff.UnitSeconds;
  const int64_t units = (std::max<int64_t>(0, seconds) + unit - 1) / unit;
  int64_t charged = 0;
  // Units are taken an hour of the local clock at a time: bands change on
  // whole hours, and so does the offset, so every unit that starts before
  // the next whole hour has the price of the first.
  for (int64_t next = 0; next < units;) {
    const int64_t at = startUtc + next * unit;
    const LocalDateTime local = localTimeAt(at);
    const int64_t toNextHour = kSecondsPerHour - (local.Minute * 60 + local.Second);
    const int64_t sameHour = std::min(units - next, (toNextHour + unit - 1) / unit);
    charged += sameHour * tariff.PriceAt(Weekday(local), local.Hour);
    next += sameHour;
  }
  return std::max<int64_t>(tariff.Fee + charged, tariff.Minimum);
}

}  // namespace corvane
