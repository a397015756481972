// IdleWatch.
#include "stats/idle_watch.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr double kSecondsPerMinute = 60.0;

}  // namespace

double IdleWatch::LimitSeconds() const { return settings_.Minutes * kSecondsPerMinute; }

void IdleWatch::Start(const IdleSettings& settings, double at, uint64_t bytes) {
  settings_ = settings;
  running_ = settings.On();
  readings_.assign(1, Reading{at, bytes});
  quietSeconds_ = 0;
  warned_ = false;
}

IdleVerdict IdleWatch::Observe(double at, uint64_t bytes) {
  if (!running_) return {};
  if (bytes < readings_.back().Bytes || at < readings_.back().At) {
    Start(settings_, at, bytes);
    return {};
  }
  const double window = LimitSeconds();
  const auto threshold = static_cast<double>(std::max<int32_t>(settings_.ThresholdBytesPerMinute, 0));
  // More than a minute's threshold since the last reading: someone used
  // the line. The countdown starts afresh here, whatever the longer
  // stretch's average says, so a warned user who fetches something keeps
  // the line.
  if (static_cast<double>(bytes - readings_.back().Bytes) > threshold) {
    readings_.assign(1, Reading{at, bytes});
  } else {
    readings_.push_back(Reading{at, bytes});
  }
  // One reading at or before the window's start is enough: any older one
  // spans more traffic over a window of the same length.
  while (readings_.size() > 2 && readings_[1].At <= at - window) readings_.pop_front();

  // Oldest first, so the first stretch under the pace is the longest. A
  // stretch longer than the window counts as the window: its traffic is
  // held to the window's allowance (N times the threshold), which waits
  // at most one reading interval longer than an exact window would.
  quietSeconds_ = 0;
  for (size_t i = 0; i + 1 < readings_.size(); ++i) {
    const double span = std::min(at - readings_[i].At, window);
    if (span <= 0) continue;
    const auto traffic = static_cast<double>(bytes - readings_[i].Bytes);
    if (traffic < threshold * span / kSecondsPerMinute) {
      quietSeconds_ = span;
      break;
    }
  }

  IdleVerdict verdict;
  verdict.QuietSeconds = quietSeconds_;
  verdict.HangUp = quietSeconds_ >= window;
  // With a one-minute limit the whole limit is the last minute: the
  // hang-up's balloon is all the user gets.
  const double warnAt = window - kSecondsPerMinute;
  if (quietSeconds_ < warnAt || warnAt <= 0) {
    warned_ = false;
  } else if (!warned_ && !verdict.HangUp) {
    warned_ = true;
    verdict.Warn = true;
  }
  return verdict;
}

double IdleWatch::SecondsLeft(double now) const {
  if (!running_ || quietSeconds_ <= 0) return -1;
  return std::max(LimitSeconds() - quietSeconds_ - (now - readings_.back().At), 0.0);
}

}  // namespace corvane
