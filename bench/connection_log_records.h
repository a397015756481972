// A made-up connection log for the benchmarks: record after record of
// evening lines, about one a day and a half, two entries (one with a quote
// and a comma in its name), so that 100,000 records span thirty years.
#pragma once

#include <string>

#include "stats/connection_record.h"

namespace corvane::bench {

// The `index`th record (from 0) of the made-up log.
ConnectionRecord BenchRecord(int index);

// The file text of a log of the first `count` records: header and rows.
std::string BenchLogText(int count);

}  // namespace corvane::bench
