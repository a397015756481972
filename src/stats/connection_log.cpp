// ConnectionLog: appending records and keeping those the file refused,
// moving the oldest year aside, reading the log and its year files back.
#include "stats/connection_log.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <set>

#include "system/text_lines.h"

namespace corvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kYearFilePrefix = "Connections-";
constexpr std::string_view kYearFileSuffix = ".csv";

std::string YearFileName(int year) { return std::string(kYearFilePrefix) + std::to_string(year) + ".csv"; }

std::string_view WithoutMark(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  return text;
}

// What makes a record the same one wherever it turns up: its whole row as
// the file has it. Two records that differ in anything are two lines.
std::string Identity(const ConnectionRecord& record) { return ConnectionRow(record); }

// Adds the records of one source (a file, the pending ones) that no earlier
// source had; `seen` then takes this source's. Within a source every record
// counts, whatever an earlier version of the program wrote there.
void AddUnseen(std::vector<ConnectionRecord>& records, std::vector<ConnectionRecord>&& part,
               std::set<std::string>& seen) {
  std::vector<std::string> identities;
  for (ConnectionRecord& record : part) {
    std::string identity = Identity(record);
    if (seen.count(identity) != 0) continue;
    identities.push_back(std::move(identity));
    records.push_back(std::move(record));
  }
  seen.insert(std::make_move_iterator(identities.begin()), std::make_move_iterator(identities.end()));
}

}  // namespace

std::string ConnectionLogStart() { return std::string(kUtf8Mark) + kConnectionLogHeader; }

bool IsYearFileName(std::string_view name) {
  const size_t digits = 4;
  if (name.size() != kYearFilePrefix.size() + digits + kYearFileSuffix.size()) return false;
  const auto sameLetters = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return (x | 0x20) == (y | 0x20) || x == y; });
  };
  if (!sameLetters(name.substr(0, kYearFilePrefix.size()), kYearFilePrefix) ||
      !sameLetters(name.substr(name.size() - kYearFileSuffix.size()), kYearFileSuffix)) {
    return false;
  }
  const std::string_view year = name.substr(kYearFilePrefix.size(), digits);
  return std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Memory grows with the records kept, never with the size of the text: a
// file of nothing but line breaks costs nothing.
std::vector<ConnectionRecord> ReadConnectionRows(std::string_view text) {
  std::vector<ConnectionRecord> records;
  ForEachTextLine(WithoutMark(text), [&records](std::string_view line) {
    if (auto record = ParseConnectionRow(line)) records.push_back(std::move(*record));
  });
  return records;
}

ConnectionLog::ConnectionLog(ConnectionLogFiles& files, SettingsStore& store, int64_t limitBytes)
    : files_(files), store_(store), limitBytes_(limitBytes) {}

std::vector<ConnectionRecord> ConnectionLog::PendingRecords() {
  std::vector<ConnectionRecord> records;
  ForEachTextLine(store_.ReadRegValue(store_.SettingsRoot, kLogPendingValue), [&records](std::string_view line) {
    if (auto record = ParseConnectionRow(line)) records.push_back(std::move(*record));
  });
  return records;
}

ConnectionRecord ConnectionLog::AsLogged(ConnectionRecord record) {
  record.Entry = files_.Utf8FromAnsi(record.Entry);
  record.Number = files_.Utf8FromAnsi(record.Number);
  record.Login = files_.Utf8FromAnsi(record.Login);
  record.CostCurrency = files_.Utf8FromAnsi(record.CostCurrency);
  return record;
}

std::string ConnectionLog::Append(const ConnectionRecord& record) {
  std::vector<ConnectionRecord> records = PendingRecords();
  const bool hadPending = !records.empty();
  records.push_back(record);
  return Write(std::move(records), hadPending);
}

std::string ConnectionLog::WritePending() {
  std::vector<ConnectionRecord> records = PendingRecords();
  if (records.empty()) return {};
  return Write(std::move(records), true);
}

bool ConnectionLog::Holds(const ConnectionRecord& record) {
  const std::string identity = Identity(AsLogged(record));
  const std::vector<ConnectionRecord> records = ReadAll();
  return std::any_of(records.begin(), records.end(),
                     [&identity](const ConnectionRecord& logged) { return Identity(logged) == identity; });
}

void ConnectionLog::FailureNoticeShown() {
  failureTold_ = !failureNotice_.empty();
  failureNotice_.clear();
}

// `records` (texts in the ANSI code page) go to the file in one write. A
// program killed after a write of pending records but before it cleared
// them finds them in the file at the next write: they are not written again.
std::string ConnectionLog::Write(std::vector<ConnectionRecord> records, bool hadPending) {
  std::set<std::string> logged;
  if (hadPending) ReadFiles(logged);
  std::string bytes;
  std::string rows;  // as they are kept while pending
  int newestYear = 0;
  for (const ConnectionRecord& record : records) {
    const ConnectionRecord converted = AsLogged(record);
    if (logged.count(Identity(converted)) != 0) continue;
    // The line break goes before the row: a row a power cut tore off leaves
    // its line unfinished, and this one still starts a line of its own.
    bytes += "\r\n" + ConnectionRow(converted);
    rows += ConnectionRow(record) + "\n";
    newestYear = std::max(newestYear, record.BookedIn.Year);
  }
  const int64_t size = files_.Size(kConnectionLogFile);
  if (size <= 0) bytes = ConnectionLogStart() + bytes;
  const uint32_t error = rows.empty() ? 0 : files_.Append(kConnectionLogFile, bytes);
  if (error != 0) {
    store_.SaveRegValue(store_.SettingsRoot, kLogPendingValue, rows);
    const std::string reason = files_.ErrorText(error);
    if (!failureTold_) {
      failureNotice_ = "Corvane cannot write its connection log: " + reason +
                       " The connections are kept and written as soon as the file can be written.";
    }
    return "Connection log: cannot write " + files_.PathOf(kConnectionLogFile) + " (error " + std::to_string(error) +
           ": " + reason + "); " + std::to_string(std::count(rows.begin(), rows.end(), '\n')) +
           " connection(s) kept until it can be.";
  }
  if (hadPending) store_.SaveRegValue(store_.SettingsRoot, kLogPendingValue, "");
  failureNotice_.clear();
  failureTold_ = false;
  // A log of one year past the limit stays as it is until a record of
  // another year comes: reading it again at every append would cost each
  // one the whole file.
  if (!rows.empty() && size + static_cast<int64_t>(bytes.size()) > limitBytes_ && newestYear != onlyYear_) {
    MoveOldestYear();
  }
  return {};
}

// The records of the oldest booked year go to that year's file, then the
// log is written again with every other line it holds, records or not (a
// torn row, a row of a newer version, one a spreadsheet saved back), so
// nothing is lost that the move did not place. Each step replaces a whole
// file (written aside, then moved over it); a year file that is there but
// cannot be read is never replaced. A row already in the year file is not
// added twice, so a move cut short is finished by the next one, and
// reading shows a record both files hold once.
void ConnectionLog::MoveOldestYear() {
  std::string text;
  if (!files_.Read(kConnectionLogFile, text)) return;
  struct Line {
    std::string_view Text;
    int Year;  // 0 for a line that is not a record
  };
  std::vector<Line> lines;
  int oldest = 0;
  int newest = 0;
  ForEachTextLine(WithoutMark(text), [&](std::string_view line) {
    if (line.empty() || line == kConnectionLogHeader) return;
    const auto record = ParseConnectionRow(line);
    const int year = record ? record->BookedIn.Year : 0;
    lines.push_back({line, year});
    if (year == 0) return;
    oldest = oldest == 0 ? year : std::min(oldest, year);
    newest = std::max(newest, year);
  });
  if (oldest == newest) {
    onlyYear_ = oldest;
    return;
  }

  const std::string yearName = YearFileName(oldest);
  std::string yearText;
  if (!files_.Read(yearName, yearText) && files_.Size(yearName) >= 0) return;
  if (yearText.empty()) yearText = ConnectionLogStart();
  std::set<std::string_view> present;
  ForEachTextLine(yearText, [&present](std::string_view line) { present.insert(line); });
  std::string moved = yearText;
  std::string kept = ConnectionLogStart();
  for (const Line& line : lines) {
    if (line.Year != oldest) {
      kept += "\r\n";
      kept += line.Text;
    } else if (present.count(line.Text) == 0) {
      moved += "\r\n";
      moved += line.Text;
    }
  }
  if (!files_.Replace(yearName, moved)) return;
  files_.Replace(kConnectionLogFile, kept);
}

// A file that cannot be held in memory is left out, as an unreadable one is:
// whoever reads the log (the line's allowance on its way up, among others)
// goes on without it.
std::vector<ConnectionRecord> ConnectionLog::ReadFiles(std::set<std::string>& seen) {
  std::vector<std::string> names = files_.YearFileNames();
  names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& name) { return !IsYearFileName(name); }),
              names.end());
  std::sort(names.begin(), names.end());
  names.push_back(kConnectionLogFile);
  std::vector<ConnectionRecord> records;
  for (const std::string& name : names) {
    try {
      std::string text;
      if (!files_.Read(name, text)) continue;
      AddUnseen(records, ReadConnectionRows(text), seen);
    } catch (const std::exception&) {
      continue;
    }
  }
  return records;
}

std::vector<ConnectionRecord> ConnectionLog::ReadAll() {
  std::set<std::string> seen;
  std::vector<ConnectionRecord> records = ReadFiles(seen);
  std::vector<ConnectionRecord> pending;
  for (const ConnectionRecord& record : PendingRecords()) pending.push_back(AsLogged(record));
  AddUnseen(records, std::move(pending), seen);
  return records;
}

}  // namespace corvane
