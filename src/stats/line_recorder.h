// The connection log's side of the running line: its record from the moment
// it came up, its traffic read every few seconds and once more just before
// the program hangs it up, and a copy of the record under the entry's key,
// so that a connection the program never saw end (killed, power cut) is
// written at the next start with what the online-time account books for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dial/dialup_service.h"
#include "settings/settings_store.h"
#include "settings/tariff_settings.h"
#include "stats/connection_log.h"
#include "stats/connection_record.h"
#include "stats/online_time_ledger.h"
#include "system/clock_port.h"

namespace corvane {

// The running connection's record as a log row, under the entry's key:
// ended by "Program stopped" while the line runs, by its real end while the
// finished record is being written; empty when there is none.
inline constexpr const char* kLogCheckpointValue = "LogCheckpoint";

// The service's 32-bit byte counter as a count that never wraps: a fast line
// passes 4 GiB within hours. Between two readings a counter is taken to
// have moved forward by less than 2 GiB (readings come seconds apart), so
// a lower reading within that is a wrap; any other lower reading is a
// counter the service started afresh, all of which is new.
class ByteCount {
 public:
  void Start(uint32_t reading) { total_ = last_ = reading; }
  void Advance(uint32_t reading);
  uint64_t Total() const { return total_; }

 private:
  uint64_t total_ = 0;
  uint32_t last_ = 0;
};

// A line that stays up has its traffic read this often: a line that drops
// can no longer be asked, and its record misses at most this much.
inline constexpr double kTrafficReadingSeconds = 5;

class LineRecorder {
 public:
  // The copy under the entry's key is refreshed every `copyIntervalSeconds`
  // at most (the online-time checkpoint's pace): a registry write at every
  // reading would cost more than the reading.
  LineRecorder(ConnectionLog& log, SettingsStore& store, ClockPort& clock, DialUpService& dialUp,
               double copyIntervalSeconds);

  // The line `line` of `entryName` (stored under `entryKey`) came up
  // `upAlreadySeconds` ago, dialled to `number` as `login`.
  void Begin(const std::string& entryName, const std::string& entryKey, const std::string& number,
             const std::string& login, RasHandle line, double upAlreadySeconds);

  // While the line is up, each tick: reads its traffic once
  // kTrafficReadingSeconds have passed, and refreshes the copy under the
  // entry's key when its interval has passed too.
  void Watch();

  // Reads the traffic now: the line is about to be hung up.
  void ReadTraffic();

  // From now on the record counts only the traffic still to come: what the
  // line carried so far is another record's (monitoring switched back on
  // while the line is up), and counting it again would book it twice.
  void CountTrafficFromNow();

  // The line's time was booked as `booking`: writes its record, ended by
  // `end`, with its cost under `tariff` (none without one), and clears the
  // copy. Empty, or the line for the details log (the record then waits in
  // the log's pending ones).
  std::string Finish(ConnectionEnd end, const Booking& booking, const Tariff& tariff);

  // What the line costs under `tariff` after `seconds` from its start: every
  // started unit counts whole.
  int64_t CostAfter(const Tariff& tariff, int64_t seconds) const;

  // A line's record is open: begun and not yet finished.
  bool Recording() const { return running_; }
  // The line's bytes sent and received at the last reading.
  uint64_t LineBytes() const { return record_.Sent + record_.Received; }
  // Monotonic seconds of the last reading the service answered; the
  // idle rule takes its readings from here rather than asking again.
  double LastGoodReadingAt() const { return goodReadAt_; }
  // The record of the line last finished (its end, seconds and traffic).
  const ConnectionRecord& LastRecord() const { return record_; }

  // At start: writes the record a program that ended unexpectedly left
  // under `entryKey`, with what the account booked for it now (nothing
  // when it had not yet written a checkpoint) and its cost under the
  // entry's tariff; a record the line had finished is written as it was,
  // unless the log holds it already (the program ended between writing it
  // and clearing the copy). Empty, or the details line.
  std::string FinishLeft(const std::string& entryKey, const std::optional<Booking>& booking);

  // At start: writes the records the log still keeps pending. Empty, or the
  // details line.
  std::string WritePending() { return log_.WritePending(); }

  // The log's notice for the tray that it cannot be written, and its
  // acknowledgement once shown (ConnectionLog::FailureNotice).
  const std::string& LogFailureNotice() const { return log_.FailureNotice(); }
  void LogFailureNoticeShown() { log_.FailureNoticeShown(); }

 private:
  bool Read();
  void KeepCopy();

  ConnectionLog& log_;
  SettingsStore& store_;
  ClockPort& clock_;
  DialUpService& dialUp_;
  double copyInterval_;
  bool running_ = false;
  ConnectionRecord record_;
  ByteCount sent_;
  ByteCount received_;
  // The counts when the record began counting.
  uint64_t sentBefore_ = 0;
  uint64_t receivedBefore_ = 0;
  std::string entryKey_;
  RasHandle line_ = 0;
  double readAt_ = 0;    // monotonic seconds of the last reading
  double copiedAt_ = 0;  // of the last copy
  bool copyBehind_ = false;  // the record changed since the last copy
  double goodReadAt_ = 0;  // of the last reading the service answered
};

}  // namespace corvane
