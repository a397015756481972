// The connection log: every connection the program timed, one CSV row each,
// in Connections.csv beside the program's other local data. Appending never
// holds up the line: a file that cannot be written costs a line in the
// dialer's details log, never a booking. Past a size limit, the oldest whole
// year moves to a year file of its own, which reading takes in again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stats/connection_log_files.h"
#include "stats/connection_record.h"

namespace corvane {

inline constexpr const char* kConnectionLogFile = "Connections.csv";
// About 25,000 records: a few years of heavy use, opened in a blink.
inline constexpr int64_t kConnectionLogLimitBytes = 4 * 1024 * 1024;

class ConnectionLog {
 public:
  explicit ConnectionLog(ConnectionLogFiles& files, int64_t limitBytes = kConnectionLogLimitBytes);

  // Appends `record`, its texts given in the ANSI code page. Empty when it
  // was written, otherwise the line for the details log.
  std::string Append(const ConnectionRecord& record);

  // Every record of the year files and the log, oldest file first.
  std::vector<ConnectionRecord> ReadAll();

 private:
  void MoveOldestYear();

  ConnectionLogFiles& files_;
  int64_t limitBytes_;
  // The one year a log past its limit was last found to hold; 0 when none.
  int onlyYear_ = 0;
};

// The records of one log file's text, in order; rows that are not whole
// records (the header, a torn line) are skipped.
std::vector<ConnectionRecord> ReadConnectionRows(std::string_view text);

// A new log file's start: the UTF-8 byte-order mark and the header row.
std::string ConnectionLogStart();

}  // namespace corvane
