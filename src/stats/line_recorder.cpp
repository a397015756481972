// LineRecorder.
#include "stats/line_recorder.h"

#include <algorithm>
#include <cmath>

#include "stats/call_cost.h"

namespace corvane {

void ByteCount::Advance(uint32_t reading) {
  // Unsigned arithmetic: the distance forward from the last reading, across
  // the wrap when there was one.
  const uint32_t forward = reading - last_;
  constexpr uint32_t kHalfRange = 0x80000000u;
  total_ += reading >= last_ || forward < kHalfRange ? forward : reading;
  last_ = reading;
}

namespace {

// The record's cost: its booked seconds from its start under `tariff`.
void SetCost(ConnectionRecord& record, const Tariff& tariff, ClockPort& clock) {
  record.Cost.reset();
  record.CostCurrency.clear();
  if (!tariff.Any()) return;
  record.Cost = CallCost(tariff, UtcSeconds(record.Started), record.Seconds,
                         [&clock](int64_t utc) { return clock.LocalTimeAt(utc); });
  record.CostDecimals = tariff.Decimals;
  record.CostCurrency = tariff.Currency;
}

}  // namespace

LineRecorder::LineRecorder(ConnectionLog& log, SettingsStore& store, ClockPort& clock, DialUpService& dialUp,
                           double copyIntervalSeconds)
    : log_(log), store_(store), clock_(clock), dialUp_(dialUp), copyInterval_(copyIntervalSeconds) {}

void LineRecorder::Begin(const std::string& entryName, const std::string& entryKey, const std::string& number,
                         const std::string& login, RasHandle line, double upAlreadySeconds) {
  record_ = ConnectionRecord{};
  record_.Entry = entryName;
  record_.Number = number;
  record_.Login = login;
  record_.Started = AddSeconds(clock_.Now(), -static_cast<int64_t>(std::llround(upAlreadySeconds)));
  record_.Ended = record_.Started;
  record_.EndedBy = ConnectionEnd::ProgramStopped;
  record_.BookedIn = clock_.Today();
  sentBefore_ = receivedBefore_ = 0;
  entryKey_ = entryKey;
  line_ = line;
  running_ = true;
  ConnectionStatistics statistics;
  if (line_ == 0 || dialUp_.GetConnectionStatistics(line_, statistics) != kRasSuccess) statistics = {};
  record_.Speed = statistics.Bps;
  sent_.Start(statistics.BytesTransmitted);
  received_.Start(statistics.BytesReceived);
  record_.Sent = sent_.Total();
  record_.Received = received_.Total();
  readAt_ = goodReadAt_ = clock_.MonotonicSeconds();
  KeepCopy();
}

// The traffic is read at least every kTrafficReadingSeconds, and at the
// copy's pace when that is quicker.
void LineRecorder::Watch() {
  if (!running_) return;
  const double now = clock_.MonotonicSeconds();
  if (now - readAt_ >= std::min(kTrafficReadingSeconds, copyInterval_) && Read()) copyBehind_ = true;
  if (copyBehind_ && now - copiedAt_ >= copyInterval_) KeepCopy();
}

void LineRecorder::ReadTraffic() {
  if (running_) Read();
}

void LineRecorder::CountTrafficFromNow() {
  if (!running_) return;
  sentBefore_ = sent_.Total();
  receivedBefore_ = received_.Total();
  record_.Sent = record_.Received = 0;
  KeepCopy();
}

// Keeps the last good reading: once the line is gone the service answers
// with an error, and the traffic it had is what the record shows.
bool LineRecorder::Read() {
  readAt_ = clock_.MonotonicSeconds();
  ConnectionStatistics statistics;
  if (line_ == 0 || dialUp_.GetConnectionStatistics(line_, statistics) != kRasSuccess) return false;
  goodReadAt_ = readAt_;
  sent_.Advance(statistics.BytesTransmitted);
  received_.Advance(statistics.BytesReceived);
  const uint64_t sent = sent_.Total() - sentBefore_;
  const uint64_t received = received_.Total() - receivedBefore_;
  const bool changed = sent != record_.Sent || received != record_.Received;
  record_.Sent = sent;
  record_.Received = received;
  return changed;
}

int64_t LineRecorder::CostAfter(const Tariff& tariff, int64_t seconds) const {
  return CallCost(tariff, UtcSeconds(record_.Started), seconds,
                  [this](int64_t utc) { return clock_.LocalTimeAt(utc); });
}

void LineRecorder::KeepCopy() {
  store_.SaveRegValue(entryKey_, kLogCheckpointValue, ConnectionRow(record_));
  copiedAt_ = clock_.MonotonicSeconds();
  copyBehind_ = false;
}

std::string LineRecorder::Finish(ConnectionEnd end, const Booking& booking, const Tariff& tariff) {
  if (!running_) return {};
  running_ = false;
  record_.Ended = clock_.Now();
  record_.Seconds = booking.Seconds;
  record_.BookedIn = booking.Month;
  record_.EndedBy = end;
  SetCost(record_, tariff, clock_);
  // The copy holds the finished record while it is written (or kept
  // pending by the log): a program killed before the copy goes finds it in
  // the log at the next start and does not write it again, and one killed
  // before the write writes it whole.
  KeepCopy();
  std::string failure = log_.Append(record_);
  store_.SaveRegValue(entryKey_, kLogCheckpointValue, "");
  return failure;
}

std::string LineRecorder::FinishLeft(const std::string& entryKey, const std::optional<Booking>& booking) {
  const std::string copy = store_.ReadRegValue(entryKey, kLogCheckpointValue);
  if (copy.empty()) return {};
  std::string failure;
  std::optional<ConnectionRecord> left = ParseConnectionRow(copy);
  // A copy that is still the running line's: the program stopped with it.
  if (left && left->EndedBy == ConnectionEnd::ProgramStopped) {
    left->Seconds = booking ? booking->Seconds : 0;
    left->BookedIn = booking ? booking->Month : clock_.Today();
    left->Ended = AddSeconds(left->Started, left->Seconds);
    SetCost(*left, LoadTariff(store_, entryKey), clock_);
    failure = log_.Append(*left);
  } else if (left && !log_.Holds(*left)) {
    failure = log_.Append(*left);  // finished, and killed before it was written
  }
  store_.SaveRegValue(entryKey, kLogCheckpointValue, "");
  return failure;
}

}  // namespace corvane
