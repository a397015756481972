// LinuxTaskTimes: read through Wine's drive Z:, the Linux root.
#include "linux_task_times.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "win32/unique_handle.h"

namespace corvane::bench {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The numeric entries of a /proc folder.
template <typename Visit>
void ForEachNumber(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!search) return;
  do {
    char* end = nullptr;
    const unsigned long number = std::strtoul(found.cFileName, &end, 10);
    if (number != 0 && *end == '\0') visit(number);
  } while (FindNextFileA(search.get(), &found));
}

}  // namespace

LinuxTaskTimes::LinuxTaskTimes(const std::string& programPath, const std::string& arguments) {
  // /proc/<pid>/cmdline holds the arguments NUL-separated.
  std::string expected = programPath + '\0';
  size_t start = 0;
  while (start < arguments.size()) {
    size_t blank = arguments.find(' ', start);
    if (blank == std::string::npos) blank = arguments.size();
    if (blank > start) expected += arguments.substr(start, blank - start) + '\0';
    start = blank + 1;
  }
  ForEachNumber("Z:\\proc", [&](unsigned long pid) {
    if (pid_ == 0 && ReadAll("Z:\\proc\\" + std::to_string(pid) + "\\cmdline").starts_with(expected)) pid_ = pid;
  });
}

LinuxTaskTimes::Seconds LinuxTaskTimes::Read() const {
  Seconds seconds;
  if (pid_ == 0) return seconds;
  const std::string tasks = "Z:\\proc\\" + std::to_string(pid_) + "\\task";
  ForEachNumber(tasks, [&](unsigned long tid) {
    // The first field: nanoseconds spent on a processor.
    const double spent = std::strtod(ReadAll(tasks + "\\" + std::to_string(tid) + "\\schedstat").c_str(), nullptr) / 1e9;
    (tid == pid_ ? seconds.mainThread : seconds.otherThreads) += spent;
  });
  return seconds;
}

}  // namespace corvane::bench
