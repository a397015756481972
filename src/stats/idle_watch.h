// The idle rule of a running line: it is idle once what it sent and
// received over the last N minutes stayed under N times the entry's
// threshold a minute, with no burst of more than the threshold between two
// readings among them (a burst starts the countdown afresh). Fed with the traffic readings the connection log
// already takes (no reading of its own), it tells how long the line has
// been quiet, when to warn that the hang-up is a minute away (once per
// countdown), and when the limit is reached.
#pragma once

#include <cstdint>
#include <deque>

#include "settings/idle_settings.h"

namespace corvane {

struct IdleVerdict {
  // The longest stretch up to the reading over which the traffic stayed
  // under the threshold's pace, capped at the limit; 0 for a busy line.
  double QuietSeconds = 0;
  // The warning is due now: the line has been quiet for all but the last
  // minute of the limit. Once per countdown.
  bool Warn = false;
  // The limit is reached: the line is to be hung up.
  bool HangUp = false;
};

class IdleWatch {
 public:
  // The line's counters read `bytes` (sent plus received) at `at`
  // (monotonic seconds) when it came up or its counting started afresh.
  void Start(const IdleSettings& settings, double at, uint64_t bytes);
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  const IdleSettings& Settings() const { return settings_; }

  // A reading of the line's counters taken at `at`. Counters lower than
  // the last reading were started afresh: counting starts again there.
  IdleVerdict Observe(double at, uint64_t bytes);

  // Seconds until the hang-up as of `now`, counted on from the last
  // reading; negative when no countdown runs (the rule is off, or the line
  // was busy at the last reading).
  double SecondsLeft(double now) const;

  // The limit in whole minutes, as the warning names it.
  int32_t LimitMinutes() const { return settings_.Minutes; }

 private:
  struct Reading {
    double At;
    uint64_t Bytes;
  };
  double LimitSeconds() const;

  IdleSettings settings_;
  bool running_ = false;
  // From the latest reading at or before the start of the window onwards.
  std::deque<Reading> readings_;
  double quietSeconds_ = 0;
  bool warned_ = false;
};

}  // namespace corvane
