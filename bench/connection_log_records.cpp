#include "connection_log_records.h"

#include "stats/connection_log.h"

namespace corvane::bench {

ConnectionRecord BenchRecord(int index) {
  ConnectionRecord record;
  record.Entry = index % 7 == 0 ? "Work" : "Home, \"main\"";
  record.Started = AddSeconds({1996, 1, 1, 19, 0, 0, 60}, static_cast<int64_t>(index) * 9460);
  record.Seconds = 300 + index % 5400;
  record.Ended = AddSeconds(record.Started, record.Seconds);
  record.Number = "5550100";
  record.Login = "ann";
  record.Speed = 49333;
  record.Sent = static_cast<uint64_t>(record.Seconds) * 600;
  record.Received = static_cast<uint64_t>(record.Seconds) * 4000;
  record.BookedIn = {record.Ended.Year, record.Ended.Month};
  return record;
}

std::string BenchLogText(int count) {
  std::string text = ConnectionLogStart();
  for (int i = 0; i < count; ++i) text += "\r\n" + ConnectionRow(BenchRecord(i));
  return text;
}

}  // namespace corvane::bench
