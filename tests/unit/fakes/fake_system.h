// Fakes of the small system ports: a settable clock, a shell that records
// what it started and whether another instance runs, an event pump that
// counts its calls, and a platform of a chosen family.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "stats/connection_record.h"
#include "system/clock_port.h"
#include "system/event_pump_port.h"
#include "system/platform_port.h"
#include "system/process_port.h"
#include "system/shell_port.h"

namespace corvane::testing {

// Records every program it is asked to start; answers `failure` (empty:
// started).
class FakeProcesses : public ProcessPort {
 public:
  struct Started {
    std::string program, arguments;
    std::vector<EnvironmentVariable> variables;
    // The value of variable `name`; empty when it was not given.
    std::string Variable(const std::string& name) const {
      for (const auto& [n, value] : variables) {
        if (n == name) return value;
      }
      return {};
    }
  };
  std::string Start(const std::string& program, const std::string& arguments,
                    const std::vector<EnvironmentVariable>& variables) override {
    started.push_back({program, arguments, variables});
    return failure;
  }

  std::vector<Started> started;
  std::string failure;
};

class FakeClock : public ClockPort {
 public:
  double SecondsSinceMidnight() override { return secondsSinceMidnight; }
  // The date of each reading in turn, then `year` and `month` for good: a
  // calendar that turns over between two readings.
  CalendarDate Today() override {
    ++todayReadings;
    if (upcomingDates.empty()) return {year, month};
    const CalendarDate date = upcomingDates.front();
    upcomingDates.erase(upcomingDates.begin());
    return date;
  }
  // `now`, its date kept in step with `year` and `month` and its time of day
  // with `secondsSinceMidnight`: two lines started apart start at different
  // moments, as the log tells its records apart by their start.
  LocalDateTime Now() override {
    LocalDateTime moment = now;
    moment.Year = year;
    moment.Month = month;
    const auto second = static_cast<int>(secondsSinceMidnight) % 86400;
    moment.Hour = second / 3600;
    moment.Minute = second / 60 % 60;
    moment.Second = second % 60;
    return moment;
  }
  // `now`'s offset, and `changedOffsetMinutes` from `offsetChangesAtUtc` on
  // (a daylight-saving change; never without one).
  LocalDateTime LocalTimeAt(int64_t utcSeconds) override {
    const int offset = utcSeconds >= offsetChangesAtUtc ? changedOffsetMinutes : now.UtcOffsetMinutes;
    return AddSeconds(LocalDateTime{1970, 1, 1, 0, 0, 0, offset}, utcSeconds + offset * 60);
  }
  std::string MonthName(int m) override {
    static const char* const kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    return m >= 1 && m <= 12 ? kNames[m - 1] : "";
  }
  double MonotonicSeconds() override { return monotonic; }

  double secondsSinceMidnight = 12 * 3600.0;
  int month = 12;
  int year = 2026;
  std::vector<CalendarDate> upcomingDates;
  int todayReadings = 0;
  double monotonic = 0;
  LocalDateTime now{2026, 12, 11, 12, 0, 0, 60};
  int64_t offsetChangesAtUtc = INT64_MAX;
  int changedOffsetMinutes = 0;
};

class FakeShell : public ShellPort {
 public:
  struct Started {
    std::string operation, file, parameters, directory;
    ShowMode show;
  };
  bool ClaimSingleInstance() override { return !anotherInstanceRuns; }
  long Execute(const std::string& operation, const std::string& file, const std::string& parameters,
               const std::string& directory, ShowMode show) override {
    started.push_back({operation, file, parameters, directory, show});
    return executeResult;
  }
  std::string TempFolder() override { return tempFolder; }
  bool CreateEmptyFile(const std::string& path) override {
    if (!canCreateFiles) return false;
    files.insert(path);
    return true;
  }
  bool RemoveFile(const std::string& path) override { return files.erase(path) > 0; }
  // Answers with `foundProgram` (the raw buffer) when the file asked about
  // exists, otherwise with code 2 (file not found) and an empty buffer.
  long FindExecutableFor(const std::string& file, const std::string& directory, std::string& program) override {
    askedFor.push_back(directory + file);
    if (files.count(directory + file) == 0) {
      program.assign(260, '\0');
      return 2;
    }
    program = foundProgram;
    return findResult;
  }

  bool anotherInstanceRuns = false;
  long executeResult = 42;
  std::vector<Started> started;

  std::string tempFolder = "C:\\Temp\\";
  bool canCreateFiles = true;
  std::set<std::string> files;      // files that exist now
  std::vector<std::string> askedFor;  // full paths FindExecutableFor was asked about
  std::string foundProgram;
  long findResult = 42;
};

// Lets time pass on the clock it is given: a wait for events takes its
// whole time-out, a pause 10 ms.
class FakeEventPump : public EventPumpPort {
 public:
  explicit FakeEventPump(FakeClock& clock) : clock_(clock) {}
  void DoEvents() override {
    ++doEventsCalls;
    if (onEvents) onEvents();
  }
  void WaitForEvents(unsigned milliseconds) override {
    ++waitCalls;
    Advance(milliseconds / 1000.0);
    if (onEvents) onEvents();
  }
  void Pause() override {
    ++pauseCalls;
    Advance(0.01);
  }

  // Runs as the window events that arrive while the program waits.
  std::function<void()> onEvents;
  int doEventsCalls = 0;
  int waitCalls = 0;
  int pauseCalls = 0;

 private:
  void Advance(double seconds) {
    clock_.monotonic += seconds;
    clock_.secondsSinceMidnight += seconds;
    if (clock_.secondsSinceMidnight >= 86400.0) clock_.secondsSinceMidnight -= 86400.0;
  }
  FakeClock& clock_;
};

class FakePlatform : public PlatformPort {
 public:
  int WinPlatformId() override { return platformId; }
  int platformId = 2;  // the NT family
};

}  // namespace corvane::testing
