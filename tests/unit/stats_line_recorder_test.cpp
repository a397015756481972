// The running line's record: the service's 32-bit counters read into a
// count that survives their wrap, the reading's pace while the line is up,
// and a record the log already has never written twice.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_dialup_service.h"
#include "fakes/fake_log_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "stats/line_recorder.h"

namespace corvane::testing {
namespace {

constexpr RasHandle kLine = 7;
const std::string kEntryKey = std::string(kSettingsRoot) + "Work";

class LineRecorderTest : public ::testing::Test {
 protected:
  void Begin(uint32_t received) {
    dialUp.statistics.BytesReceived = received;
    recorder.Begin("Work", kEntryKey, "5550100", "alice", kLine, 0);
  }
  // The service reads `received` when the tick comes, `seconds` later.
  void ReadAfter(uint32_t received, double seconds = kTrafficReadingSeconds) {
    dialUp.statistics.BytesReceived = received;
    clock.monotonic += seconds;
    recorder.Watch();
  }
  std::vector<ConnectionRecord> Logged() { return log.ReadAll(); }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeClock clock;
  FakeDialUpService dialUp;
  FakeLogFiles files;
  ConnectionLog log{files, store};
  LineRecorder recorder{log, store, clock, dialUp, 30};
};

// The counter's readings from the line's start; what the record holds.
TEST_F(LineRecorderTest, CountersAreCountedAcrossTheirWrap) {
  struct Case {
    const char* name;
    std::vector<uint32_t> readings;
    bool monitoringBackOnAfterFirst;
    uint64_t recorded;
  };
  const Case cases[] = {
      {"growth", {0, 1000, 250000}, false, 250000},
      {"a wrap", {0xFFFF0000u, 0xFFFFFF00u, 0x100}, false, 0x100000000ull + 0x100},
      {"two wraps", {0, 0xF0000000u, 0x10000000u, 0xF0000000u, 0x10}, false, 0x200000010ull},
      {"a wrap after monitoring came back on", {0xFFFFF000u, 0xFFFFFF00u, 0x100}, true, 0x200},
      {"a true reset", {0, 0x40000000u, 500}, false, 0x40000000ull + 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(c.readings[0]);
    for (size_t i = 1; i < c.readings.size(); ++i) {
      ReadAfter(c.readings[i]);
      if (i == 1 && c.monitoringBackOnAfterFirst) recorder.CountTrafficFromNow();
    }
    EXPECT_EQ(recorder.LineBytes(), c.recorded);
    ASSERT_EQ(recorder.Finish(ConnectionEnd::User, Booking{60, {2026, 12}}, Tariff{}), "");
    EXPECT_EQ(Logged().back().Received, c.recorded);
  }
}

// A line that drops can no longer be asked: its bytes are never older than
// kTrafficReadingSeconds, while the copy in the registry keeps its own,
// slower pace.
TEST_F(LineRecorderTest, TrafficIsReadEveryFewSecondsAndCopiedAtTheCheckpointPace) {
  Begin(0);
  const size_t copies = registry.writtenValues.size();
  for (int second = 1; second <= 30; ++second) {
    dialUp.statistics.BytesReceived = 4000u * static_cast<uint32_t>(second);
    clock.monotonic += 1;
    recorder.Watch();
    EXPECT_GE(recorder.LineBytes() + 4000u * kTrafficReadingSeconds, 4000u * static_cast<uint32_t>(second));
  }
  EXPECT_EQ(dialUp.statisticsQueries.size(), 1u + 30 / static_cast<size_t>(kTrafficReadingSeconds));
  EXPECT_EQ(registry.writtenValues.size() - copies, 1u) << "the copy is refreshed once in 30 s";
}

// The program is killed while it writes a finished record: the next start
// writes it, with its real end, when the log does not have it yet, and never
// a second time (as a 0-second "Program stopped" row with the same bytes).
TEST_F(LineRecorderTest, FinishedRecordLeftByAKillIsWrittenOnce) {
  for (const bool logHasIt : {true, false}) {
    SCOPED_TRACE(logHasIt ? "killed before the copy went" : "killed before the write");
    files.files.clear();
    Begin(0);
    ReadAfter(8000);
    ASSERT_EQ(recorder.Finish(ConnectionEnd::User, Booking{8, {2026, 12}}, Tariff{}), "");
    const std::string finished = ConnectionRow(Logged().at(0));
    if (!logHasIt) files.files.clear();
    store.SaveRegValue(kEntryKey, kLogCheckpointValue, finished);  // as the kill left it

    LineRecorder nextStart{log, store, clock, dialUp, 30};
    EXPECT_EQ(nextStart.FinishLeft(kEntryKey, std::nullopt), "");
    const std::vector<ConnectionRecord> logged = Logged();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].EndedBy, ConnectionEnd::User);
    EXPECT_EQ(logged[0].Seconds, 8);
    EXPECT_EQ(logged[0].Received, 8000u);
    EXPECT_EQ(store.ReadRegValue(kEntryKey, kLogCheckpointValue), "");
  }
}

}  // namespace
}  // namespace corvane::testing
