// A Windows process's time on a processor, as Linux accounts it. Under Wine
// each Windows process is a Linux process whose command line is the
// program's Windows path and its arguments, and each thread a Linux task
// whose time on a processor, in nanoseconds, is in
// /proc/<pid>/task/<tid>/schedstat: far finer than the 10 ms ticks that
// GetProcessTimes passes on, of which an idle program uses a few a minute.
#pragma once

#include <string>

namespace corvane::bench {

class LinuxTaskTimes {
 public:
  // Finds the Linux process started as `programPath` with `arguments`
  // (blank-separated, as on the command line).
  LinuxTaskTimes(const std::string& programPath, const std::string& arguments);

  bool Found() const { return pid_ != 0; }

  struct Seconds {
    double mainThread = 0;
    double otherThreads = 0;
  };
  // The threads alive now; the time of threads that have ended is lost.
  Seconds Read() const;

 private:
  unsigned long pid_ = 0;
};

}  // namespace corvane::bench
