// The connection log window on fakes: months newest first with "All", the
// entry filter, totals of the rows shown, sorting by a column's values, the
// export of the rows shown, and the chart of seconds per day.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_log_files.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system.h"
#include "stats/connection_log_chart.h"
#include "stats/connection_log_form.h"

namespace corvane::testing {
namespace {

ConnectionRecord Line(const std::string& entry, CalendarDate month, int day, int64_t seconds, uint64_t received) {
  ConnectionRecord record;
  record.Entry = entry;
  record.Started = {month.Year, month.Month, day, 22, 0, 0, 60};
  record.Seconds = seconds;
  record.Ended = AddSeconds(record.Started, seconds);
  record.Number = "5550100";
  record.Sent = 100;
  record.Received = received;
  record.BookedIn = month;
  return record;
}

class ConnectionLogWindowTest : public ::testing::Test {
 protected:
  void Log(const ConnectionRecord& record) { ASSERT_EQ(log.Append(record), ""); }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < form.lvwLog.RowCount(); ++row) cells.push_back(form.lvwLog.Cell(row, column));
    return cells;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeLogFiles files;
  ConnectionLog log{files, store};
  FakeFileDialog fileDialog;
  FakeMessageBox messages;
  FakeClock clock;
  ConnectionLogForm form{ConnectionLogSources{log, files, fileDialog, messages, clock}};
};

TEST_F(ConnectionLogWindowTest, ShowsTheChosenMonthAndEntryWithTotals) {
  Log(Line("Work", {2026, 10}, 3, 600, 1000));
  Log(Line("Home", {2026, 11}, 4, 120, 2000));
  Log(Line("Work", {2026, 12}, 5, 3600, 3000));
  Log(Line("Work", {2026, 12}, 1, 90, 4000));
  Log(Line("H\xFCtte", {2026, 12}, 2, 10, 5000));
  form.Load();

  EXPECT_EQ(form.cmbMonth.Items().Texts(),
            (std::vector<std::string>{"December 2026", "November 2026", "October 2026", "All"}));
  EXPECT_EQ(form.cmbEntry.Items().Texts(), (std::vector<std::string>{"All entries", "Home", "H\xFCtte", "Work"}));
  EXPECT_EQ(Column(3), (std::vector<std::string>{"Work", "H\xFCtte", "Work"})) << "December, by start";
  EXPECT_EQ(Column(0)[0], "2026-12-01 22:00:00");
  EXPECT_EQ(form.lblTotals.Caption(), "3 connections   Time: 01:01:40   Sent: 300 bytes   Received: 12,000 bytes");

  form.cmbEntry.OnUserSelect(3);  // Work
  EXPECT_EQ(form.lvwLog.RowCount(), 2);
  form.cmbMonth.OnUserSelect(3);  // All
  EXPECT_EQ(form.lvwLog.RowCount(), 3);
  EXPECT_EQ(form.lblTotals.Caption(), "3 connections   Time: 01:11:30   Sent: 300 bytes   Received: 8,000 bytes");
}

// The Cost column and total: rows of other decimals summed exactly, rows
// without a cost counted as none; the total is the sum of the cells shown.
TEST_F(ConnectionLogWindowTest, CostsAreShownAndSummedExactly) {
  const auto priced = [](ConnectionRecord record, int64_t cost, int decimals) {
    record.Cost = cost;
    record.CostDecimals = decimals;
    record.CostCurrency = "EUR";
    return record;
  };
  Log(priced(Line("Sat", {2026, 12}, 1, 25, 0), 130, 2));
  Log(priced(Line("Sat", {2026, 12}, 2, 60, 0), 1205, 3));
  Log(Line("Work", {2026, 12}, 3, 60, 0));
  form.Load();
  const int cost = static_cast<int>(LogColumn::Cost);
  EXPECT_EQ(Column(cost), (std::vector<std::string>{"1.30", "1.205", ""}));
  EXPECT_NE(form.lblTotals.Caption().find("   Cost: 2.505"), std::string::npos) << form.lblTotals.Caption();
  form.lvwLog_ColumnClick(cost);
  EXPECT_EQ(Column(cost), (std::vector<std::string>{"", "1.205", "1.30"}));

  form.cmbEntry.OnUserSelect(2);  // Work
  EXPECT_EQ(form.lblTotals.Caption().find("Cost"), std::string::npos) << "no cost without a tariff";
}

// Durations and bytes sort as numbers, not as texts; a second click on the
// same header turns the order round.
TEST_F(ConnectionLogWindowTest, ColumnsSortByTheirValues) {
  Log(Line("Work", {2026, 12}, 1, 90, 900));
  Log(Line("Work", {2026, 12}, 2, 36000, 10000));
  Log(Line("Work", {2026, 12}, 3, 600, 2000));
  form.Load();
  form.lvwLog.OnUserColumnClick(2);
  EXPECT_EQ(Column(2), (std::vector<std::string>{"00:01:30", "00:10:00", "10:00:00"}));
  form.lvwLog.OnUserColumnClick(2);
  EXPECT_EQ(Column(2), (std::vector<std::string>{"10:00:00", "00:10:00", "00:01:30"}));
  form.lvwLog.OnUserColumnClick(8);
  EXPECT_EQ(Column(8), (std::vector<std::string>{"900", "2000", "10000"}));
}

TEST_F(ConnectionLogWindowTest, ExportWritesTheRowsShown) {
  Log(Line("Work", {2026, 11}, 1, 90, 900));
  Log(Line("Work", {2026, 12}, 2, 600, 2000));
  Log(Line("Home", {2026, 12}, 3, 60, 100));
  form.Load();
  form.lvwLog.OnUserColumnClick(2);
  fileDialog.chosenPath = "C:\\Users\\me\\December.csv";
  form.cmdExport.OnUserClick();
  ASSERT_EQ(fileDialog.requests.size(), 1u);
  EXPECT_EQ(fileDialog.requests[0].defaultExtension, "csv");
  const std::vector<ConnectionRecord> exported = ReadConnectionRows(files.exported[fileDialog.chosenPath]);
  ASSERT_EQ(exported.size(), 2u);
  EXPECT_EQ(exported[0].Entry, "Home");
  EXPECT_EQ(exported[1].Seconds, 600);
  EXPECT_EQ(files.exported[fileDialog.chosenPath].rfind(ConnectionLogStart(), 0), 0u);

  files.writeError = 5;
  form.cmdExport.OnUserClick();
  ASSERT_EQ(messages.shown.size(), 1u);
}

TEST(ConnectionLogChartTest, LinesAreSplitAtMidnightIntoTheirDays) {
  std::vector<ConnectionRecord> records{Line("Work", {2026, 12}, 31, 10800, 0), Line("Work", {2026, 11}, 30, 10800, 0),
                                        Line("Work", {2026, 12}, 5, 600, 0)};
  std::vector<const ConnectionRecord*> all;
  for (const ConnectionRecord& record : records) all.push_back(&record);
  const std::vector<int64_t> december = SecondsPerDay(all, {2026, 12});
  EXPECT_EQ(december[31], 7200);  // 22:00 to midnight; the rest is January's
  EXPECT_EQ(december[1], 3600 * 1);  // 22:00 on 30 November for three hours
  EXPECT_EQ(december[5], 600);
  EXPECT_EQ(SecondsPerDay(all, {2027, 1})[1], 3600);
}

// Each case: lines of December 2026 (day, hour, seconds), then one day's bar.
TEST(ConnectionLogChartTest, BarsAreTheDaysTimeScaledToTheBusiestDay) {
  struct LineAt {
    int day, hour;
    int64_t seconds;
  };
  struct Case {
    const char* name;
    std::vector<LineAt> lines;
    int day;
    double fraction;
    std::string tip;
  };
  const Case cases[] = {
      {"a day with no time", {{5, 9, 600}}, 4, 0.0, "4 December 2026: 00:00:00"},
      {"a full day", {{10, 0, 86400}, {11, 8, 3600}}, 10, 1.0, "10 December 2026: 24:00:00"},
      {"a line over midnight, first day", {{7, 22, 10800}}, 7, 1.0, "7 December 2026: 02:00:00"},
      {"a line over midnight, second day", {{7, 22, 10800}}, 8, 0.5, "8 December 2026: 01:00:00"},
      {"the tallest bar reaches the top", {{2, 8, 1800}, {3, 8, 3600}, {3, 20, 3600}}, 2, 0.25,
       "2 December 2026: 00:30:00"},
  };
  FakeClock clock;
  const auto monthName = [&clock](int number) { return clock.MonthName(number); };
  for (const Case& c : cases) {
    std::vector<ConnectionRecord> records;
    for (const LineAt& line : c.lines) {
      ConnectionRecord record = Line("Work", {2026, 12}, line.day, line.seconds, 0);
      record.Started.Hour = line.hour;
      record.Ended = AddSeconds(record.Started, line.seconds);
      records.push_back(record);
    }
    std::vector<const ConnectionRecord*> all;
    for (const ConnectionRecord& record : records) all.push_back(&record);
    const forms::Chart::Data chart = DailyChart(SecondsPerDay(all, {2026, 12}), {2026, 12}, monthName);
    ASSERT_EQ(chart.Bars.size(), 31u) << c.name;
    const forms::Chart::Bar& bar = chart.Bars[static_cast<size_t>(c.day - 1)];
    EXPECT_DOUBLE_EQ(bar.Fraction, c.fraction) << c.name;
    EXPECT_EQ(bar.Tip, c.tip) << c.name;
  }
}

TEST(ConnectionLogChartTest, OneBarPerDayOfTheMonthAndANoteWithoutTime) {
  FakeClock clock;
  const auto monthName = [&clock](int number) { return clock.MonthName(number); };
  std::vector<int64_t> days(32, 0);
  days[14] = 5400;
  const forms::Chart::Data february = DailyChart(days, {2027, 2}, monthName);
  ASSERT_EQ(february.Bars.size(), 28u);
  EXPECT_EQ(february.TopLabel, "01:30:00");
  EXPECT_EQ(february.Bars[0].Label, "1");
  EXPECT_EQ(february.Bars[1].Label, "");
  EXPECT_EQ(february.Bars[24].Label, "25");
  days[14] = 0;
  const forms::Chart::Data empty = DailyChart(days, {2027, 2}, monthName);
  EXPECT_TRUE(empty.Bars.empty());
  EXPECT_EQ(empty.Note, "No online time in February 2027.");
}

// The chart is of one month: with "All" it is hidden and the list takes its room.
TEST_F(ConnectionLogWindowTest, TheChartShowsTheChosenMonthOnly) {
  Log(Line("Work", {2026, 11}, 4, 600, 0));
  Log(Line("Home", {2026, 12}, 5, 3600, 0));
  Log(Line("Work", {2026, 12}, 6, 1800, 0));
  form.Load();
  ASSERT_TRUE(form.chtDays.Visible());
  ASSERT_EQ(form.chtDays.Contents().Bars.size(), 31u);
  EXPECT_DOUBLE_EQ(form.chtDays.Contents().Bars[5].Fraction, 0.5);
  const int listHeight = form.lvwLog.Height();

  form.cmbEntry.OnUserSelect(2);  // Work
  EXPECT_DOUBLE_EQ(form.chtDays.Contents().Bars[5].Fraction, 1.0) << "scaled to the rows shown";
  EXPECT_DOUBLE_EQ(form.chtDays.Contents().Bars[4].Fraction, 0.0);

  form.cmbMonth.OnUserSelect(2);  // All
  EXPECT_FALSE(form.chtDays.Visible());
  EXPECT_GT(form.lvwLog.Height(), listHeight);
  form.cmbMonth.OnUserSelect(1);  // November
  EXPECT_TRUE(form.chtDays.Visible());
  EXPECT_EQ(form.lvwLog.Height(), listHeight);
}

}  // namespace
}  // namespace corvane::testing
