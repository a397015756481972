// MonthlyOnlineTime, the month total and the shared caption.
#include "stats/monthly_online_time.h"

#include "settings/entry_name.h"

namespace corvane {

std::vector<MonthRecord> MonthlyOnlineTime(const std::string& monthName, int64_t monthSeconds,
                                           const std::string& previousMonths) {
  std::vector<MonthRecord> months{{monthName, monthSeconds}};
  for (MonthRecord& record : ReadMonthHistory(previousMonths)) months.push_back(std::move(record));
  return months;
}

int32_t MonthTotal(OnlineTimeLedger& ledger, const SettingsStore& store, const LiveConnection& line,
                   const std::string& entryName) {
  const bool withRunning = line.IsConnected() && line.RunningEntry().MonitorTime == 1 &&
                           EqualsIgnoringCase(line.RunningEntryName(), entryName);
  return ledger.CalcTotalTime(store.SettingsRoot + entryName, withRunning);
}

std::string ShownEntryName(const std::string& entryName) {
  return !entryName.empty() && entryName.front() == '*' ? entryName.substr(1) : entryName;
}

std::string OnlineTimeCaption(const std::string& entryName) {
  std::string caption = "'";
  caption += ShownEntryName(entryName);
  caption += "' Online Time";
  return caption;
}

}  // namespace corvane
