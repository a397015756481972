// The connection log: appending one record to a log file on disk, and
// opening the log window on 100,000 records (about thirty years of heavy
// use), set against merely reading the same file's lines in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "connection_log_records.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system.h"
#include "stats/connection_log.h"
#include "stats/connection_log_form.h"
#include "system/text_lines.h"

namespace corvane {
namespace {

constexpr int kRecords = 100000;
// The rows a list view of the window shows at once, and then some.
constexpr int kScreenRows = 40;

// The log's files in a folder on disk: appends go through stdio and are
// flushed, as the Win32 adapter flushes them.
class DiskLogFiles : public ConnectionLogFiles {
 public:
  explicit DiskLogFiles(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directories(folder_);
  }
  uint32_t Append(const std::string& name, const std::string& bytes) override {
    std::FILE* file = std::fopen(PathOf(name).c_str(), "ab");
    if (file == nullptr) return 5;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    std::fclose(file);
    return written ? 0 : 112;
  }
  bool Read(const std::string& name, std::string& bytes) override {
    std::ifstream file(PathOf(name), std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
  }
  int64_t Size(const std::string& name) override {
    std::error_code error;
    const auto size = std::filesystem::file_size(PathOf(name), error);
    return error ? -1 : static_cast<int64_t>(size);
  }
  bool Replace(const std::string& name, const std::string& bytes) override {
    std::ofstream(PathOf(name), std::ios::binary | std::ios::trunc) << bytes;
    return true;
  }
  std::vector<std::string> YearFileNames() override { return {}; }
  std::string ErrorText(uint32_t error) override { return "Error " + std::to_string(error) + "."; }
  std::string PathOf(const std::string& name) override { return (folder_ / name).string(); }
  std::string Utf8FromAnsi(const std::string& text) override { return text; }
  std::string AnsiFromUtf8(const std::string& text) override { return text; }
  uint32_t Export(const std::string&, const std::string&) override { return 0; }

 private:
  std::filesystem::path folder_;
};

std::filesystem::path BenchFolder(const char* name) { return std::filesystem::temp_directory_path() / name; }

// The 100,000-record log, written once; no size limit moves years aside.
DiskLogFiles& HundredThousand() {
  static DiskLogFiles files = [] {
    DiskLogFiles made(BenchFolder("corvane_bench_log_100k"));
    made.Replace(kConnectionLogFile, bench::BenchLogText(kRecords));
    return made;
  }();
  return files;
}

void BM_ConnectionLogAppend(benchmark::State& state) {
  DiskLogFiles files(BenchFolder("corvane_bench_log_append"));
  std::filesystem::remove(files.PathOf(kConnectionLogFile));
  corvane::testing::FakeRegistry registry;
  SettingsStore store(registry);
  ConnectionLog log(files, store);
  const ConnectionRecord record = bench::BenchRecord(1);
  for (auto _ : state) {
    if (!log.Append(record).empty()) state.SkipWithError("not written");
  }
}
BENCHMARK(BM_ConnectionLogAppend)->Unit(benchmark::kMicrosecond);

void BM_ReadConnectionLogLines(benchmark::State& state) {
  DiskLogFiles& files = HundredThousand();
  for (auto _ : state) {
    std::string text;
    files.Read(kConnectionLogFile, text);
    benchmark::DoNotOptimize(SplitTextLines(text));
  }
}
BENCHMARK(BM_ReadConnectionLogLines)->Unit(benchmark::kMillisecond);

// The window's whole load on every month: the files read and parsed, the
// months and entries listed, the rows sorted and totalled, and the cells of
// a screenful of rows made, as the virtual list asks for them.
void BM_ConnectionLogWindowLoad(benchmark::State& state) {
  DiskLogFiles& files = HundredThousand();
  corvane::testing::FakeRegistry registry;
  SettingsStore store(registry);
  ConnectionLog log(files, store);
  testing::FakeFileDialog fileDialog;
  testing::FakeMessageBox messages;
  testing::FakeClock clock;
  ConnectionLogForm form(ConnectionLogSources{log, files, fileDialog, messages, clock});
  for (auto _ : state) {
    form.Load();
    form.cmbMonth.OnUserSelect(form.cmbMonth.ListCount() - 1);  // "All"
    if (form.lvwLog.RowCount() != kRecords) state.SkipWithError("rows missing");
    for (int row = 0; row < kScreenRows; ++row) {
      for (int column = 0; column < form.lvwLog.ColumnCount(); ++column) {
        benchmark::DoNotOptimize(form.lvwLog.Cell(row, column));
      }
    }
    form.Unload();
  }
}
BENCHMARK(BM_ConnectionLogWindowLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
