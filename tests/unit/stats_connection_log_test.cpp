// The connection log's file: rows that survive quotes, commas, formulas and
// other code pages, a torn last line, a file that cannot be written, and the
// oldest year moved to a file of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_log_files.h"
#include "fakes/fake_registry.h"
#include "stats/connection_log.h"
#include "stats/csv_fields.h"

namespace corvane::testing {
namespace {

// The program's key, where the records the file refused wait.
struct PendingStore {
  FakeRegistry registry;
  SettingsStore store{registry};
};

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
      {"Work", "5550100", "x;=HYPERLINK(\"http://x\")"},
      {"Work", "\t=1+1", "\r=1+1"},
  };
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  std::vector<ConnectionRecord> written;
  for (const Case& c : cases) {
    ConnectionRecord record = Record(c.entry);
    record.Number = c.number;
    record.Login = c.login;
    ASSERT_EQ(log.Append(record), "");
    written.push_back(record);
  }
  written[5].Entry = "line  break";  // the program never writes a break inside a field
  written.back().Login = " =1+1";

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
  // Where the list separator is a semicolon, the login stays one cell;
  // a tab or a line break before a formula does not run it either.
  EXPECT_NE(text.find(",\"x;=HYPERLINK(\"\"http://x\"\")\","), std::string::npos) << text;
  EXPECT_NE(text.find(",'\t=1+1,\" =1+1\","), std::string::npos) << text;
}

TEST(ConnectionLogTest, EntryNamesFromTheAnsiCodePageAreWrittenAsUtf8) {
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  ASSERT_EQ(log.Append(Record("M\xFCnchen Caf\xE9")), "");
  const std::vector<ConnectionRecord> read = log.ReadAll();
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].Entry, "M\xC3\xBCnchen Caf\xC3\xA9");
}

// A power cut tears the last row; it is skipped, and the next record still
// starts a line of its own.
TEST(ConnectionLogTest, TornLastLineIsSkippedAndSpoilsNothing) {
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
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
  PendingStore pending;
  ConnectionLog log(files, pending.store);
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
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  EXPECT_EQ(log.Append(Record("Work")),
            "Connection log: cannot write C:\\Local\\Corvane\\Connections.csv (error 32: System error 32.); 1 "
            "connection(s) kept until it can be.");
}

// Past the size limit the oldest booked year moves to its own file; the log
// keeps the rest, reading takes both, and a move cut short before the log
// was rewritten adds no row twice when it runs again.
TEST(ConnectionLogTest, OldestYearMovesToAYearFileAtTheLimit) {
  FakeLogFiles files;
  const int64_t rowBytes = static_cast<int64_t>(ConnectionRow(Record("Work")).size()) + 2;
  PendingStore pending;
  ConnectionLog log(files, pending.store, ConnectionLogStart().size() + 4 * rowBytes);
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
  PendingStore pending;
  ConnectionLog log(files, pending.store, 1);
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

std::vector<std::string> Entries(const std::vector<ConnectionRecord>& records) {
  std::vector<std::string> entries;
  for (const ConnectionRecord& record : records) entries.push_back(record.Entry);
  return entries;
}

// A record the file refuses stays pending: reading (and so the allowance)
// counts it meanwhile, the tray is told once, and the next write that
// succeeds, at the next line's end or at the next start, writes every
// pending record in order before anything else.
TEST(ConnectionLogPendingTest, RefusedRecordsWaitAndAreWrittenInOrderLater) {
  struct Case {
    const char* name;
    uint32_t error;  // sharing violation, access denied (read-only), disk full
    bool nextStart;  // written by the next start rather than the next line's end
  };
  const Case cases[] = {
      {"held open, next line", 32, false}, {"held open, next start", 32, true},
      {"read-only, next line", 5, false},  {"read-only, next start", 5, true},
      {"disk full, next line", 112, false}, {"disk full, next start", 112, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeLogFiles files;
    PendingStore pending;
    ConnectionLog log(files, pending.store);
    ASSERT_EQ(log.Append(Record("Early")), "");
    files.writeError = c.error;
    ConnectionRecord first = Record("First");
    first.Started.Minute = 10;
    ConnectionRecord second = Record("Second");
    second.Started.Minute = 20;
    EXPECT_NE(log.Append(first).find("System error " + std::to_string(c.error) + "."), std::string::npos);
    EXPECT_EQ(log.FailureNotice(), "Corvane cannot write its connection log: System error " +
                                       std::to_string(c.error) +
                                       ". The connections are kept and written as soon as the file can be written.");
    log.FailureNoticeShown();
    EXPECT_NE(log.Append(second).find("2 connection(s) kept"), std::string::npos);
    EXPECT_EQ(log.FailureNotice(), "") << "told once";
    EXPECT_EQ(Entries(log.ReadAll()), (std::vector<std::string>{"Early", "First", "Second"}))
        << "counted while pending, each once";
    EXPECT_EQ(ReadConnectionRows(files.files[kConnectionLogFile]).size(), 1u);

    files.writeError = 0;
    if (c.nextStart) {
      ConnectionLog restarted(files, pending.store);
      EXPECT_EQ(restarted.WritePending(), "");
    } else {
      ConnectionRecord third = Record("Third");
      third.Started.Minute = 30;
      EXPECT_EQ(log.Append(third), "");
    }
    std::vector<std::string> expected{"Early", "First", "Second"};
    if (!c.nextStart) expected.push_back("Third");
    EXPECT_EQ(Entries(ReadConnectionRows(files.files[kConnectionLogFile])), expected);
    EXPECT_EQ(pending.store.ReadRegValue(kSettingsRoot, kLogPendingValue), "");
  }
}

// Pending records a killed program had written but not yet cleared are
// not written again.
TEST(ConnectionLogPendingTest, PendingRecordsTheFileHoldsAlreadyAreNotWrittenAgain) {
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  files.writeError = 32;
  log.Append(Record("Work"));
  const std::string kept = pending.store.ReadRegValue(kSettingsRoot, kLogPendingValue);
  files.writeError = 0;
  ASSERT_EQ(log.WritePending(), "");
  pending.store.SaveRegValue(kSettingsRoot, kLogPendingValue, kept);  // as the kill left it
  ASSERT_EQ(ConnectionLog(files, pending.store).WritePending(), "");
  EXPECT_EQ(ReadConnectionRows(files.files[kConnectionLogFile]).size(), 1u);
}

// Only Connections-NNNN.csv is a year file: a user's copy beside the log
// is never read as part of it.
TEST(ConnectionLogTest, OnlyFourDigitYearFilesAreReadWithTheLog) {
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  ConnectionRecord older = Record("Work", 2025);
  ASSERT_EQ(log.Append(older), "");
  files.files["Connections-2024.csv"] = ConnectionLogStart() + "\r\n" + ConnectionRow(Record("Old", 2024));
  ConnectionRecord copied = Record("Copy");
  copied.Started.Minute = 1;  // another record, in the user's file only
  files.files["Connections-backup.csv"] = ConnectionLogStart() + "\r\n" + ConnectionRow(copied);
  files.files["Connections-20245.csv"] = files.files["Connections-backup.csv"];
  EXPECT_EQ(Entries(log.ReadAll()), (std::vector<std::string>{"Old", "Work"}));

  for (const char* name : {"Connections-2024.csv", "connections-1999.CSV"}) EXPECT_TRUE(IsYearFileName(name)) << name;
  for (const char* name : {"Connections-backup.csv", "Connections-20245.csv", "Connections-202.csv",
                           "Connections-2024.csv.bak", "Connections.csv", "Connections-2024.txt"}) {
    EXPECT_FALSE(IsYearFileName(name)) << name;
  }
}

// A read that runs out of memory (a huge or damaged file) leaves that file
// out; the reader never throws at whoever asked.
TEST(ConnectionLogTest, ReadThatRunsOutOfMemoryLeavesTheFileOut) {
  FakeLogFiles files;
  PendingStore pending;
  ConnectionLog log(files, pending.store);
  ASSERT_EQ(log.Append(Record("Work")), "");
  files.readThrows = true;
  std::vector<ConnectionRecord> read;
  EXPECT_NO_THROW(read = log.ReadAll());
  EXPECT_TRUE(read.empty());
  // A text of nothing but line breaks holds no records, and takes no room for any.
  EXPECT_TRUE(ReadConnectionRows(std::string(1 << 20, '\n')).empty());
}

// The year move keeps every line it does not move, never replaces a year
// file it could not read, and a move cut short shows no record twice.
TEST(ConnectionLogTest, YearMoveKeepsEveryLineAndShowsNoRecordTwice) {
  const std::string torn = ConnectionRow(Record("Torn", 2026)).substr(0, 40);
  const std::string newer = ConnectionRow(Record("Newer", 2026)) + ",0.42";
  std::string semicolons = ConnectionRow(Record("Spreadsheet", 2026));
  std::replace(semicolons.begin(), semicolons.end(), ',', ';');
  struct Case {
    const char* name;
    bool yearFileUnreadable;
    bool logUnreplaceable;
  };
  const Case cases[] = {
      {"a whole move", false, false},
      {"an unreadable year file", true, false},
      {"a failed second replace", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeLogFiles files;
    PendingStore pending;
    files.files[kConnectionLogFile] = ConnectionLogStart() + "\r\n" + ConnectionRow(Record("Old", 2025)) + "\r\n" +
                                      torn + "\r\n" + newer + "\r\n" + semicolons + "\r\n" +
                                      ConnectionRow(Record("Work", 2026));
    const std::string unreadableYear = "whatever was there";
    if (c.yearFileUnreadable) {
      files.files["Connections-2025.csv"] = unreadableYear;
      files.unreadable.insert("Connections-2025.csv");
    }
    if (c.logUnreplaceable) files.unreplaceable.insert(kConnectionLogFile);
    ConnectionLog log(files, pending.store, 1);
    ConnectionRecord next = Record("Next", 2026);
    next.Started.Minute = 1;
    ASSERT_EQ(log.Append(next), "");

    const std::string& text = files.files[kConnectionLogFile];
    for (const std::string& line : {torn, newer, semicolons}) EXPECT_NE(text.find(line), std::string::npos) << line;
    if (c.yearFileUnreadable) {
      EXPECT_EQ(files.files["Connections-2025.csv"], unreadableYear);
      EXPECT_NE(text.find(ConnectionRow(Record("Old", 2025))), std::string::npos);
    } else {
      EXPECT_EQ(Entries(ReadConnectionRows(files.files["Connections-2025.csv"])), (std::vector<std::string>{"Old"}));
    }
    EXPECT_EQ(Entries(log.ReadAll()), (std::vector<std::string>{"Old", "Work", "Next"}));
  }
}

}  // namespace
}  // namespace corvane::testing
