// Fuzzes the reader of the connection log: any bytes as Connections.csv (a
// file edited in a spreadsheet, torn, or damaged). Every record read writes
// a row that reads back as the same record, and the file with one more
// record appended reads back with that record last.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_log_files.h"
#include "fakes/fake_registry.h"
#include "fuzz_check.h"
#include "settings/settings_store.h"
#include "stats/connection_log.h"

using corvane::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<corvane::ConnectionRecord> records = corvane::ReadConnectionRows(text);
  for (const corvane::ConnectionRecord& record : records) {
    const std::string row = corvane::ConnectionRow(record);
    const auto again = corvane::ParseConnectionRow(row);
    Check(again.has_value(), "a record read writes a row that reads back");
    Check(corvane::ConnectionRow(*again) == row, "a row read back writes the same row");
  }

  corvane::testing::FakeLogFiles files;
  files.files[corvane::kConnectionLogFile] = text;
  corvane::testing::FakeRegistry registry;
  corvane::SettingsStore store(registry);
  corvane::ConnectionLog log(files, store, 1 << 20);
  corvane::ConnectionRecord next;
  next.Entry = "Next, \"the\" one";
  next.Started = {2026, 12, 11, 4, 5, 6, 60};
  next.Ended = corvane::AddSeconds(next.Started, 90);
  next.Seconds = 90;
  next.BookedIn = {2026, 12};
  // The log shows a record it holds twice once.
  const size_t before = log.ReadAll().size();
  Check(before <= records.size(), "the log shows no record the file does not hold");
  const bool held = log.Holds(next);
  Check(log.Append(next).empty(), "the fake file takes the record");
  const std::vector<corvane::ConnectionRecord> after = log.ReadAll();
  Check(after.size() == before + (held ? 0 : 1), "an appended record is read, and spoils no record before it");
  Check(held || (!after.empty() && after.back().Entry == next.Entry), "the appended record is read last");
  return 0;
}
