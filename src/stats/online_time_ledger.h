// The online-time ledger: each entry's monthly account of time online, kept
// as text values under the entry's key, and the measuring of the running
// connection. It knows the settings store and the clock, never a window:
// the dialer, the tray tooltip and the statistics windows all read and book
// through it.
//
// Durations come from the clock's monotonic counter, so midnight, a clock
// set back or forward, a daylight-saving shift or a link of several days
// are all measured as they really lasted. The wall clock only names the
// month, the year and "LastOffTime".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"
#include "system/clock_port.h"

namespace corvane {

// Names of the stored values under an entry's key.
inline constexpr const char* kCurrentMonthValue = "CurrentMonth";      // "9,September"
inline constexpr const char* kOnlineTimeValue = "OnlineTime";          // whole seconds of that month
inline constexpr const char* kPreviousMonthsValue = "PreviousMonths";  // "10,October,5400@9,September,123@"
inline constexpr const char* kLastOffTimeValue = "LastOffTime";        // seconds since midnight
// The calendar year "CurrentMonth" belongs to, e.g. "2026". Stores written
// before it existed have none; their month test compares month numbers only.
inline constexpr const char* kCurrentYearValue = "CurrentYear";
// Whole seconds of a connection that is still running (or was, when the
// program was killed), not yet in "OnlineTime"; empty when there is none.
// While a booking is being written it reads "<seconds>,<OnlineTime text the
// booking writes>", so a booking cut short is finished, never repeated.
inline constexpr const char* kCheckpointValue = "OnlineCheckpoint";

// How often the running connection's checkpoint is refreshed, seconds: a
// kill loses at most this much, and the registry sees two small writes a
// minute.
inline constexpr double kCheckpointIntervalSeconds = 30.0;

// One booking: the whole seconds added to the account, and the month the
// account took them into.
struct Booking {
  int64_t Seconds = 0;
  CalendarDate Month;
};

class OnlineTimeLedger {
 public:
  // The running connection's checkpoint is refreshed every
  // `checkpointIntervalSeconds` (whole seconds, at least 1).
  OnlineTimeLedger(SettingsStore& store, ClockPort& clock,
                   double checkpointIntervalSeconds = kCheckpointIntervalSeconds);

  // A connection came up `upAlreadySeconds` ago (0: now; or monitoring was
  // switched on during one): counting starts from that moment and it is not
  // yet booked.
  void StartCounting(double upAlreadySeconds = 0);

  // Seconds since midnight at which counting started; 0 when no connection
  // has come up since start.
  float ConnectTime() const { return connectTime_; }
  // True once a connection has come up since start.
  bool Counting() const { return counting_; }
  bool OnlineTimeSaved() const { return saved_; }
  // Length of the running connection as last computed by UpdateElapsed.
  double ElapsedSeconds() const { return elapsed_; }

  // Recomputes ElapsedSeconds from the monotonic clock; 0 when no
  // connection has come up since start.
  void UpdateElapsed();

  // Books the running connection into the account under `entryKey`
  // (SettingsRoot + entry name) once; later calls do nothing until the next
  // StartCounting. Its checkpoint is cleared in the same step. What was
  // booked; nullopt when nothing was.
  std::optional<Booking> SaveOnlineTime(const std::string& entryKey);

  // While a connection runs unbooked: writes its whole seconds as the
  // checkpoint under `entryKey` when another interval has passed since the
  // last write (never the same text twice).
  void Checkpoint(const std::string& entryKey);
  // True when Checkpoint would write now; a caller that builds the key for
  // it need not build it on the other ticks.
  bool CheckpointDue();

  // Books what a checkpoint left under `entryKey` by a program that ended
  // without booking (killed, power cut), once, then clears it. What was
  // booked; nullopt when nothing was (no checkpoint, or a booking cut short
  // that had already written its figure).
  std::optional<Booking> BookLeftCheckpoint(const std::string& entryKey);

  // The seconds booked under `entryKey` for the current month: "OnlineTime"
  // when "CurrentMonth" (and "CurrentYear", where stored) name this month,
  // otherwise 0. Whole part of the stored figure.
  int64_t StoredMonthSeconds(const std::string& entryKey);

  // The month total for the entry under `entryKey`: the current month's
  // booked seconds (rounded) plus, when `withRunning`, the running
  // connection (rounded) as long as it is not booked yet. Booked once, it is
  // in the stored figure already.
  int32_t CalcTotalTime(const std::string& entryKey, bool withRunning);

 private:
  // Adds `seconds` to the account under `entryKey`, rolling the open month
  // over into the history when the month (or the stored year) changed.
  Booking Book(const std::string& entryKey, int64_t seconds);
  bool IsCurrentMonth(const std::string& entryKey, const std::string& currentMonth, const CalendarDate& today);

  SettingsStore& store_;
  ClockPort& clock_;
  float connectTime_ = 0;
  double connectedAt_ = 0;  // monotonic seconds when counting started
  bool counting_ = false;   // a connection has come up since start
  bool saved_ = false;
  double elapsed_ = 0;
  int64_t checkpointInterval_;
  int64_t checkpointed_ = -1;  // whole seconds last written as the checkpoint
};

}  // namespace corvane
