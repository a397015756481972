// What both online-time windows list: the current month with its running
// total first, then the closed months of the history, newest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "stats/live_connection.h"
#include "stats/month_history.h"
#include "stats/online_time_ledger.h"

namespace corvane {

// The current month (`monthName`, `monthSeconds`) followed by the records
// of `previousMonths` in stored order.
std::vector<MonthRecord> MonthlyOnlineTime(const std::string& monthName, int64_t monthSeconds,
                                           const std::string& previousMonths);

// The current month's total of `entryName` that both windows show: its
// booked seconds, plus the running line's while they belong to that entry
// and are still to be booked. A line of another entry, a line whose time is
// not monitored (it is never booked) and one whose monitoring was switched
// off (it was booked then) add nothing.
int32_t MonthTotal(OnlineTimeLedger& ledger, const SettingsStore& store, const LiveConnection& line,
                   const std::string& entryName);

// The entry name as the windows' captions show it: a custom entry without
// its leading "*".
std::string ShownEntryName(const std::string& entryName);

// "'Name' Online Time", the caption both windows end up with.
std::string OnlineTimeCaption(const std::string& entryName);

}  // namespace corvane
