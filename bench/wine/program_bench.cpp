// Whole-process measurements under Wine: the real program against the floor
// program (bench_floor.exe, one small window and a 500 ms timer) in one run,
// as ratios, on the stand-in dial-up service. Pairs alternate program and
// floor; the processor figures sample both side by side over the same
// window, from the time each process's threads spent on a processor (not the
// wall clock), so a busy machine does not make either look costlier. Not a
// test: it only prints the table.
//
// Usage: program_bench [runs] [seconds of each processor window] [list lines]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialer_ids.h"
#include "forms/item_list.h"
#include "linux_task_times.h"
#include "support/program_under_test.h"
#include "system/text_lines.h"
#include "win32/win32_file_system.h"

extern "C" DWORD WINAPI StandinControlA(LPCSTR command, LPSTR reply, DWORD replySize);

namespace {

using namespace corvane;
using namespace corvane::testing;

constexpr char kFloorProgram[] = "bench_floor.exe";
constexpr char kFloorClass[] = "CorvaneBenchFloor";
constexpr DWORD kSettleMs = 2000;
constexpr DWORD kAppearMs = 20000;

// --------------------------------------------------------------------------
// Clock, statistics and the table.

double Seconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Spread {
  double min = 0, median = 0, max = 0;
  bool valid = false;
};

Spread SpreadOf(std::vector<double> values) {
  Spread spread;
  if (values.empty()) return spread;
  std::sort(values.begin(), values.end());
  spread.min = values.front();
  spread.max = values.back();
  const size_t n = values.size();
  spread.median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  spread.valid = true;
  return spread;
}

// One row: the program's and the floor's values, pair by pair.
struct Figure {
  Figure(std::string name, std::string unit, double scale = 1, int decimals = 3)
      : name(std::move(name)), unit(std::move(unit)), scale(scale), decimals(decimals) {}

  std::string name;
  std::string unit;
  double scale;  // printed value = measured value x scale
  int decimals;
  std::vector<double> program;
  std::vector<double> floor;
  double goalRatio = 0;  // 0: no ratio goal
  std::string note;
};

std::string Format(const Spread& spread, double scale, int decimals) {
  if (!spread.valid) return "n/a";
  char text[96];
  std::snprintf(text, sizeof text, "%.*f / %.*f / %.*f", decimals, spread.min * scale, decimals,
                spread.median * scale, decimals, spread.max * scale);
  return text;
}

void PrintRow(const Figure& figure) {
  std::vector<double> ratios;
  for (size_t i = 0; i < std::min(figure.program.size(), figure.floor.size()); ++i) {
    if (figure.floor[i] > 0) ratios.push_back(figure.program[i] / figure.floor[i]);
  }
  const Spread ratio = SpreadOf(ratios);
  std::string goal = figure.note;
  if (figure.goalRatio > 0) {
    char text[64];
    std::snprintf(text, sizeof text, "<= %.1fx: %s", figure.goalRatio,
                  !ratio.valid ? "unknown" : ratio.median <= figure.goalRatio ? "met" : "NOT met");
    goal = text + (figure.note.empty() ? "" : "; " + figure.note);
  }
  std::printf("| %s (%s) | %s | %s | %s | %s |\n", figure.name.c_str(), figure.unit.c_str(),
              Format(SpreadOf(figure.program), figure.scale, figure.decimals).c_str(),
              Format(SpreadOf(figure.floor), figure.scale, figure.decimals).c_str(), Format(ratio, 1, 2).c_str(),
              goal.c_str());
}

// --------------------------------------------------------------------------
// The stand-in service, the entries and the processes.

std::string TempPath(const std::string& name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string StandinList() {
  char reply[8192] = {};
  StandinControlA("list", reply, sizeof reply);
  return reply;
}

// Forgets every connection, so that no run sees the line of an earlier one.
void ResetStandin() {
  char reply[256];
  StandinControlA("reset", reply, sizeof reply);
}

// Makes the stand-in answer every dial of the programs started from now on
// as `outcome` says, quickly.
void UseScenario(const std::string& name, const std::string& outcome) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << "device modem Standard 56000 bps V90 Modem\n"
                                          << "pace 0.05\ndial-time 0.2\nhangup-time 0\ndial " << outcome << "\n";
  SetEnvironmentVariableA("CORVANE_RAS_SCENARIO", path.c_str());
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const double end = Seconds() + timeoutMs / 1000.0;
  while (!condition()) {
    if (Seconds() > end) return false;
    Sleep(pollMs);
  }
  return true;
}

HWND FloorWindow() {
  HWND window = FindWindowA(kFloorClass, nullptr);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

double PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize);
}

double FileBytes(const std::string& program) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(PathBesideThisProgram(program).c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string WritePhoneList(int lines) {
  const std::string path = TempPath("corvane_bench_phones.txt");
  std::ofstream file(path, std::ios::binary);
  file << "City,State /Province,Country,PhoneNo.,,,,,,Comment,,,,AreaCode,CountryCode,,CountryId,Use DialingRules,\r\n";
  for (int i = 1; i < lines; ++i) {
    file << "Location" << i << ",AZ,US,520 " << 3000000 + i << ",,1,,1,1,Location" << i << "AZUS\r\n";
  }
  return path;
}

// --------------------------------------------------------------------------
// The measurements. Each returns false when a process did not behave.

// Start of the program until its first dial reaches the service, against
// start of the floor until its window shows.
bool MeasureStart(const std::string& entry, Figure& figure) {
  ResetStandin();
  double start = Seconds();
  {
    ProgramUnderTest program(entry);
    if (!WaitFor([] { return !StandinList().empty(); }, kAppearMs, 1)) return false;
    figure.program.push_back(Seconds() - start);
  }
  start = Seconds();
  {
    ProgramUnderTest floor("", kFloorProgram);
    if (!WaitFor([] { return FloorWindow() != nullptr; }, kAppearMs, 1)) return false;
    figure.floor.push_back(Seconds() - start);
  }
  return true;
}

struct Sample {
  double program = 0, standin = 0, floor = 0;
};

// Everything the program does runs on its main thread; its other threads
// are the stand-in's (the dial and the line watch).
Sample TakeSample(const bench::LinuxTaskTimes& program, const bench::LinuxTaskTimes& floor) {
  Sample sample;
  const bench::LinuxTaskTimes::Seconds programTimes = program.Read();
  const bench::LinuxTaskTimes::Seconds floorTimes = floor.Read();
  sample.program = programTimes.mainThread;
  sample.standin = programTimes.otherThreads;
  sample.floor = floorTimes.mainThread + floorTimes.otherThreads;
  return sample;
}

// Processor time per second of the program in the state `reached` waits for,
// and of the floor, over the same `windowMs`; the stand-in's threads apart.
bool MeasureIdle(const std::string& entry, const std::function<bool(HWND)>& reached, DWORD windowMs, Figure& cpu,
                 std::vector<double>& standin, Figure* memory) {
  ResetStandin();
  ProgramUnderTest program(entry);
  HWND dialer = program.MainWindow(kAppearMs);
  if (dialer == nullptr || !WaitFor([&] { return reached(dialer); }, kAppearMs, 50)) return false;
  ProgramUnderTest floor("", kFloorProgram);
  if (!WaitFor([] { return FloorWindow() != nullptr; }, kAppearMs, 50)) return false;
  Sleep(kSettleMs);

  const bench::LinuxTaskTimes programTimes(PathBesideThisProgram("corvane.exe"), entry);
  const bench::LinuxTaskTimes floorTimes(PathBesideThisProgram(kFloorProgram), "");
  if (!programTimes.Found() || !floorTimes.Found()) return false;
  const Sample before = TakeSample(programTimes, floorTimes);
  Sleep(windowMs);
  const Sample after = TakeSample(programTimes, floorTimes);
  if (!program.Running() || !reached(dialer)) return false;

  const double window = windowMs / 1000.0;
  cpu.program.push_back((after.program - before.program) / window);
  standin.push_back((after.standin - before.standin) / window);
  cpu.floor.push_back((after.floor - before.floor) / window);
  if (memory != nullptr) {
    memory->program.push_back(PeakWorkingSet(program.Process()));
    memory->floor.push_back(PeakWorkingSet(floor.Process()));
  }
  return true;
}

// One drop-down of the phone list, timed from outside: the message returns
// once the program's handler has filled the box.
double DropDown(HWND combo) {
  const double start = Seconds();
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  const double spent = Seconds() - start;
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  return spent;
}

bool MeasureList(const std::string& entry, const std::string& path, int runs, int lines, Figure& figure) {
  ProgramUnderTest program(entry);
  HWND dialer = program.MainWindow(kAppearMs);
  HWND combo = dialer != nullptr ? GetDlgItem(dialer, IDC_CMBLIST) : nullptr;
  ProgramUnderTest floor(path, kFloorProgram);
  HWND floorCombo = nullptr;
  WaitFor([&] { return (floorCombo = FindWindowExA(FloorWindow(), nullptr, "COMBOBOX", nullptr)) != nullptr; },
          kAppearMs, 50);
  if (combo == nullptr || floorCombo == nullptr) return false;
  // The first opening of each is not counted: it pages the file and the code in.
  DropDown(combo);
  DropDown(floorCombo);
  for (int i = 0; i < runs; ++i) {
    figure.program.push_back(DropDown(combo));
    figure.floor.push_back(DropDown(floorCombo));
  }
  return SendMessageA(combo, CB_GETCOUNT, 0, 0) == lines && SendMessageA(floorCombo, CB_GETCOUNT, 0, 0) == lines;
}

bool CountdownRuns(HWND dialer) {
  return ControlVisible(dialer, IDC_TXTERR) && ControlText(dialer, IDC_TXTERR).find("Redialing") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
  const DWORD windowMs = static_cast<DWORD>(1000 * std::max(1, argc > 2 ? std::atoi(argv[2]) : 20));
  const int lines = std::max(2, argc > 3 ? std::atoi(argv[3]) : 10000);

  const std::string single = "Benchsingle";
  const std::string busy = "Benchbusy";
  const std::string list = "Benchlist";
  const std::string phones = WritePhoneList(lines);
  const std::vector<std::pair<std::string, std::string>> quiet{{"StartBrowser", "0"}, {"MonitorTime", "1"}};
  auto with = [&](std::vector<std::pair<std::string, std::string>> values) {
    values.insert(values.end(), quiet.begin(), quiet.end());
    return values;
  };
  SeedEntry(single, with({{"PhoneNumber", "5550100"}}));
  // A countdown long enough for the settling and the window.
  SeedEntry(busy, with({{"PhoneNumber", "5550100"}, {"Minutes", "0"},
                        {"Seconds", std::to_string(windowMs / 1000 + 60)}}));
  SeedEntry(list, with({{"UseList", "1"}, {"PhoneList", phones}, {"UserList", phones}}));

  Figure start{"start to first dial / floor: to window shown", "s"};
  start.goalRatio = 1.3;
  Figure idle{"CPU while connected, idle in the tray, program only", "CPU s/min", 60};
  idle.goalRatio = 1.5;
  std::vector<double> standinIdle;
  Figure countdown{"CPU during a busy-redial countdown, program only", "% of a core", 100};
  countdown.goalRatio = 3;
  std::vector<double> standinCountdown;
  Figure memory{"peak working set", "MB", 1.0 / (1024 * 1024), 1};
  memory.goalRatio = 1.2;
  Figure fill{"phone list into the combo box / floor: same lines, same box", "ms", 1000, 2};
  fill.goalRatio = 1.2;
  fill.note = std::to_string(lines) + " lines";

  // A measurement that misbehaves stops; the others still run.
  bool ok = true;
  const auto repeat = [&](const char* what, int times, const std::function<bool()>& measure) {
    for (int i = 0; i < times; ++i) {
      if (measure()) continue;
      std::fprintf(stderr, "%s did not behave as expected\n", what);
      ok = false;
      return;
    }
  };
  UseScenario("corvane_bench_connect.scenario", "connect 49333");
  repeat("the start-up", runs, [&] { return MeasureStart(single, start); });
  const auto connectedAndHidden = [](HWND dialer) {
    return StandinList().find("\tconnected\t") != std::string::npos && !IsWindowVisible(dialer);
  };
  repeat("the connected program", runs,
         [&] { return MeasureIdle(single, connectedAndHidden, windowMs, idle, standinIdle, &memory); });
  UseScenario("corvane_bench_busy.scenario", "busy");
  repeat("the busy-redial countdown", runs,
         [&] { return MeasureIdle(busy, CountdownRuns, windowMs, countdown, standinCountdown, nullptr); });
  ResetStandin();
  repeat("the phone list", 1, [&] { return MeasureList(list, phones, runs, lines, fill); });

  Win32FileSystem files;
  Figure read{"reading the phone list's lines", "ms", 1000, 2};
  for (int i = 0; i < runs; ++i) {
    // As the drop-down reads them: the whole file, split into one block.
    const double begin = Seconds();
    std::string text;
    files.ReadText(phones, text);
    forms::ItemList readLines;
    readLines.Reserve(0, text.size());
    ForEachTextLine(text, [&readLines](std::string_view line) { readLines.Add(line); });
    read.program.push_back(Seconds() - begin);
  }
  read.note = "for comparison: the program's own file reading";

  Figure size{"program file", "MB", 1.0 / 1e6, 2};
  size.program.push_back(FileBytes("corvane.exe"));
  size.floor.push_back(FileBytes(kFloorProgram));
  size.note = size.program.back() <= 1e6 ? "<= 1.0 MB: met" : "<= 1.0 MB: NOT met";

  Figure standinIdleRow{"  of which the stand-in's threads", "CPU s/min", 60};
  standinIdleRow.program = standinIdle;
  Figure standinCountdownRow{"  of which the stand-in's threads", "% of a core", 100};
  standinCountdownRow.program = standinCountdown;

  std::printf("%d runs each, processor windows of %lu s, program and floor in pairs\n\n", runs,
              static_cast<unsigned long>(windowMs / 1000));
  std::printf("| Figure | Corvane min / median / max | Floor min / median / max | Ratio min / median / max | Goal |\n");
  std::printf("|---|---|---|---|---|\n");
  for (const Figure* figure : {&start, &idle, &standinIdleRow, &countdown, &standinCountdownRow, &memory, &size, &fill, &read}) {
    PrintRow(*figure);
  }

  DeleteEntry(single);
  DeleteEntry(busy);
  DeleteEntry(list);
  DeleteFileA(phones.c_str());
  return ok ? 0 : 1;
}
