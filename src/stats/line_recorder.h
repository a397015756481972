// The connection log's side of the running line: its record from the moment
// it came up, its traffic read at long intervals and once more just before
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

// The running connection's record as a log row, under the entry's key;
// empty when there is none.
inline constexpr const char* kLogCheckpointValue = "LogCheckpoint";

class LineRecorder {
 public:
  // The traffic of a line that stays up is read every
  // `readingIntervalSeconds`: the same pace as the online-time checkpoint,
  // so the service is asked twice a minute, and a dropped line's record
  // misses at most that much of its traffic.
  LineRecorder(ConnectionLog& log, SettingsStore& store, ClockPort& clock, DialUpService& dialUp,
               double readingIntervalSeconds);

  // The line `line` of `entryName` (stored under `entryKey`) came up
  // `upAlreadySeconds` ago, dialled to `number` as `login`.
  void Begin(const std::string& entryName, const std::string& entryKey, const std::string& number,
             const std::string& login, RasHandle line, double upAlreadySeconds);

  // While the line is up, each tick: reads its traffic once an interval has
  // passed and refreshes the copy under the entry's key.
  void Watch();

  // Reads the traffic now: the line is about to be hung up.
  void ReadTraffic();

  // From now on the record counts only the traffic still to come: what the
  // line carried so far is another record's (monitoring switched back on
  // while the line is up), and counting it again would book it twice.
  void CountTrafficFromNow();

  // The line's time was booked as `booking`: writes its record, ended by
  // `end`, with its cost under `tariff` (none without one), and clears the
  // copy. Empty, or the line for the details log.
  std::string Finish(ConnectionEnd end, const Booking& booking, const Tariff& tariff);

  // What the line costs under `tariff` after `seconds` from its start: every
  // started unit counts whole.
  int64_t CostAfter(const Tariff& tariff, int64_t seconds) const;

  // The line's bytes sent and received at the last reading.
  uint64_t LineBytes() const { return record_.Sent + record_.Received; }

  // At start: writes the record a program that ended unexpectedly left
  // under `entryKey`, with what the account booked for it now (nothing
  // when it had not yet written a checkpoint) and its cost under the
  // entry's tariff. Empty, or the details line.
  std::string FinishLeft(const std::string& entryKey, const std::optional<Booking>& booking);

 private:
  bool Read();
  void KeepCopy();

  ConnectionLog& log_;
  SettingsStore& store_;
  ClockPort& clock_;
  DialUpService& dialUp_;
  double interval_;
  bool running_ = false;
  ConnectionRecord record_;
  // The line's counters when the record began counting.
  uint64_t sentBefore_ = 0;
  uint64_t receivedBefore_ = 0;
  std::string entryKey_;
  RasHandle line_ = 0;
  double readAt_ = 0;  // monotonic seconds of the last reading
};

}  // namespace corvane
