// The soak: dial, connect, drop and reconnect over and over against the
// stand-in at a fast pace. The program's handles, GDI and USER objects,
// heaps and working set stay flat, and the online time it books is the time
// the stand-in kept the lines up, each line counted once.
//
// CORVANE_SOAK_CYCLES sets the number of cycles (a short run by default;
// docs/reliability.md has the command for the long one).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/process_resources.h"
#include "support/program_under_test.h"

namespace corvane::testing {
namespace {

constexpr double kLineUpSeconds = 1.0;  // how long each line stays up

struct Sample {
  int cycle;
  ProcessResources resources;
  LRESULT detailsChars;  // the details log, which keeps its latest lines only
};

// The first cycle, then every tenth of the run: a growth shows its shape,
// and the middle and the last cycle are among them.
std::vector<int> CyclesToSample(int cycles) {
  const int step = cycles >= 10 ? cycles / 10 : 1;
  std::vector<int> sampled{1, (cycles + 1) / 2, cycles};
  for (int cycle = step; cycle <= cycles; cycle += step) sampled.push_back(cycle);
  std::sort(sampled.begin(), sampled.end());
  sampled.erase(std::unique(sampled.begin(), sampled.end()), sampled.end());
  return sampled;
}

int CyclesWanted() {
  const char* text = std::getenv("CORVANE_SOAK_CYCLES");
  const int cycles = text != nullptr ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : 10;
}

class SoakTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    DeleteEntry("Soak");
  }
  void TearDown() override {
    DeleteEntry("Soak");
    StandinTest::TearDown();
  }
};

TEST_F(SoakTest, DialConnectDropReconnect) {
  const int cycles = CyclesWanted();
  // Every line stays up for the same time; the dial after the last cycle is
  // refused, so the program stops with no line up and every line is in the
  // stand-in's line log.
  std::string dials;
  char line[64];
  std::snprintf(line, sizeof line, "dial connect 49333 drop-after %.2f\n", kLineUpSeconds);
  for (int i = 0; i < cycles; ++i) dials += line;
  WriteScenario(dials + "dial reject 633\n");
  SeedEntry("Soak", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"},
                     {"AutoReconnect", "1"}});
  ProgramUnderTest program("Soak");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);

  std::vector<Sample> samples;
  for (int cycle : CyclesToSample(cycles)) {
    // Sampled while that cycle's line is up.
    ASSERT_TRUE(WaitUntil([&] { return DialCount() >= static_cast<size_t>(cycle) &&
                                       ControlText(dialer, IDC_LBLMESS) == "Status:  Connected"; },
                          60000 + 3000 * static_cast<DWORD>(cycle)))
        << "cycle " << cycle << ", dials " << DialCount();
    samples.push_back({cycle, MeasureProcess(program.Process()),
                       SendMessageA(GetDlgItem(dialer, IDC_TXTDETAILS), WM_GETTEXTLENGTH, 0, 0)});
  }
  ASSERT_TRUE(WaitUntil([&] { return WindowText(dialer) == "End of Redials"; }, 30000));
  const std::string booked = ReadValue(EntryKey("Soak"), "OnlineTime");
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.WaitForExit(20000));

  // What the stand-in had up, line by line.
  const std::vector<double> lines = LineSeconds();
  double connected = 0;
  for (double seconds : lines) connected += seconds;
  const int bookedSeconds = booked == "<none>" ? -1 : std::atoi(booked.c_str());
  std::printf("soak: %d cycles, booked %d s, connected %.1f s\n", cycles, bookedSeconds, connected);
  for (const Sample& s : samples) {
    std::printf(
        "soak: cycle %d: %lu handles, %lu GDI, %lu USER, %lu KB working set, heaps in use %llu KB (process heap) "
        "+ %llu KB (C runtime), details log %ld chars\n",
        s.cycle, s.resources.handles, s.resources.gdiObjects, s.resources.userObjects,
        static_cast<unsigned long>(s.resources.workingSet / 1024), s.resources.processHeapBytes / 1024,
        s.resources.otherHeapBytes / 1024, static_cast<long>(s.detailsChars));
    EXPECT_LE(s.detailsChars, 32767) << "cycle " << s.cycle;
  }
  EXPECT_EQ(DialCount(), static_cast<size_t>(cycles) + 1);
  // Within half a second a cycle (the tick that sees a line gone comes at
  // most that late): neither a line left unbooked nor one counted twice.
  EXPECT_EQ(lines.size(), static_cast<size_t>(cycles));
  EXPECT_LE(std::abs(bookedSeconds - connected), 0.5 * cycles);
  const ProcessResources& first = samples.front().resources;
  const ProcessResources& last = samples.back().resources;
  EXPECT_GT(first.handles, 0u) << "the handle count is unknown";
  EXPECT_GT(first.gdiObjects, 0u) << "the GDI object count is unknown";
  EXPECT_GT(first.userObjects, 0u) << "the USER object count is unknown";
  EXPECT_LE(last.handles, first.handles + 16) << "handles grow with the cycles";
  EXPECT_LE(last.gdiObjects, first.gdiObjects + 8);
  EXPECT_LE(last.userObjects, first.userObjects + 8);
  EXPECT_LE(last.workingSet, first.workingSet + first.workingSet / 4 + 4 * 1024 * 1024);
  // The heaps from the middle of the run on, when the details log has long
  // reached its bound in a long run: what a cycle leaves behind adds up here.
  EXPECT_GT(first.processHeapBytes, 0u) << "the heaps could not be read";
  const ProcessResources& middle = samples[samples.size() / 2].resources;
  EXPECT_LE(last.processHeapBytes + last.otherHeapBytes, middle.processHeapBytes + middle.otherHeapBytes + 64 * 1024);
}

}  // namespace
}  // namespace corvane::testing
