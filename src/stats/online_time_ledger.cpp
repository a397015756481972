// OnlineTimeLedger.
#include "stats/online_time_ledger.h"

#include <cmath>
#include <limits>

namespace corvane {

namespace {

// A stored figure as whole seconds: its leading number rounded, halves to
// even; 0 for empty text or a figure no account can hold.
int64_t StoredSeconds(const std::string& text) {
  const double value = std::nearbyint(LeadingNumber(text));
  if (!(value >= 0) || value > static_cast<double>(std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int64_t>(value);
}

int LeadingMonth(const std::string& text) { return static_cast<int>(StoredSeconds(text)); }

}  // namespace

OnlineTimeLedger::OnlineTimeLedger(SettingsStore& store, ClockPort& clock, double checkpointIntervalSeconds)
    : store_(store), clock_(clock), checkpointInterval_(static_cast<int64_t>(checkpointIntervalSeconds)) {
  if (checkpointInterval_ < 1) checkpointInterval_ = 1;
}

void OnlineTimeLedger::StartCounting(double upAlreadySeconds) {
  double since = clock_.SecondsSinceMidnight() - upAlreadySeconds;
  if (since < 0) since += 86400;
  connectTime_ = static_cast<float>(since);
  connectedAt_ = clock_.MonotonicSeconds() - upAlreadySeconds;
  counting_ = true;
  saved_ = false;
  elapsed_ = 0;
  checkpointed_ = 0;
}

void OnlineTimeLedger::UpdateElapsed() {
  elapsed_ = counting_ ? clock_.MonotonicSeconds() - connectedAt_ : 0;
}

std::optional<Booking> OnlineTimeLedger::SaveOnlineTime(const std::string& entryKey) {
  if (!counting_ || saved_) return std::nullopt;
  UpdateElapsed();
  // Halves to even: 12.5 s books 12, 13.5 s books 14.
  const Booking booking = Book(entryKey, static_cast<int64_t>(std::nearbyint(elapsed_)));
  saved_ = true;
  return booking;
}

void OnlineTimeLedger::Checkpoint(const std::string& entryKey) {
  if (!CheckpointDue()) return;
  const auto whole = static_cast<int64_t>(elapsed_);
  store_.SaveRegValue(entryKey, kCheckpointValue, std::to_string(whole));
  checkpointed_ = whole;
}

bool OnlineTimeLedger::CheckpointDue() {
  if (!counting_ || saved_) return false;
  UpdateElapsed();
  return static_cast<int64_t>(elapsed_) / checkpointInterval_ > checkpointed_ / checkpointInterval_;
}

std::optional<Booking> OnlineTimeLedger::BookLeftCheckpoint(const std::string& entryKey) {
  const std::string left = store_.ReadRegValue(entryKey, kCheckpointValue);
  if (left.empty()) return std::nullopt;
  const size_t comma = left.find(',');
  // A booking that wrote its "OnlineTime" before being cut short is done.
  const bool booked = comma != std::string::npos &&
                      store_.ReadRegValue(entryKey, kOnlineTimeValue) == left.substr(comma + 1);
  if (booked) {
    store_.SaveRegValue(entryKey, kCheckpointValue, "");
    return std::nullopt;
  }
  return Book(entryKey, StoredSeconds(left));
}

int64_t OnlineTimeLedger::StoredMonthSeconds(const std::string& entryKey) {
  if (!IsCurrentMonth(entryKey, store_.ReadRegValue(entryKey, kCurrentMonthValue), clock_.Today())) return 0;
  const double stored = LeadingNumber(store_.ReadRegValue(entryKey, kOnlineTimeValue));
  if (!(stored >= 0) || stored > static_cast<double>(std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int64_t>(stored);
}

int32_t OnlineTimeLedger::CalcTotalTime(const std::string& entryKey, bool withRunning) {
  int64_t total = 0;
  if (IsCurrentMonth(entryKey, store_.ReadRegValue(entryKey, kCurrentMonthValue), clock_.Today())) {
    total = StoredSeconds(store_.ReadRegValue(entryKey, kOnlineTimeValue));
  }
  UpdateElapsed();
  if (withRunning && counting_ && !saved_) total += static_cast<int64_t>(std::nearbyint(elapsed_));
  return total > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(total);
}

Booking OnlineTimeLedger::Book(const std::string& entryKey, int64_t seconds) {
  // One reading of the calendar for the whole booking: the month tested,
  // the month written and the year written all belong to the same moment.
  const CalendarDate today = clock_.Today();
  const std::string currentMonth = store_.ReadRegValue(entryKey, kCurrentMonthValue);
  const std::string onlineTime = store_.ReadRegValue(entryKey, kOnlineTimeValue);
  const bool rollOver = !IsCurrentMonth(entryKey, currentMonth, today);
  const int64_t stored = StoredSeconds(onlineTime);
  const std::string booked = std::to_string((rollOver ? 0 : stored) + seconds);

  // Written first: a program killed from here on finishes this booking at
  // its next start instead of counting the connection again.
  store_.SaveRegValue(entryKey, kCheckpointValue, std::to_string(seconds) + "," + booked);
  if (rollOver) {
    const std::string history = store_.ReadRegValue(entryKey, kPreviousMonthsValue);
    store_.SaveRegValue(entryKey, kPreviousMonthsValue, currentMonth + "," + std::to_string(stored) + "@" + history);
  }
  store_.SaveRegValue(entryKey, kCurrentMonthValue, std::to_string(today.Month) + "," + clock_.MonthName(today.Month));
  store_.SaveRegValue(entryKey, kCurrentYearValue, std::to_string(today.Year));
  store_.SaveRegValue(entryKey, kOnlineTimeValue, booked);
  store_.SaveRegValue(entryKey, kCheckpointValue, "");
  checkpointed_ = 0;
  return {seconds, today};
}

// The open month is this month when its number matches and, where a year is
// stored, the year too. An empty "CurrentMonth" (nothing booked yet) counts
// as this month, so the first booking does not roll over.
bool OnlineTimeLedger::IsCurrentMonth(const std::string& entryKey, const std::string& currentMonth,
                                      const CalendarDate& today) {
  if (currentMonth.empty()) return true;
  if (LeadingMonth(currentMonth) != today.Month) return false;
  const std::string year = store_.ReadRegValue(entryKey, kCurrentYearValue);
  return year.empty() || StoredSeconds(year) == today.Year;
}

}  // namespace corvane
