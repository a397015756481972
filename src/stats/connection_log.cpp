// ConnectionLog: appending records, moving the oldest year aside, reading
// the log and its year files back.
#include "stats/connection_log.h"

#include <algorithm>
#include <set>

#include "system/text_lines.h"

namespace corvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string YearFileName(int year) { return "Connections-" + std::to_string(year) + ".csv"; }

std::string_view WithoutMark(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  return text;
}

}  // namespace

std::string ConnectionLogStart() { return std::string(kUtf8Mark) + kConnectionLogHeader; }

std::vector<ConnectionRecord> ReadConnectionRows(std::string_view text) {
  std::vector<ConnectionRecord> records;
  // Room for every line at once: a long log grows the vector no more.
  records.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  ForEachTextLine(WithoutMark(text), [&records](std::string_view line) {
    if (auto record = ParseConnectionRow(line)) records.push_back(std::move(*record));
  });
  return records;
}

ConnectionLog::ConnectionLog(ConnectionLogFiles& files, int64_t limitBytes) : files_(files), limitBytes_(limitBytes) {}

std::string ConnectionLog::Append(const ConnectionRecord& record) {
  ConnectionRecord converted = record;
  converted.Entry = files_.Utf8FromAnsi(record.Entry);
  converted.Number = files_.Utf8FromAnsi(record.Number);
  converted.Login = files_.Utf8FromAnsi(record.Login);
  converted.CostCurrency = files_.Utf8FromAnsi(record.CostCurrency);
  // The line break goes before the row: a row a power cut tore off leaves
  // its line unfinished, and this one still starts a line of its own.
  std::string bytes = "\r\n" + ConnectionRow(converted);
  const int64_t size = files_.Size(kConnectionLogFile);
  if (size <= 0) bytes = ConnectionLogStart() + bytes;
  const uint32_t error = files_.Append(kConnectionLogFile, bytes);
  if (error != 0) {
    return "Connection log: cannot write " + files_.PathOf(kConnectionLogFile) + " (error " + std::to_string(error) +
           ")";
  }
  // A log of one year past the limit stays as it is until a record of
  // another year comes: reading it again at every append would cost each
  // one the whole file.
  if (size + static_cast<int64_t>(bytes.size()) > limitBytes_ && record.BookedIn.Year != onlyYear_) MoveOldestYear();
  return {};
}

// The records of the oldest booked year go to that year's file, then the
// log is written again without them. Each step replaces a whole file, and
// a row already in the year file is not added twice, so a move cut short
// is finished by the next one. A log that holds one year only stays whole.
void ConnectionLog::MoveOldestYear() {
  std::string text;
  if (!files_.Read(kConnectionLogFile, text)) return;
  struct Row {
    std::string_view Text;
    int Year;
  };
  std::vector<Row> rows;
  ForEachTextLine(WithoutMark(text), [&rows](std::string_view line) {
    if (auto record = ParseConnectionRow(line)) rows.push_back({line, record->BookedIn.Year});
  });
  if (rows.empty()) return;
  const auto [oldest, newest] =
      std::minmax_element(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.Year < b.Year; });
  const int year = oldest->Year;
  if (year == newest->Year) {
    onlyYear_ = year;
    return;
  }

  std::string yearText;
  if (!files_.Read(YearFileName(year), yearText)) yearText = ConnectionLogStart();
  std::set<std::string_view> present;
  ForEachTextLine(yearText, [&present](std::string_view line) { present.insert(line); });
  std::string moved = yearText;
  std::string kept = ConnectionLogStart();
  for (const Row& row : rows) {
    if (row.Year != year) {
      kept += "\r\n";
      kept += row.Text;
    } else if (present.count(row.Text) == 0) {
      moved += "\r\n";
      moved += row.Text;
    }
  }
  if (!files_.Replace(YearFileName(year), moved)) return;
  files_.Replace(kConnectionLogFile, kept);
}

std::vector<ConnectionRecord> ConnectionLog::ReadAll() {
  std::vector<std::string> names = files_.YearFileNames();
  std::sort(names.begin(), names.end());
  names.push_back(kConnectionLogFile);
  std::vector<ConnectionRecord> records;
  std::string text;
  for (const std::string& name : names) {
    if (!files_.Read(name, text)) continue;
    std::vector<ConnectionRecord> part = ReadConnectionRows(text);
    if (records.empty()) {
      records = std::move(part);
      continue;
    }
    records.insert(records.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
  }
  return records;
}

}  // namespace corvane
