// Whole-process measurements under Wine: the real program against two floor
// programs in one run, as ratios, on the stand-in dial-up service. The empty
// floor (bench_floor.exe) is one small window and a 500 ms timer; the
// controls floor (bench_controls_floor.exe) has the dialer's kinds of
// controls, its manifest, a tray icon and the same timer, and for the
// countdown rewrites a status text once a second; a second instance of it
// also looks at the line once a tick. Runs alternate program and floors; the
// processor figures sample them all side by side over the same window, from
// the time each process's threads spent on a processor (not the wall clock),
// so a busy machine does not make one look costlier than the others. The
// stand-in counts the service calls. The connection log window, opened on a
// log of 100,000 made-up records, is set against the controls floor's list
// window filled with the same cells; openings and fills are timed on the
// wall clock, as the user waits for them. Not a test: it only prints the
// table.
//
// Usage: program_bench [runs] [seconds of each processor window] [list lines] [log records]
//        program_bench log [runs] [log records]   (the log window's rows alone)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialer_ids.h"
#include "connection_log_records.h"
#include "controls_floor_ids.h"
#include "forms/item_list.h"
#include "linux_task_times.h"
#include "stats/connection_log.h"
#include "stats/connection_log_ids.h"
#include "stats/connection_log_rows.h"
#include "support/program_under_test.h"
#include "system/text_lines.h"
#include "win32/win32_connection_log_files.h"
#include "win32/win32_file_system.h"

extern "C" DWORD WINAPI StandinControlA(LPCSTR command, LPSTR reply, DWORD replySize);

namespace {

using namespace corvane;
using namespace corvane::testing;

// A floor program, and how to find its window once it shows.
struct FloorProgram {
  const char* file;
  const char* windowClass;
  const char* windowTitle;
};
constexpr FloorProgram kEmptyFloor{"bench_floor.exe", "CorvaneBenchFloor", nullptr};
constexpr FloorProgram kControlsFloor{"bench_controls_floor.exe", "#32770", "Controls floor"};
constexpr FloorProgram kLookingFloor{"bench_controls_floor.exe", "#32770", "Controls floor, looking at the line"};
constexpr FloorProgram kListFloor{"bench_controls_floor.exe", "#32770", "Controls floor, with a list"};
// The controls floor's arguments: hidden with its tray icon, as the
// connected program; rewriting its status text, as the countdown. A second
// instance also asks the service for its connections once a tick, as the
// supervisor's rules need: "look" goes first, so that its command line does
// not begin as the plain one's does.
constexpr char kInTray[] = "tray";
constexpr char kRewriteStatus[] = "countdown";
constexpr char kWithList[] = "list ";  // and the file of cells
std::string LookingToo(const std::string& arguments) { return "look " + arguments; }
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

// Which ratio a figure's goal is set against.
enum class GoalFloor { Empty, Controls };

// One row: the program's and each floor's values, run by run.
struct Figure {
  Figure(std::string name, std::string unit, double scale = 1, int decimals = 3)
      : name(std::move(name)), unit(std::move(unit)), scale(scale), decimals(decimals) {}

  std::string name;
  std::string unit;
  double scale;  // printed value = measured value x scale
  int decimals;
  std::vector<double> program;
  std::vector<double> floor;     // the empty floor
  std::vector<double> controls;  // the controls floor
  double goalRatio = 0;          // 0: no ratio goal
  GoalFloor goalFloor = GoalFloor::Controls;
  std::string note;
};

std::string Format(const Spread& spread, double scale, int decimals) {
  if (!spread.valid) return "n/a";
  char text[96];
  std::snprintf(text, sizeof text, "%.*f / %.*f / %.*f", decimals, spread.min * scale, decimals,
                spread.median * scale, decimals, spread.max * scale);
  return text;
}

// The program's value over the floor's, run by run.
Spread RatioOf(const std::vector<double>& program, const std::vector<double>& floor) {
  std::vector<double> ratios;
  for (size_t i = 0; i < std::min(program.size(), floor.size()); ++i) {
    if (floor[i] > 0) ratios.push_back(program[i] / floor[i]);
  }
  return SpreadOf(ratios);
}

void PrintRow(const Figure& figure) {
  const Spread toEmpty = RatioOf(figure.program, figure.floor);
  const Spread toControls = RatioOf(figure.program, figure.controls);
  std::string goal = figure.note;
  if (figure.goalRatio > 0) {
    const Spread& ratio = figure.goalFloor == GoalFloor::Controls ? toControls : toEmpty;
    char text[80];
    std::snprintf(text, sizeof text, "<= %.1fx %s: %s", figure.goalRatio,
                  figure.goalFloor == GoalFloor::Controls ? "controls" : "empty",
                  !ratio.valid ? "unknown" : ratio.median <= figure.goalRatio ? "met" : "NOT met");
    goal = text + (figure.note.empty() ? "" : "; " + figure.note);
  }
  std::printf("| %s (%s) | %s | %s | %s | %s | %s | %s |\n", figure.name.c_str(), figure.unit.c_str(),
              Format(SpreadOf(figure.program), figure.scale, figure.decimals).c_str(),
              Format(SpreadOf(figure.floor), figure.scale, figure.decimals).c_str(),
              Format(SpreadOf(figure.controls), figure.scale, figure.decimals).c_str(),
              Format(toEmpty, 1, 2).c_str(), Format(toControls, 1, 2).c_str(), goal.c_str());
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

// Every call of the service's entry points since the last reset, by anyone.
double StandinCalls() {
  char reply[1024] = {};
  StandinControlA("calls", reply, sizeof reply);
  const char* total = std::strstr(reply, "total ");
  return total != nullptr ? std::atof(total + 6) : 0;
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

HWND FloorWindow(const FloorProgram& floor, bool visible = true) {
  HWND window = FindWindowA(floor.windowClass, floor.windowTitle);
  return window != nullptr && IsWindowVisible(window) == (visible ? TRUE : FALSE) ? window : nullptr;
}

// Starts a floor and waits until its window shows (or, `visible` false,
// has shown and gone to the tray); false when it did not.
bool StartFloor(ProgramUnderTest& floor, const FloorProgram& which, bool visible = true) {
  return floor.Started() && WaitFor([&] { return FloorWindow(which, visible) != nullptr; }, kAppearMs, 1);
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
// start of each floor until its window shows.
bool MeasureStart(const std::string& entry, Figure& figure) {
  ResetStandin();
  double start = Seconds();
  {
    ProgramUnderTest program(entry);
    if (!WaitFor([] { return !StandinList().empty(); }, kAppearMs, 1)) return false;
    figure.program.push_back(Seconds() - start);
  }
  for (const auto& [which, values] : {std::pair{&kEmptyFloor, &figure.floor}, {&kControlsFloor, &figure.controls}}) {
    start = Seconds();
    ProgramUnderTest floor("", which->file);
    if (!StartFloor(floor, *which)) return false;
    values->push_back(Seconds() - start);
  }
  return true;
}

struct Sample {
  double program = 0, standin = 0, floor = 0, controls = 0, looking = 0, calls = 0;
};

// How often the looking floor has called the service.
double FloorLooks() {
  DWORD_PTR looks = 0;
  SendMessageTimeoutA(FindWindowA(kLookingFloor.windowClass, kLookingFloor.windowTitle), WM_FLOOR_LOOKS, 0, 0,
                      SMTO_ABORTIFHUNG, kAppearMs, &looks);
  return static_cast<double>(looks);
}

double AllThreads(const bench::LinuxTaskTimes& process) {
  const bench::LinuxTaskTimes::Seconds times = process.Read();
  return times.mainThread + times.otherThreads;
}

// Everything the program does runs on its main thread; its other threads
// are the stand-in's (the dial and the line watch). The looking floor's
// service calls are taken from the program's.
Sample TakeSample(const bench::LinuxTaskTimes& program, const bench::LinuxTaskTimes& floor,
                  const bench::LinuxTaskTimes& controls, const bench::LinuxTaskTimes& looking) {
  Sample sample;
  const bench::LinuxTaskTimes::Seconds programTimes = program.Read();
  sample.program = programTimes.mainThread;
  sample.standin = programTimes.otherThreads;
  sample.floor = AllThreads(floor);
  sample.controls = AllThreads(controls);
  sample.looking = AllThreads(looking);
  // Read again until no look fell between the two counts.
  for (double looks = FloorLooks();; looks = FloorLooks()) {
    sample.calls = StandinCalls() - looks;
    if (FloorLooks() == looks) break;
  }
  return sample;
}

// What one processor window yields besides the processor time.
struct IdleExtras {
  std::vector<double> standin;         // the stand-in's threads, per second
  std::vector<double> callsPerMinute;  // the service's entry points, by the program
  Figure* memory = nullptr;
  // The program against the controls floor that also looks at the line:
  // processor time and (when given) peak working set.
  Figure* looking = nullptr;
  Figure* lookingMemory = nullptr;
};

// Processor time per second of the program in the state `reached` waits for,
// and of both floors, over the same `windowMs`; the stand-in's threads
// apart. The controls floor gets `controlsArguments`.
bool MeasureIdle(const std::string& entry, const std::function<bool(HWND)>& reached, const std::string& controlsArguments,
                 DWORD windowMs, Figure& cpu, IdleExtras& extras) {
  ResetStandin();
  ProgramUnderTest program(entry);
  HWND dialer = program.MainWindow(kAppearMs);
  if (dialer == nullptr || !WaitFor([&] { return reached(dialer); }, kAppearMs, 50)) return false;
  ProgramUnderTest floor("", kEmptyFloor.file);
  ProgramUnderTest controls(controlsArguments, kControlsFloor.file);
  const std::string lookingArguments = LookingToo(controlsArguments);
  ProgramUnderTest lookingFloor(lookingArguments, kLookingFloor.file);
  const bool visible = controlsArguments != kInTray;
  if (!StartFloor(floor, kEmptyFloor) || !StartFloor(controls, kControlsFloor, visible) ||
      !StartFloor(lookingFloor, kLookingFloor, visible)) {
    return false;
  }
  Sleep(kSettleMs);

  const bench::LinuxTaskTimes programTimes(PathBesideThisProgram("corvane.exe"), entry);
  const bench::LinuxTaskTimes floorTimes(PathBesideThisProgram(kEmptyFloor.file), "");
  const bench::LinuxTaskTimes controlsTimes(PathBesideThisProgram(kControlsFloor.file), controlsArguments);
  const bench::LinuxTaskTimes lookingTimes(PathBesideThisProgram(kLookingFloor.file), lookingArguments);
  if (!programTimes.Found() || !floorTimes.Found() || !controlsTimes.Found() || !lookingTimes.Found()) return false;
  const Sample before = TakeSample(programTimes, floorTimes, controlsTimes, lookingTimes);
  Sleep(windowMs);
  const Sample after = TakeSample(programTimes, floorTimes, controlsTimes, lookingTimes);
  if (!program.Running() || !reached(dialer)) return false;

  const double window = windowMs / 1000.0;
  cpu.program.push_back((after.program - before.program) / window);
  cpu.floor.push_back((after.floor - before.floor) / window);
  cpu.controls.push_back((after.controls - before.controls) / window);
  extras.standin.push_back((after.standin - before.standin) / window);
  extras.callsPerMinute.push_back((after.calls - before.calls) * 60 / window);
  if (extras.memory != nullptr) {
    extras.memory->program.push_back(PeakWorkingSet(program.Process()));
    extras.memory->floor.push_back(PeakWorkingSet(floor.Process()));
    extras.memory->controls.push_back(PeakWorkingSet(controls.Process()));
  }
  extras.looking->program.push_back(cpu.program.back());
  extras.looking->controls.push_back((after.looking - before.looking) / window);
  if (extras.lookingMemory != nullptr) {
    extras.lookingMemory->program.push_back(PeakWorkingSet(program.Process()));
    extras.lookingMemory->controls.push_back(PeakWorkingSet(lookingFloor.Process()));
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
  ProgramUnderTest floor(path, kEmptyFloor.file);
  HWND floorCombo = nullptr;
  WaitFor(
      [&] {
        return (floorCombo = FindWindowExA(FloorWindow(kEmptyFloor), nullptr, "COMBOBOX", nullptr)) != nullptr;
      },
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

// The connection log of `records` made-up records where the program reads
// it, with no year files beside it; and the cells of its rows as the window
// shows them on every month (oldest first, the file's order) in a file of
// their own for the list floor: one row a line, cells apart by tabs. The
// cells file's path.
std::string WriteConnectionLog(int records) {
  Win32ConnectionLogFiles files;
  if (!files.Replace(kConnectionLogFile, bench::BenchLogText(records))) return {};
  const std::string path = TempPath("corvane_bench_log_cells.txt");
  std::string text;
  const auto asShown = [&files](const std::string& cell) { return files.AnsiFromUtf8(cell); };
  for (int i = 0; i < records; ++i) {
    const std::vector<std::string> cells = RowCells(bench::BenchRecord(i), asShown);
    for (size_t column = 0; column < cells.size(); ++column) text += (column > 0 ? "\t" : "") + cells[column];
    text += "\r\n";
  }
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Has `window`'s thread paint whatever in it and its controls waits to be
// painted before this returns.
void DrawNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

int ListRows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

struct Opening {
  double shown = 0;  // to the window drawn on its newest month
  double all = 0;    // to "All" chosen and drawn
  int rows = -1;     // the list's rows then; -1 when the window did not open
};

// The log window opened by the dialer's menu command, as the tray menu's
// "Connection log..." opens it, then "All" chosen as the user chooses it.
// The messages return once the program has handled them; then it paints.
Opening OpenLogWindow(HWND dialer) {
  Opening opening;
  const double start = Seconds();
  SendMessageA(dialer, WM_COMMAND, IDM_CONNECTION_LOG, 0);
  HWND window = FindWindowA(nullptr, "Connection Log");
  HWND months = window != nullptr ? GetDlgItem(window, IDC_LOG_CMBMONTH) : nullptr;
  if (months == nullptr) return opening;
  DrawNow(window);
  opening.shown = Seconds() - start;
  SendMessageA(months, CB_SETCURSEL, static_cast<WPARAM>(SendMessageA(months, CB_GETCOUNT, 0, 0) - 1), 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_LOG_CMBMONTH, CBN_SELCHANGE), reinterpret_cast<LPARAM>(months));
  DrawNow(window);
  opening.all = Seconds() - start;
  opening.rows = ListRows(GetDlgItem(window, IDC_LOG_LVWLOG));
  SendMessageA(window, WM_CLOSE, 0, 0);
  return opening;
}

// The list floor's window opened, filled and drawn: its rows, -1 when it
// did not open.
int OpenListFloor(HWND floorDialog, double& spent) {
  const double start = Seconds();
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(floorDialog, WM_FLOOR_OPEN_LIST, 0, 0, SMTO_ABORTIFHUNG, kAppearMs, &answer);
  HWND list = reinterpret_cast<HWND>(answer);
  if (list == nullptr) return -1;
  DrawNow(GetParent(list));
  spent = Seconds() - start;
  const int rows = ListRows(list);
  SendMessageA(GetParent(list), WM_CLOSE, 0, 0);
  return rows;
}

// Removes the log and its year files.
void DeleteConnectionLog() {
  Win32ConnectionLogFiles files;
  for (const std::string& name : files.YearFileNames()) DeleteFileA(files.PathOf(name).c_str());
  DeleteFileA(files.PathOf(kConnectionLogFile).c_str());
}

// The connection log window on `records` records, opened on the connected
// program, against the list floor's window filled with the same cells.
bool MeasureLogWindow(const std::string& entry, int runs, int records, Figure& all, Figure& shown) {
  ResetStandin();
  DeleteConnectionLog();
  std::string cells;
  bool ok = false;
  {
    ProgramUnderTest program(entry);
    HWND dialer = program.MainWindow(kAppearMs);
    if (dialer == nullptr ||
        !WaitFor([] { return StandinList().find("\tconnected\t") != std::string::npos; }, kAppearMs, 50)) {
      return false;
    }
    // Written once the line is up: nothing is logged before it ends.
    cells = WriteConnectionLog(records);
    ProgramUnderTest floor(kWithList + cells, kListFloor.file);
    HWND floorDialog = !cells.empty() && StartFloor(floor, kListFloor) ? FloorWindow(kListFloor) : nullptr;
    double spent = 0;
    // The first opening of each is not counted: it pages the file and the code in.
    ok = floorDialog != nullptr && OpenLogWindow(dialer).rows == records &&
         OpenListFloor(floorDialog, spent) == records;
    for (int i = 0; ok && i < runs; ++i) {
      const Opening opening = OpenLogWindow(dialer);
      ok = opening.rows == records && OpenListFloor(floorDialog, spent) == records;
      all.program.push_back(opening.all);
      all.controls.push_back(spent);
      shown.program.push_back(opening.shown);
    }
  }  // both ended: the killed program logs its line only at its next start
  DeleteConnectionLog();
  DeleteFileA(cells.c_str());
  return ok;
}

bool CountdownRuns(HWND dialer) {
  return ControlVisible(dialer, IDC_TXTERR) && ControlText(dialer, IDC_TXTERR).find("Redialing") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  // "log" first: the connection log window's rows alone, and the arguments
  // are [runs] [log records].
  const bool logOnly = argc > 1 && std::strcmp(argv[1], "log") == 0;
  if (logOnly) {
    --argc;
    ++argv;
  }
  const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
  const DWORD windowMs = static_cast<DWORD>(1000 * std::max(1, !logOnly && argc > 2 ? std::atoi(argv[2]) : 20));
  const int lines = std::max(2, !logOnly && argc > 3 ? std::atoi(argv[3]) : 10000);
  const int logArgument = logOnly ? 2 : 4;
  const int records = std::max(1, argc > logArgument ? std::atoi(argv[logArgument]) : 100000);

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

  Figure start{"start to first dial / floors: to window shown", "s"};
  start.goalRatio = 1.1;
  Figure idle{"CPU while connected, idle in the tray, program only", "CPU s/min", 60};
  idle.goalRatio = 1.2;
  IdleExtras idleExtras;
  Figure idleLooking{"  the same against a controls floor that also looks at the line once a tick", "CPU s/min", 60};
  idleExtras.looking = &idleLooking;
  Figure countdown{"CPU during a busy-redial countdown, program only / controls floor rewriting its text",
                   "% of a core", 100};
  countdown.goalRatio = 1.2;
  IdleExtras countdownExtras;
  Figure countdownLooking{"  the same against a controls floor rewriting its text that also looks at the line once a tick",
                          "% of a core", 100};
  countdownExtras.looking = &countdownLooking;
  Figure memory{"peak working set", "MB", 1.0 / (1024 * 1024), 1};
  memory.goalRatio = 1.1;
  idleExtras.memory = &memory;
  Figure memoryLooking{"  the same against the controls floor that looks at the line (the service's DLL loaded)", "MB",
                       1.0 / (1024 * 1024), 1};
  idleExtras.lookingMemory = &memoryLooking;
  Figure fill{"phone list into the combo box / empty floor: same lines, same box", "ms", 1000, 2};
  fill.goalRatio = 1.2;
  fill.goalFloor = GoalFloor::Empty;
  fill.note = std::to_string(lines) + " lines";
  Figure logWindow{"connection log window opened, \"All\" chosen, drawn / controls floor's list window: same cells, "
                   "virtual list, drawn",
                   "s"};
  Figure logShown{"  of which the window drawn on its newest month", "s"};

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
  if (!logOnly) {
    repeat("the start-up", runs, [&] { return MeasureStart(single, start); });
    const auto connectedAndHidden = [](HWND dialer) {
      return StandinList().find("\tconnected\t") != std::string::npos && !IsWindowVisible(dialer);
    };
    repeat("the connected program", runs,
           [&] { return MeasureIdle(single, connectedAndHidden, kInTray, windowMs, idle, idleExtras); });
    UseScenario("corvane_bench_busy.scenario", "busy");
    repeat("the busy-redial countdown", runs,
           [&] { return MeasureIdle(busy, CountdownRuns, kRewriteStatus, windowMs, countdown, countdownExtras); });
    ResetStandin();
    repeat("the phone list", 1, [&] { return MeasureList(list, phones, runs, lines, fill); });
    UseScenario("corvane_bench_connect.scenario", "connect 49333");
  }
  repeat("the connection log window", 1, [&] { return MeasureLogWindow(single, runs, records, logWindow, logShown); });
  // Half a second for the whole opening, measured here: under Wine, on a
  // shared machine.
  constexpr double kLogWindowGoal = 0.5;
  const Spread logSpread = SpreadOf(logWindow.program);
  logWindow.note = std::to_string(records) + " records; <= 0.5 s: " +
                   (logSpread.valid && logSpread.median <= kLogWindowGoal ? "met" : "NOT met");

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
  size.floor.push_back(FileBytes(kEmptyFloor.file));
  size.controls.push_back(FileBytes(kControlsFloor.file));
  size.note = size.program.back() <= 1e6 ? "<= 1.0 MB: met" : "<= 1.0 MB: NOT met";

  Figure standinIdleRow{"  the stand-in's own threads besides", "CPU s/min", 60};
  standinIdleRow.program = idleExtras.standin;
  Figure callsIdleRow{"dial-up service calls while connected and idle", "calls/min", 1, 1};
  callsIdleRow.program = idleExtras.callsPerMinute;
  // The supervisor looks at the line once a tick, every 500 ms.
  constexpr double kLookingCallsPerMinute = 120;
  callsIdleRow.note = SpreadOf(callsIdleRow.program).median <= kLookingCallsPerMinute + 1
                          ? "<= 120 (one look at the line a tick): met"
                          : "<= 120 (one look at the line a tick): NOT met";
  Figure standinCountdownRow{"  the stand-in's own threads besides", "% of a core", 100};
  standinCountdownRow.program = countdownExtras.standin;

  if (logOnly) {
    std::printf("%d runs, times on the wall clock\n\n", runs);
  } else {
    std::printf("%d runs each, processor windows of %lu s, program and both floors side by side; "
                "times on the wall clock\n\n",
                runs, static_cast<unsigned long>(windowMs / 1000));
  }
  std::printf("| Figure | Corvane min / median / max | Empty floor | Controls floor | Ratio to empty | Ratio to controls "
              "| Goal |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  const std::vector<const Figure*> logRows{&logWindow, &logShown};
  const std::vector<const Figure*> allRows{&start,   &idle,          &idleLooking, &standinIdleRow, &callsIdleRow,
                                           &countdown, &countdownLooking, &standinCountdownRow, &memory,
                                           &memoryLooking, &size, &fill, &read, &logWindow, &logShown};
  for (const Figure* figure : logOnly ? logRows : allRows) PrintRow(*figure);

  DeleteEntry(single);
  DeleteEntry(busy);
  DeleteEntry(list);
  DeleteFileA(phones.c_str());
  return ok ? 0 : 1;
}
