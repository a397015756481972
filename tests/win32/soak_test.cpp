// The soak: dial, connect, drop and reconnect over and over against the
// stand-in at a fast pace. The program's handles, GDI and USER objects and
// working set stay flat, and the online time it books is the time the
// stand-in kept the lines up, each line counted once.
//
// CORVANE_SOAK_CYCLES sets the number of cycles (a short run by default;
// docs/reliability.md has the command for the long one).
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"

namespace corvane::testing {
namespace {

constexpr double kLineUpSeconds = 1.0;  // how long each line stays up

struct Sample {
  int cycle;
  DWORD handles, gdiObjects, userObjects;
  SIZE_T workingSet;
};

Sample Measure(HANDLE process, int cycle) {
  Sample sample{cycle, 0, 0, 0, 0};
  GetProcessHandleCount(process, &sample.handles);
  sample.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  sample.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) sample.workingSet = memory.WorkingSetSize;
  return sample;
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
  // refused, so the program stops with no line up and the stand-in's
  // connected time is exactly cycles x that time.
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
  const int middle = (cycles + 1) / 2;
  for (int cycle : {1, middle, cycles}) {
    if (!samples.empty() && samples.back().cycle == cycle) continue;
    // Sampled while that cycle's line is up.
    ASSERT_TRUE(WaitUntil([&] { return DialCount() >= static_cast<size_t>(cycle) &&
                                       ControlText(dialer, IDC_LBLMESS) == "Status:  Connected"; },
                          60000 + 3000 * static_cast<DWORD>(cycle)))
        << "cycle " << cycle << ", dials " << DialCount();
    samples.push_back(Measure(program.Process(), cycle));
  }
  ASSERT_TRUE(WaitUntil([&] { return WindowText(dialer) == "End of Redials"; }, 30000));
  const std::string booked = ReadValue(EntryKey("Soak"), "OnlineTime");
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.WaitForExit(20000));

  const double connected = cycles * kLineUpSeconds;
  const int bookedSeconds = booked == "<none>" ? -1 : std::atoi(booked.c_str());
  std::printf("soak: %d cycles, booked %d s, connected %.1f s\n", cycles, bookedSeconds, connected);
  for (const Sample& s : samples) {
    std::printf("soak: cycle %d: %lu handles, %lu GDI, %lu USER, %lu KB working set\n", s.cycle, s.handles,
                s.gdiObjects, s.userObjects, static_cast<unsigned long>(s.workingSet / 1024));
  }
  EXPECT_EQ(DialCount(), static_cast<size_t>(cycles) + 1);
  // Within a second per cycle, never a line counted twice.
  EXPECT_GE(bookedSeconds, 0);
  EXPECT_LE(std::abs(bookedSeconds - connected), static_cast<double>(cycles));
  const Sample& first = samples.front();
  const Sample& last = samples.back();
  EXPECT_LE(last.handles, first.handles + 16) << "handles grow with the cycles";
  EXPECT_LE(last.gdiObjects, first.gdiObjects + 8);
  EXPECT_LE(last.userObjects, first.userObjects + 8);
  EXPECT_LE(last.workingSet, first.workingSet + first.workingSet / 4 + 4 * 1024 * 1024);
}

}  // namespace
}  // namespace corvane::testing
