// The connection log's file: rows that survive quotes, commas, formulas and
// other code pages, a torn last line, a file that cannot be written, and the
// oldest year moved to a file of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_log_files.h"
#include "stats/connection_log.h"
#include "stats/csv_fields.h"

namespace corvane::testing {
namespace {

ConnectionRecord Record(std::string entry, int year = 2026, int month = 12) {
  ConnectionRecord record;
  record.Entry = std::move(entry);
  record.Started = {year, month, 30, 23, 59, 50, 60};
  record.Ended = AddSeconds(record.Started, 75);
  record.Seconds = 75;
  record.Number = "5550100";
  record.Login = "alice";
  record.Speed = 49333;
  record.Sent = 600;
  record.Received = 5000000000ull;
  record.EndedBy = ConnectionEnd::AgeLimit;
  record.BookedIn = {year, month};
  return record;
}

void ExpectSame(const ConnectionRecord& read, const ConnectionRecord& written) {
  EXPECT_EQ(read.Entry, written.Entry);
  EXPECT_EQ(LocalDateTimeText(read.Started), LocalDateTimeText(written.Started));
  EXPECT_EQ(LocalDateTimeText(read.Ended), LocalDateTimeText(written.Ended));
  EXPECT_EQ(read.Seconds, written.Seconds);
  EXPECT_EQ(read.Number, written.Number);
  EXPECT_EQ(read.Login, written.Login);
  EXPECT_EQ(read.Speed, written.Speed);
  EXPECT_EQ(read.Sent, written.Sent);
  EXPECT_EQ(read.Received, written.Received);
  EXPECT_EQ(read.EndedBy, written.EndedBy);
  EXPECT_EQ(read.BookedIn.Year, written.BookedIn.Year);
  EXPECT_EQ(read.BookedIn.Month, written.BookedIn.Month);
}

TEST(ConnectionLogTest, RecordsRoundTripThroughTheFile) {
  struct Case {
    std::string entry, number, login;
  };
  const Case cases[] = {
      {"Work", "5550100", "alice"},
      {"Say \"hi\", then dial", "555,0100", "a \"b\""},
      {" padded ", "  ", ""},
      {"=HYPERLINK(\"x\")", "+49 30 1234", "-1"},
      {"@home", "'quoted", "''"},
      {"line\r\nbreak", "5550100", "x"},
  };
  FakeLogFiles files;
  ConnectionLog log(files);
  std::vector<ConnectionRecord> written;
  for (const Case& c : cases) {
    ConnectionRecord record = Record(c.entry);
    record.Number = c.number;
    record.Login = c.login;
    ASSERT_EQ(log.Append(record), "");
    written.push_back(record);
  }
  written.back().Entry = "line  break";  // the program never writes a break inside a field

  const std::vector<ConnectionRecord> read = log.ReadAll();
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(written[i].Entry);
    ExpectSame(read[i], written[i]);
  }
  const std::string& text = files.files[kConnectionLogFile];
  EXPECT_EQ(text.rfind("\xEF\xBB\xBFStarted,Ended,Duration (s),Entry,", 0), 0u) << "one mark and header, at the start";
  EXPECT_EQ(text.find("Started,", 10), std::string::npos);
  // A spreadsheet sees the formula as text.
  EXPECT_NE(text.find(",\"'=HYPERLINK(\"\"x\"\")\",'+49 30 1234,'-1,"), std::string::npos) << text;
}

TEST(ConnectionLogTest, EntryNamesFromTheAnsiCodePageAreWrittenAsUtf8) {
  FakeLogFiles files;
  ConnectionLog log(files);
  ASSERT_EQ(log.Append(Record("M\xFCnchen Caf\xE9")), "");
  const std::vector<ConnectionRecord> read = log.ReadAll();
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].Entry, "M\xC3\xBCnchen Caf\xC3\xA9");
}

// A power cut tears the last row; it is skipped, and the next record still
// starts a line of its own.
TEST(ConnectionLogTest, TornLastLineIsSkippedAndSpoilsNothing) {
  FakeLogFiles files;
  ConnectionLog log(files);
  ASSERT_EQ(log.Append(Record("First")), "");
  const std::string whole = files.files[kConnectionLogFile];
  const std::string row = "\r\n" + ConnectionRow(Record("Torn"));
  for (size_t cut = 1; cut < row.size(); ++cut) {
    SCOPED_TRACE(row.substr(0, cut));
    files.files[kConnectionLogFile] = whole + row.substr(0, cut);
    EXPECT_EQ(log.ReadAll().size(), 1u);
    ASSERT_EQ(log.Append(Record("Next")), "");
    const std::vector<ConnectionRecord> read = log.ReadAll();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].Entry, "Next");
  }
}

TEST(ConnectionLogTest, RowsThatAreNotRecordsAreSkipped) {
  const std::string good = ConnectionRow(Record("Work"));
  const std::string rows[] = {
      "",
      kConnectionLogHeader,
      "2026-12-30T23:59:50+01:00,2026-12-31T00:01:05+01:00,75,Work",
      good + ",extra",
      "\"unclosed" + good,
      "2026-02-30T23:59:50+01:00" + good.substr(25),  // no such day
      good.substr(0, good.size() - 1) + "3",          // month 13
  };
  for (const std::string& row : rows) {
    SCOPED_TRACE(row);
    EXPECT_FALSE(ParseConnectionRow(row).has_value());
  }
  EXPECT_TRUE(ParseConnectionRow(good).has_value());
}

// A call with a cost has it in the last two columns; rows without them,
// as every row before costs were, read as they always did; a row torn in
// its cost is no record rather than a record of a smaller cost.
TEST(ConnectionLogTest, CostColumnsAreReadWhereTheyAreAndNeverTorn) {
  FakeLogFiles files;
  ConnectionLog log(files);
  const std::string oldFileRow = ConnectionRow(Record("Old"));
  files.files[kConnectionLogFile] =
      "\xEF\xBB\xBF" + std::string(kConnectionLogHeader).substr(0, std::string(kConnectionLogHeader).find(",Cost")) +
      "\r\n" + oldFileRow;
  ConnectionRecord priced = Record("Satphone");
  priced.Cost = 1340;
  priced.CostDecimals = 2;
  priced.CostCurrency = "\xA3";  // the pound sign in the ANSI code page
  ASSERT_EQ(log.Append(priced), "");
  ASSERT_EQ(log.Append(Record("Free")), "");

  const std::vector<ConnectionRecord> read = log.ReadAll();
  ASSERT_EQ(read.size(), 3u);
  EXPECT_FALSE(read[0].Cost.has_value());
  ASSERT_TRUE(read[1].Cost.has_value());
  EXPECT_EQ(*read[1].Cost, 1340);
  EXPECT_EQ(read[1].CostDecimals, 2);
  EXPECT_EQ(read[1].CostCurrency, "\xC2\xA3");
  EXPECT_FALSE(read[2].Cost.has_value());
  const std::string& text = files.files[kConnectionLogFile];
  EXPECT_NE(text.find(",2026-12,13.40,\xC2\xA3\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), ConnectionRow(Record("Free"))) << "no cost, no columns";

  // Every cut inside the cost or before the currency's separator tears it.
  const std::string row = ConnectionRow(read[1]);
  const size_t costStart = row.find(",13.40,") + 1;
  for (size_t cut = costStart; cut < row.find(",\xC2") + 1; ++cut) {
    EXPECT_FALSE(ParseConnectionRow(row.substr(0, cut)).has_value()) << row.substr(0, cut);
  }
  EXPECT_FALSE(ParseConnectionRow(row.substr(0, costStart - 1)).value().Cost.has_value())
      << "cut before the cost: the row as it was before costs";
  // A spreadsheet that saved the file gives every row both cells.
  const auto saved = ParseConnectionRow(oldFileRow + ",,");
  ASSERT_TRUE(saved.has_value());
  EXPECT_FALSE(saved->Cost.has_value());
}

TEST(ConnectionLogTest, UnwritableFileIsReportedWithItsPath) {
  FakeLogFiles files;
  files.writeError = 32;
  ConnectionLog log(files);
  EXPECT_EQ(log.Append(Record("Work")), "Connection log: cannot write C:\\Local\\Corvane\\Connections.csv (error 32)");
}

// Past the size limit the oldest booked year moves to its own file; the log
// keeps the rest, reading takes both, and a move cut short before the log
// was rewritten adds no row twice when it runs again.
TEST(ConnectionLogTest, OldestYearMovesToAYearFileAtTheLimit) {
  FakeLogFiles files;
  const int64_t rowBytes = static_cast<int64_t>(ConnectionRow(Record("Work")).size()) + 2;
  ConnectionLog log(files, ConnectionLogStart().size() + 4 * rowBytes);
  for (int year : {2024, 2024, 2025, 2026}) ASSERT_EQ(log.Append(Record("Work", year)), "");
  EXPECT_EQ(files.files.count("Connections-2024.csv"), 0u) << "not past the limit yet";
  const std::string before = files.files[kConnectionLogFile];

  ASSERT_EQ(log.Append(Record("Work", 2026)), "");
  EXPECT_EQ(ReadConnectionRows(files.files["Connections-2024.csv"]).size(), 2u);
  EXPECT_EQ(ReadConnectionRows(files.files[kConnectionLogFile]).size(), 3u);
  EXPECT_EQ(files.files["Connections-2024.csv"].rfind(ConnectionLogStart(), 0), 0u);
  std::vector<int> years;
  for (const ConnectionRecord& record : log.ReadAll()) years.push_back(record.BookedIn.Year);
  EXPECT_EQ(years, (std::vector<int>{2024, 2024, 2025, 2026, 2026}));

  // The log as it was before the move had rewritten it: the next move finds
  // the 2024 rows in their file already.
  files.files[kConnectionLogFile] = before;
  ASSERT_EQ(log.Append(Record("Work", 2026)), "");
  EXPECT_EQ(ReadConnectionRows(files.files["Connections-2024.csv"]).size(), 2u);
  EXPECT_EQ(log.ReadAll().size(), 5u);
}

// A log of one year is never split, nor read again at every append; the
// first record of a new year moves the old one aside.
TEST(ConnectionLogTest, LogOfOneYearIsNeverSplit) {
  FakeLogFiles files;
  ConnectionLog log(files, 1);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(log.Append(Record("Work")), "");
  EXPECT_EQ(files.reads, 1) << "read once, when the limit was first passed";
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_EQ(log.ReadAll().size(), 3u);
  ASSERT_EQ(log.Append(Record("Work", 2027, 1)), "");
  EXPECT_EQ(ReadConnectionRows(files.files["Connections-2026.csv"]).size(), 3u);
}

TEST(LocalDateTimeTest, SecondsAddedAcrossDaysMonthsYearsAndLeapDays) {
  struct Case {
    LocalDateTime from;
    int64_t seconds;
    const char* expected;
  };
  const Case cases[] = {
      {{2026, 12, 31, 23, 59, 50, 60}, 15, "2027-01-01T00:00:05+01:00"},
      {{2028, 2, 28, 23, 0, 0, -330}, 3600, "2028-02-29T00:00:00-05:30"},
      {{2027, 2, 28, 23, 0, 0, 0}, 3600, "2027-03-01T00:00:00+00:00"},
      {{2026, 3, 1, 0, 0, 10, 0}, -20, "2026-02-28T23:59:50+00:00"},
  };
  for (const Case& c : cases) {
    const std::string text = LocalDateTimeText(AddSeconds(c.from, c.seconds));
    EXPECT_EQ(text, c.expected);
    const auto parsed = ParseLocalDateTime(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(LocalDateTimeText(*parsed), text);
  }
}

}  // namespace
}  // namespace corvane::testing
