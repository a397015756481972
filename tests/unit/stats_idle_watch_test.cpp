// The idle rule against sequences of traffic readings: when it warns, when
// it hangs up, and what cancels a countdown.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "stats/idle_watch.h"

namespace corvane::testing {
namespace {

// Traffic at a steady pace from `from` (seconds after the line came up),
// plus one-off bursts.
struct Pace {
  double from;
  double bytesPerMinute;
};
struct Burst {
  double at;
  uint64_t bytes;
};

struct TrafficCase {
  const char* name;
  int32_t limitMinutes;
  double lineSeconds;  // how long the line stays up
  std::vector<Pace> paces;
  std::vector<Burst> bursts;
  double readingEvery;
  double hangUpAt;  // seconds of the reading that hangs up; < 0: never
  std::vector<double> warnedAt;
};

class IdleRuleTest : public ::testing::TestWithParam<TrafficCase> {};

// The line's counters at `at`: the paces integrated, the bursts added.
uint64_t BytesAt(const TrafficCase& c, double at) {
  double bytes = 0;
  for (size_t i = 0; i < c.paces.size(); ++i) {
    const double end = i + 1 < c.paces.size() ? c.paces[i + 1].from : at;
    if (at > c.paces[i].from) bytes += (std::min(at, end) - c.paces[i].from) * c.paces[i].bytesPerMinute / 60;
  }
  for (const Burst& burst : c.bursts) {
    if (burst.at <= at) bytes += static_cast<double>(burst.bytes);
  }
  return static_cast<uint64_t>(std::floor(bytes));
}

TEST_P(IdleRuleTest, HangsUpAndWarnsWhenTheTrafficSaysSo) {
  const TrafficCase& c = GetParam();
  constexpr double kUpAt = 1000;  // monotonic seconds when the line came up
  IdleWatch watch;
  watch.Start(IdleSettings{c.limitMinutes, 2048}, kUpAt, 0);
  double hungUpAt = -1;
  std::vector<double> warnedAt;
  for (double at = c.readingEvery; at <= c.lineSeconds + 1e-9 && hungUpAt < 0; at += c.readingEvery) {
    const IdleVerdict verdict = watch.Observe(kUpAt + at, BytesAt(c, at));
    if (verdict.Warn) warnedAt.push_back(at);
    if (verdict.HangUp) hungUpAt = at;
  }
  EXPECT_EQ(hungUpAt, c.hangUpAt);
  EXPECT_EQ(warnedAt, c.warnedAt);
}

INSTANTIATE_TEST_SUITE_P(
    Traffic, IdleRuleTest,
    ::testing::Values(
        TrafficCase{"SteadyUse", 5, 1200, {{0, 20'000}}, {}, 30, -1, {}},
        TrafficCase{"Idle", 5, 1200, {{0, 0}}, {}, 30, 300, {240}},
        TrafficCase{"IdleAtFiveSecondReadings", 5, 1200, {{0, 0}}, {}, 5, 300, {240}},
        // Used for two minutes, then left: counted from when the use stopped.
        TrafficCase{"UsedThenLeft", 5, 1200, {{0, 20'000}, {120, 0}}, {}, 30, 420, {360}},
        // A burst after the warning cancels the countdown: a new one starts
        // there and warns again.
        TrafficCase{"IdleThenABurst", 5, 1200, {{0, 0}}, {{270, 50'000}}, 30, 570, {240, 510}},
        // Less than a minute's threshold between readings is no use; the
        // window's total still stays under five times the threshold.
        TrafficCase{"SmallBlipsStayIdle", 5, 1200, {{0, 0}}, {{100, 1500}, {200, 1500}}, 30, 300, {240}},
        TrafficCase{"BackgroundJustUnder", 5, 1200, {{0, 2000}}, {}, 30, 300, {240}},
        TrafficCase{"BackgroundJustOver", 5, 1200, {{0, 2100}}, {}, 30, -1, {}},
        TrafficCase{"LineShorterThanTheLimit", 5, 290, {{0, 0}}, {}, 30, -1, {240}},
        // A one-minute limit has no minute to warn in: the hang-up's own
        // balloon tells. The minute from 15 s holds only the last 5 s of
        // use (1,666 bytes), under the threshold: idle at 75 s.
        TrafficCase{"OneMinuteLimit", 1, 600, {{0, 20'000}, {20, 0}}, {}, 5, 75, {}}),
    [](const ::testing::TestParamInfo<TrafficCase>& info) { return std::string(info.param.name); });

// Counters that start afresh (monitoring switched back on) begin a new
// count rather than reading as traffic; the countdown runs on the monotonic
// clock from the last reading.
TEST(IdleWatchTest, CountersStartedAfreshAndTheCountdown) {
  IdleWatch watch;
  watch.Start(IdleSettings{2, 2048}, 0, 90'000);
  EXPECT_LT(watch.SecondsLeft(10), 0) << "no countdown before a reading finds the line quiet";
  EXPECT_FALSE(watch.Observe(30, 90'100).HangUp);
  EXPECT_DOUBLE_EQ(watch.SecondsLeft(40), 80);
  EXPECT_FALSE(watch.Observe(60, 0).HangUp) << "counters started afresh";
  EXPECT_LT(watch.SecondsLeft(60), 0);
  EXPECT_FALSE(watch.Observe(150, 100).HangUp);
  EXPECT_TRUE(watch.Observe(180, 100).HangUp);

  IdleWatch off;
  off.Start(IdleSettings{0, 2048}, 0, 0);
  EXPECT_FALSE(off.Running());
  EXPECT_FALSE(off.Observe(3600, 0).HangUp);
}

}  // namespace
}  // namespace corvane::testing
