// What both online-time windows list: the current month with its running
// total first, then the closed months of the history, newest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stats/month_history.h"

namespace corvane {

// The current month (`monthName`, `monthSeconds`) followed by the records
// of `previousMonths` in stored order.
std::vector<MonthRecord> MonthlyOnlineTime(const std::string& monthName, int64_t monthSeconds,
                                           const std::string& previousMonths);

// The entry name as the windows' captions show it: a custom entry without
// its leading "*".
std::string ShownEntryName(const std::string& entryName);

// "'Name' Online Time", the caption both windows end up with.
std::string OnlineTimeCaption(const std::string& entryName);

}  // namespace corvane
