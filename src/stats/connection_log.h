// The connection log: every connection the program timed, one CSV row each,
// in Connections.csv beside the program's other local data. Appending never
// holds up the line: a record the file refuses (a spreadsheet holds it, the
// disk is full, it is read-only) stays pending under the program's key and
// is written, in order, at the next append that succeeds or the next start;
// meanwhile reading counts it like a written one. Past a size limit, the
// oldest whole year moves to a year file of its own, which reading takes in
// again.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"
#include "stats/connection_log_files.h"
#include "stats/connection_record.h"

namespace corvane {

inline constexpr const char* kConnectionLogFile = "Connections.csv";
// About 25,000 records: a few years of heavy use, opened in a blink.
inline constexpr int64_t kConnectionLogLimitBytes = 4 * 1024 * 1024;
// The records the file refused, oldest first: one row a line, texts in the
// ANSI code page as the program has them. Empty when none waits.
inline constexpr const char* kLogPendingValue = "LogPending";

class ConnectionLog {
 public:
  // Pending records are kept under `store`'s SettingsRoot.
  ConnectionLog(ConnectionLogFiles& files, SettingsStore& store, int64_t limitBytes = kConnectionLogLimitBytes);

  // Appends the pending records and then `record`, its texts given in the
  // ANSI code page, in one write. Empty when they were written; otherwise `record` is pending
  // too, and the result is the line for the details log.
  std::string Append(const ConnectionRecord& record);

  // Writes the records still pending, as Append does; empty when there were
  // none or they were written, otherwise the line for the details log.
  std::string WritePending();

  // True when `record` (texts in the ANSI code page), every field alike, is
  // in the log, a year file, or pending.
  bool Holds(const ConnectionRecord& record);

  // Why the log cannot be written, for the tray: set when a write fails,
  // until FailureNoticeShown; after that only a write that succeeds and a
  // later failure set it again. Empty when there is nothing to tell.
  const std::string& FailureNotice() const { return failureNotice_; }
  void FailureNoticeShown();

  // Every record of the year files, the log and the pending ones, oldest
  // file first. A record one of them holds is left out of the later ones
  // (a year move cut short, a pending record written by a killed program).
  // A file too large to hold in memory is skipped like an unreadable one.
  std::vector<ConnectionRecord> ReadAll();

 private:
  std::vector<ConnectionRecord> PendingRecords();
  // `record` with its texts as the file has them (UTF-8).
  ConnectionRecord AsLogged(ConnectionRecord record);
  std::string Write(std::vector<ConnectionRecord> records, bool hadPending);
  // The records of the year files and the log whose identity `seen` does
  // not have yet; `seen` takes theirs.
  std::vector<ConnectionRecord> ReadFiles(std::set<std::string>& seen);
  void MoveOldestYear();

  ConnectionLogFiles& files_;
  SettingsStore& store_;
  int64_t limitBytes_;
  // The one year a log past its limit was last found to hold; 0 when none.
  int onlyYear_ = 0;
  std::string failureNotice_;
  bool failureTold_ = false;
};

// The records of one log file's text, in order; rows that are not whole
// records (the header, a torn line) are skipped.
std::vector<ConnectionRecord> ReadConnectionRows(std::string_view text);

// A new log file's start: the UTF-8 byte-order mark and the header row.
std::string ConnectionLogStart();

// True for a year file's name, "Connections-2024.csv": four digits, nothing
// else, so a user's "Connections-backup.csv" is never read as part of the log.
bool IsYearFileName(std::string_view name);

}  // namespace corvane
