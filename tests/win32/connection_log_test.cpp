// The connection log through the real program on the stand-in: a line the
// user ends, one the age rule ends, one that drops, and one whose program is
// killed, logged at the next start. The file holds four records with their
// reasons, the seconds the stand-in had each line up, and the traffic it
// last reported for each; the window lists them and exports the same rows.
// And a log a spreadsheet holds open: the lines ended meanwhile are written
// once it lets go.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "stats/connection_log.h"
#include "stats/connection_log_ids.h"
#include "stats/statistics_ids.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"
#include "system/text_lines.h"
#include "win32/unique_handle.h"
#include "win32/win32_connection_log_files.h"

namespace corvane::testing {
namespace {

struct Traffic {
  uint32_t sent = 0;
  uint32_t received = 0;
  double seconds = 0;
};

class ConnectionLogTest : public WorkEntryTest {
 protected:
  void SetUp() override {
    WorkEntryTest::SetUp();
    DeleteEntry("Home");
    DeleteFileA(files_.PathOf(kConnectionLogFile).c_str());
    ClearPending();
  }
  static void ClearPending() {
    std::string root = kSettingsRoot;
    root.pop_back();  // its trailing backslash
    RegDeleteKeyValueA(HKEY_CURRENT_USER, root.c_str(), kLogPendingValue);
  }
  void TearDown() override {
    DeleteEntry("Home");
    WorkEntryTest::TearDown();
  }

  // "Work", monitored, with `more`; a fresh key each run.
  static void SeedWork(std::vector<std::pair<std::string, std::string>> more) {
    DeleteEntry("Work");
    std::vector<std::pair<std::string, std::string>> values{
        {"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}, {"Minutes", "0"}, {"Seconds", "1"},
        {"DoNotAsk", "1"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry("Work", values);
  }

  // The last traffic answer of each line, lines in the order they first
  // reported.
  static std::vector<Traffic> LastTrafficOfEachLine() {
    std::istringstream log(Control("traffic"));
    std::vector<std::string> order;
    std::map<std::string, Traffic> last;
    for (std::string line; std::getline(log, line);) {
      std::istringstream fields(line);
      std::string handle;
      Traffic traffic;
      if (!(fields >> handle >> traffic.sent >> traffic.received >> traffic.seconds)) continue;
      if (last.count(handle) == 0) order.push_back(handle);
      last[handle] = traffic;
    }
    std::vector<Traffic> lines;
    for (const std::string& handle : order) lines.push_back(last[handle]);
    return lines;
  }

  Win32ConnectionLogFiles files_;
};

TEST_F(ConnectionLogTest, FourLinesAreLoggedWithTheirEndsSecondsAndTraffic) {
  WriteScenario(
      "dial connect 49333 rx 4000 tx 600\n"
      "dial connect 33600 rx 3000 tx 500\n"
      "dial connect 28800 drop-after 3 rx 2000 tx 400\n"
      "dial connect 49333 rx 1000 tx 300\n");
  // Each program reads the traffic every second, as it writes its checkpoint.
  const char* const kProgram = "corvane_quick_checkpoint.exe";
  {
    SeedWork({});
    ProgramUnderTest program("Work", kProgram);
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(WaitTicks(5));
    PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(program.WaitForExit(10000));
  }
  {
    SeedWork({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "2"}});
    ProgramUnderTest program("Work", kProgram);
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(program.WaitForExit(15000));
  }
  {
    SeedWork({{"AutoReconnect", "0"}});
    ProgramUnderTest program("Work", kProgram);
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(program.WaitForExit(15000));
  }
  ASSERT_EQ(LineSeconds().size(), 3u) << Control("lines");
  {
    SeedWork({});
    ProgramUnderTest program("Work", kProgram);
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(WaitUntil([] { return std::atoi(ReadValue(EntryKey("Work"), "OnlineCheckpoint").c_str()) >= 3; }));
  }  // killed: no exit path runs
  ProgramUnderTest next("Home");
  HWND dialer = next.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([] { return ReadValue(EntryKey("Work"), "LogCheckpoint").empty(); }));

  std::string text;
  ASSERT_TRUE(files_.Read(kConnectionLogFile, text));
  EXPECT_EQ(text.rfind(ConnectionLogStart(), 0), 0u);
  const std::vector<ConnectionRecord> records = ReadConnectionRows(text);
  ASSERT_EQ(records.size(), 4u) << text;
  const ConnectionEnd ends[] = {ConnectionEnd::User, ConnectionEnd::AgeLimit, ConnectionEnd::LineDropped,
                                ConnectionEnd::ProgramStopped};
  const uint32_t speeds[] = {49333, 33600, 28800, 49333};
  const std::vector<double> lines = LineSeconds();
  const std::vector<Traffic> traffic = LastTrafficOfEachLine();
  ASSERT_EQ(traffic.size(), 4u) << Control("traffic");
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    const ConnectionRecord& record = records[i];
    EXPECT_EQ(record.EndedBy, ends[i]);
    EXPECT_EQ(record.Entry, "Work");
    EXPECT_EQ(record.Number, "5550100");
    EXPECT_EQ(record.Speed, speeds[i]);
    // The killed line was never hung up: its length is what the stand-in
    // last told the program.
    EXPECT_NEAR(static_cast<double>(record.Seconds), i < 3 ? lines[i] : traffic[i].seconds, 1.0);
    EXPECT_EQ(record.Sent, traffic[i].sent);
    EXPECT_EQ(record.Received, traffic[i].received);
  }
  EXPECT_GT(records[0].Received, 0u);

  // The window lists them (every month: a run across midnight at a month's
  // end would split them), and its export writes the same rows.
  PostMessageA(dialer, WM_COMMAND, IDM_CONNECTION_LOG, 0);
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    window = FindWindowA(nullptr, "Connection Log");
    return window != nullptr && GetDlgItem(window, IDC_LOG_LVWLOG) != nullptr;
  }));
  HWND months = GetDlgItem(window, IDC_LOG_CMBMONTH);
  const auto all = SendMessageA(months, CB_GETCOUNT, 0, 0) - 1;
  SendMessageA(months, CB_SETCURSEL, static_cast<WPARAM>(all), 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_LOG_CMBMONTH, CBN_SELCHANGE), reinterpret_cast<LPARAM>(months));
  EXPECT_EQ(SendDlgItemMessageA(window, IDC_LOG_LVWLOG, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(ControlText(window, IDC_LOG_LBLTOTALS).rfind("4 connections", 0), 0u) << ControlText(window, IDC_LOG_LBLTOTALS);

  const std::string exported = folder_ + "\\exported.csv";
  DeleteFileA(exported.c_str());
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_LOG_CMDEXPORT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_LOG_CMDEXPORT)));
  HWND saveAs = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (saveAs = FindWindowA(nullptr, "Export Connections")) != nullptr; }));
  // The file name box of the common dialog (cmb13, or edt1 in the old style).
  if (!SetDlgItemTextA(saveAs, 0x47c, exported.c_str())) SetDlgItemTextA(saveAs, 0x480, exported.c_str());
  PostMessageA(saveAs, WM_COMMAND, IDOK, 0);
  std::string written;
  ASSERT_TRUE(WaitUntil([&] {
    std::ifstream file(exported, std::ios::binary);
    written.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return ReadConnectionRows(written).size() == 4;
  })) << written;
  const std::vector<ConnectionRecord> rows = ReadConnectionRows(written);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(ConnectionRow(rows[i]), ConnectionRow(records[i]));
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_TRUE(next.WaitForExit(10000));
}

// A spreadsheet holds Connections.csv open without sharing its writes
// while three lines end: none is lost. Once it lets go, the next start
// writes all three, in order, with their traffic.
TEST_F(ConnectionLogTest, LinesEndedWhileTheLogIsHeldOpenAreWrittenOnceItIsFree) {
  WriteScenario(
      "dial connect 49333 rx 4000 tx 600\n"
      "dial connect 33600 rx 3000 tx 500\n"
      "dial connect 28800 rx 2000 tx 400\n");
  ASSERT_TRUE(files_.Replace(kConnectionLogFile, ConnectionLogStart()));
  {
    const UniqueFileHandle spreadsheet(CreateFileA(files_.PathOf(kConnectionLogFile).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                   nullptr));
    ASSERT_TRUE(spreadsheet);
    for (int line = 0; line < 3; ++line) {
      SeedWork({});
      ProgramUnderTest program("Work", "corvane_quick_checkpoint.exe");
      HWND dialer = program.MainWindow();
      ASSERT_TRUE(WaitConnected(program, dialer));
      ASSERT_TRUE(WaitTicks(3));
      PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
      ASSERT_TRUE(program.WaitForExit(10000));
    }
    std::string text;
    ASSERT_TRUE(files_.Read(kConnectionLogFile, text));
    EXPECT_TRUE(ReadConnectionRows(text).empty()) << "held open: nothing written";
    EXPECT_EQ(SplitTextLines(ReadValue(EntryKey(""), kLogPendingValue)).size(), 3u);
  }  // the spreadsheet lets go

  ProgramUnderTest next("Home");
  HWND dialer = next.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([] { return ReadValue(EntryKey(""), kLogPendingValue).empty(); }));
  std::string text;
  ASSERT_TRUE(files_.Read(kConnectionLogFile, text));
  const std::vector<ConnectionRecord> records = ReadConnectionRows(text);
  const std::vector<Traffic> traffic = LastTrafficOfEachLine();
  ASSERT_EQ(records.size(), 3u) << text;
  ASSERT_EQ(traffic.size(), 3u) << Control("traffic");
  const uint32_t speeds[] = {49333, 33600, 28800};
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(records[i].Speed, speeds[i]);
    EXPECT_EQ(records[i].EndedBy, ConnectionEnd::User);
    EXPECT_EQ(records[i].Sent, traffic[i].sent);
    EXPECT_EQ(records[i].Received, traffic[i].received);
    EXPECT_GT(records[i].Received, 0u);
  }
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_TRUE(next.WaitForExit(10000));
}

// An entry priced per 10-second unit with a fee: while the line is up the
// statistics window shows what it has cost so far, and the line the age
// rule ends after 25 seconds is logged at the fee and three started units.
TEST_F(ConnectionLogTest, APricedLineIsLoggedAtTheFeeAndItsStartedUnits) {
  WriteScenario("dial connect 49333 rx 4000 tx 600\n");
  SeedWork({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "25"}, {"TariffUnitSeconds", "10"},
            {"TariffCurrency", "EUR"}, {"TariffDecimals", "2"}, {"TariffFee", "50"}, {"TariffPrice", "7"}});
  ProgramUnderTest program("Work", "corvane_quick_checkpoint.exe");
  HWND dialer = program.MainWindow();
  ASSERT_TRUE(WaitConnected(program, dialer));
  PostMessageA(dialer, WM_COMMAND, IDM_STATISTICS, 0);
  HWND statistics = nullptr;
  std::string cost;
  // At least the fee and the first unit, counted as soon as it starts.
  ASSERT_TRUE(WaitUntil([&] {
    statistics = FindWindowA(nullptr, "'Work' Online Time");
    if (statistics == nullptr) return false;
    cost = ControlText(statistics, IDC_STA_LBLCOST);
    return cost.rfind("0.", 0) == 0 && cost.find(" / ") != std::string::npos && cost.find(" EUR") != std::string::npos;
  })) << cost;
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(statistics, IDC_STA_LBLCOST)));
  ASSERT_TRUE(program.WaitForExit(60000));

  std::string text;
  ASSERT_TRUE(files_.Read(kConnectionLogFile, text));
  const std::vector<ConnectionRecord> records = ReadConnectionRows(text);
  ASSERT_EQ(records.size(), 1u) << text;
  const ConnectionRecord& record = records[0];
  ASSERT_GT(record.Seconds, 20) << text;
  ASSERT_LE(record.Seconds, 30) << text;
  ASSERT_TRUE(record.Cost.has_value()) << text;
  EXPECT_EQ(*record.Cost, 50 + 3 * 7) << text;
  EXPECT_EQ(record.CostDecimals, 2);
  EXPECT_EQ(record.CostCurrency, "EUR");
  EXPECT_NE(text.find(",0.71,EUR"), std::string::npos) << text;
}

}  // namespace
}  // namespace corvane::testing
