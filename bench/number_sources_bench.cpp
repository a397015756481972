// A 10,000-line phone list and user list: filling the drop-down and
// FindPhoneNumber, each set against merely reading the same file's lines in
// the same run. Prints those ratios after the table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/number_sources.h"
#include "fakes/program_fixture.h"
#include "system/text_lines.h"

namespace corvane {
namespace {

constexpr int kLines = 10000;

// Files from disk, split as the Win32 adapter splits them.
class DiskFileSystem : public FileSystemPort {
 public:
  bool FileExists(const std::string& path) override { return std::filesystem::is_regular_file(path); }
  bool ReadLines(const std::string& path, std::vector<std::string>& lines) override {
    lines.clear();
    std::string text;
    if (!ReadText(path, text)) return false;
    lines = SplitTextLines(text);
    return true;
  }
  bool ReadText(const std::string& path, std::string& text) override {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
  }
};

struct Lists {
  Lists() {
    const auto folder = std::filesystem::temp_directory_path();
    phoneList = (folder / "corvane_bench_phones.txt").string();
    userList = (folder / "corvane_bench_users.txt").string();
    std::ofstream phones(phoneList, std::ios::binary);
    phones << "City,State /Province,Country,PhoneNo.,,,,,,Comment,,,,AreaCode,CountryCode,,CountryId,"
              "Use DialingRules,\r\n";
    for (int i = 1; i < kLines; ++i) {
      phones << "Location" << i << ",AZ,US,520 " << 3000000 + i << ",,1,,1,1,Location" << i << "AZUS\r\n";
      if (i == kLines - 1)
        lastLine = "Location" + std::to_string(i) + ",AZ,US,520 " + std::to_string(3000000 + i) + ",,1,,1,1,Location" +
                   std::to_string(i) + "AZUS";
    }
    std::ofstream users(userList, std::ios::binary);
    for (int i = 1; i <= kLines; ++i) users << "user" << i << ",password" << i << ",x\r\n";
  }
  ~Lists() {
    std::filesystem::remove(phoneList);
    std::filesystem::remove(userList);
  }
  std::string phoneList, userList, lastLine;
};

Lists& TheLists() {
  static Lists lists;
  return lists;
}

// The program on fakes, except the files, on the list entry "Work".
class Program {
 public:
  static constexpr uint32_t kRandomSeed = 1;  // every run measures the same logins

  Program() {
    const std::string key = std::string(kSettingsRoot) + "Work";
    registry.AddKey(RegHive::CurrentUser, key);
    registry.SetString(RegHive::CurrentUser, key, "UseList", "1");
    registry.SetString(RegHive::CurrentUser, key, "PhoneList", TheLists().phoneList);
    registry.SetString(RegHive::CurrentUser, key, "UserList", TheLists().userList);
    context = std::make_unique<AppContext>(ports, "Work", kRandomSeed);
    context->frmDialer.Load();  // a list entry: it waits for the user
  }

  testing::FakeRegistry registry;
  testing::FakeClock clock;
  testing::FakeShell shell;
  testing::FakeMessageBox messages;
  testing::FakeEventPump pump{clock};
  testing::FakePlatform platform;
  testing::FakeDialUpService dialUp;
  testing::FakeTrayIcon trayIcon;
  testing::FakeFormHost formHost;
  DiskFileSystem files;
  testing::FakeDownload download;
  testing::FakeFileDialog fileDialog;
  testing::FakeShellLinks shellLinks;
  testing::FakeLogFiles logFiles;
  testing::FakeProcesses processes;
  Ports ports{registry, clock,    shell, messages, pump,       platform,
              dialUp,   trayIcon, formHost, files, download, fileDialog, shellLinks, logFiles, processes};
  std::unique_ptr<AppContext> context;
};

void BM_ReadPhoneListLines(benchmark::State& state) {
  DiskFileSystem files;
  std::vector<std::string> lines;
  for (auto _ : state) {
    files.ReadLines(TheLists().phoneList, lines);
    benchmark::DoNotOptimize(lines.data());
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ReadPhoneListLines)->Unit(benchmark::kMillisecond);

void BM_DropDownFill(benchmark::State& state) {
  Program program;
  DialerForm& form = program.context->frmDialer;
  for (auto _ : state) {
    form.cmbList_DropDown();
    benchmark::DoNotOptimize(form.cmbList.ListCount());
  }
  state.counters["items"] = form.cmbList.ListCount();
}
BENCHMARK(BM_DropDownFill)->Unit(benchmark::kMillisecond);

void BM_ReadUserListLines(benchmark::State& state) {
  DiskFileSystem files;
  std::vector<std::string> lines;
  for (auto _ : state) {
    files.ReadLines(TheLists().userList, lines);
    benchmark::DoNotOptimize(lines.data());
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ReadUserListLines)->Unit(benchmark::kMillisecond);

// The last line of the phone list chosen, the whole user list read.
void BM_FindPhoneNumber(benchmark::State& state) {
  Program program;
  AppContext& ctx = *program.context;
  ctx.frmDialer.cmbList_DropDown();
  for (auto _ : state) {
    ctx.frmDialer.cmbList.SetText(TheLists().lastLine);
    ctx.Line.FindPhoneNumber();
    benchmark::DoNotOptimize(ctx.Line.RunningEntry().PhoneNumber.data());
  }
  state.counters["logins"] = ctx.Line.Session().UserCount;
  if (ctx.Line.RunningEntry().PhoneNumber != "520 " + std::to_string(3000000 + kLines - 1)) state.SkipWithError("wrong number");
}
BENCHMARK(BM_FindPhoneNumber)->Unit(benchmark::kMillisecond);

// The console table, then each measurement as a multiple of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the mean stands for the benchmark.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
        times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        fromMean_[name] = true;
      } else if (run.run_type == Run::RT_Iteration && !fromMean_[name]) {
        times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    Ratio("BM_DropDownFill", "BM_ReadPhoneListLines");
    Ratio("BM_FindPhoneNumber", "BM_ReadUserListLines");
    Ratio("BM_ConnectionLogWindowLoad", "BM_ReadConnectionLogLines");
  }

 private:
  void Ratio(const std::string& measured, const std::string& baseline) {
    if (!times_.count(measured) || !times_.count(baseline)) return;
    const Times& m = times_[measured];
    const Times& b = times_[baseline];
    if (b.real <= 0 || b.cpu <= 0) return;
    std::printf("%-20s %6.2f x %s (real time), %.2f x (CPU time)\n", measured.c_str(), m.real / b.real,
                baseline.c_str(), m.cpu / b.cpu);
  }
  struct Times {
    double real = 0, cpu = 0;
  };
  std::map<std::string, Times> times_;
  std::map<std::string, bool> fromMean_;
};

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  corvane::TheLists();
  // Colours only on a terminal, so saved output stays plain text.
  const auto options =
      isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular;
  corvane::RatioReporter reporter(options);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
