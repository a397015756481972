// LineRecorder.
#include "stats/line_recorder.h"

#include <cmath>

#include "stats/call_cost.h"

namespace corvane {

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
                           double readingIntervalSeconds)
    : log_(log), store_(store), clock_(clock), dialUp_(dialUp), interval_(readingIntervalSeconds) {}

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
  if (line_ != 0 && dialUp_.GetConnectionStatistics(line_, statistics) == kRasSuccess) {
    record_.Speed = statistics.Bps;
    record_.Sent = statistics.BytesTransmitted;
    record_.Received = statistics.BytesReceived;
  }
  readAt_ = clock_.MonotonicSeconds();
  KeepCopy();
}

void LineRecorder::Watch() {
  if (!running_ || clock_.MonotonicSeconds() - readAt_ < interval_) return;
  if (Read()) KeepCopy();
}

void LineRecorder::ReadTraffic() {
  if (running_) Read();
}

void LineRecorder::CountTrafficFromNow() {
  if (!running_) return;
  sentBefore_ += record_.Sent;
  receivedBefore_ += record_.Received;
  record_.Sent = record_.Received = 0;
  KeepCopy();
}

// Keeps the last good reading: once the line is gone the service answers
// with an error, and the traffic it had is what the record shows.
bool LineRecorder::Read() {
  readAt_ = clock_.MonotonicSeconds();
  ConnectionStatistics statistics;
  if (line_ == 0 || dialUp_.GetConnectionStatistics(line_, statistics) != kRasSuccess) return false;
  // Counters below where the record began were started afresh by the
  // service: all they hold is new.
  if (statistics.BytesTransmitted < sentBefore_) sentBefore_ = 0;
  if (statistics.BytesReceived < receivedBefore_) receivedBefore_ = 0;
  const uint64_t sent = statistics.BytesTransmitted - sentBefore_;
  const uint64_t received = statistics.BytesReceived - receivedBefore_;
  const bool changed = sent != record_.Sent || received != record_.Received;
  record_.Sent = sent;
  record_.Received = received;
  return changed;
}

int64_t LineRecorder::CostAfter(const Tariff& tariff, int64_t seconds) const {
  return CallCost(tariff, UtcSeconds(record_.Started), seconds,
                  [this](int64_t utc) { return clock_.LocalTimeAt(utc); });
}

void LineRecorder::KeepCopy() { store_.SaveRegValue(entryKey_, kLogCheckpointValue, ConnectionRow(record_)); }

std::string LineRecorder::Finish(ConnectionEnd end, const Booking& booking, const Tariff& tariff) {
  if (!running_) return {};
  running_ = false;
  record_.Ended = clock_.Now();
  record_.Seconds = booking.Seconds;
  record_.BookedIn = booking.Month;
  record_.EndedBy = end;
  SetCost(record_, tariff, clock_);
  // Written before the copy goes: a program killed between the two writes
  // the record twice rather than not at all.
  std::string failure = log_.Append(record_);
  store_.SaveRegValue(entryKey_, kLogCheckpointValue, "");
  return failure;
}

std::string LineRecorder::FinishLeft(const std::string& entryKey, const std::optional<Booking>& booking) {
  const std::string copy = store_.ReadRegValue(entryKey, kLogCheckpointValue);
  if (copy.empty()) return {};
  std::string failure;
  if (std::optional<ConnectionRecord> left = ParseConnectionRow(copy)) {
    left->Seconds = booking ? booking->Seconds : 0;
    left->BookedIn = booking ? booking->Month : clock_.Today();
    left->Ended = AddSeconds(left->Started, left->Seconds);
    left->EndedBy = ConnectionEnd::ProgramStopped;
    SetCost(*left, LoadTariff(store_, entryKey), clock_);
    failure = log_.Append(*left);
  }
  store_.SaveRegValue(entryKey, kLogCheckpointValue, "");
  return failure;
}

}  // namespace corvane
