// The statistics and online time windows of the real program under Wine, on
// the stand-in: connected, the statistics window shows the speed and byte
// counts that grow and its Disconnect ends the line; its monthly tab lists
// this month and then the stored history; the online time window lists the
// stored months.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "stats/statistics_ids.h"
#include "support/program_under_test.h"
#include "win32/unique_handle.h"

namespace corvane::testing {
namespace {

// The program's top-level window with exactly `caption`, or null.
HWND FindProgramWindow(const std::string& caption) {
  return FindWindowA(nullptr, caption.c_str());
}

// The rows of a list view in another process: its texts live there, so the
// item record and the text buffer are placed in that process too.
std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::string>> rows;
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  const UniqueKernelHandle owner(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!owner) return rows;
  const HANDLE process = owner.get();
  constexpr SIZE_T kTextSize = 256;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote != nullptr) {
    const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      std::vector<std::string> cells;
      for (int column = 0; column < columns; ++column) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kTextSize;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
        char text[kTextSize] = {};
        ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kTextSize - 1, nullptr);
        cells.emplace_back(text);
      }
      rows.push_back(cells);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  return rows;
}

std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  const auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    // Room to spare: a line's length is asked separately and may have
    // changed by the time its text is.
    // changed by the time its text is. Asked in UTF-16, which every system
    // carries across processes the same way.
    wchar_t wide[512] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 511) break;
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char line[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, nullptr, nullptr);
    lines.emplace_back(line);
  }
  return lines;
}

// Presses button `id` of `window` as a click would.
void Press(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// Waits until the program has finished starting: its window is shown and its
// thread is back in the message loop, answering.
bool WaitReady(HWND dialer) {
  return WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }) &&
         SendMessageTimeoutA(dialer, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr) != 0;
}

class StatsWindowsTest : public WorkEntryTest {
 protected:
  // This month's long name in the user's locale, and its number.
  static std::string MonthName(int month) {
    char name[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1, name, sizeof name);
    return name;
  }
  static int ThisMonthNumber() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wMonth;
  }
  // The two months before this one, with their names.
  static int MonthsBack(int back) { return (ThisMonthNumber() + 11 * back - 1) % 12 + 1; }

  static std::string History() {
    return std::to_string(MonthsBack(1)) + "," + MonthName(MonthsBack(1)) + ",5400@" + std::to_string(MonthsBack(2)) +
           "," + MonthName(MonthsBack(2)) + ",123@";
  }

  // Starts "Work" without a number, so the program waits offline, with this
  // month's 1 hr 30 min and two closed months.
  static void SeedOfflineWork() {
    SeedEntry("Work", {{"PhoneNumber", ""}, {"MonitorTime", "1"}, {"StartBrowser", "0"},
                       {"CurrentMonth", std::to_string(ThisMonthNumber()) + "," + MonthName(ThisMonthNumber())},
                       {"OnlineTime", "5400"}, {"PreviousMonths", History()}});
  }
};

TEST_F(StatsWindowsTest, ConnectedTheCountersGrowAndDisconnectEndsTheLine) {
  WriteScenario("dial connect 49333 rx 4000 tx 600\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"MonitorTime", "1"}, {"StartBrowser", "0"}, {"DoNotAsk", "1"},
                     {"AutoDisconnect", "1"}, {"AutoDisconnectTime", "36000"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ControlText(dialer, IDC_LBLMESS) == "Status:  Connected"; }, 20000));

  ASSERT_TRUE(program.PostTrayMouseEvent(WM_LBUTTONUP));
  HWND stats = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (stats = FindProgramWindow("'Work' Online Time")) != nullptr; }));
  ASSERT_TRUE(WaitUntil([&] { return ControlText(stats, IDC_STA_LBLSPEED) == "49333 bps"; }));
  ASSERT_TRUE(WaitUntil([&] { return !ControlText(stats, IDC_STA_LBLRX).empty(); }));
  const long long received = std::stoll(ControlText(stats, IDC_STA_LBLRX));
  EXPECT_TRUE(WaitUntil([&] { return std::stoll(ControlText(stats, IDC_STA_LBLRX)) > received; }));
  EXPECT_FALSE(ControlText(stats, IDC_STA_LBLTX).empty());
  EXPECT_EQ(ControlText(stats, IDC_STA_LBLTIME), "Time online in " + MonthName(ThisMonthNumber()) + ":");
  EXPECT_EQ(ControlText(stats, IDC_STA_LBLDISCTIME).substr(0, 4), "09:5");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(stats, IDC_STA_CMDDISCONNECT)));

  Press(stats, IDC_STA_CMDDISCONNECT);
  EXPECT_TRUE(WaitUntil([] { return Control("list").find("5550100") == std::string::npos; })) << Control("list");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(stats); }));
}

TEST_F(StatsWindowsTest, MonthlyTabListsThisMonthFirstThenTheHistory) {
  SeedOfflineWork();
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitReady(dialer));
  PostMessageA(dialer, WM_COMMAND, IDM_STATISTICS, 0);
  HWND stats = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (stats = FindProgramWindow("'Work' Online Time")) != nullptr; }));
  // Offline: the month's total only, and no line to disconnect.
  EXPECT_TRUE(WaitUntil([&] { return ControlText(stats, IDC_STA_LBLTOTALTIME) == "01:30:00"; }));
  EXPECT_EQ(ControlText(stats, IDC_STA_LBLSPEED), "");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(stats, IDC_STA_CMDDISCONNECT)));

  // The user picks the second tab: a click just past the first one, further
  // right until the tab strip takes it.
  HWND tabs = GetDlgItem(stats, IDC_STA_TBSSTATS);
  HWND list = GetDlgItem(stats, IDC_STA_LVTIME);
  for (int x = 60; x < 200 && SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != 1; x += 20) {
    PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
    PostMessageA(tabs, WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
    WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }, 1000);
  }
  ASSERT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(list) != FALSE; }));
  EXPECT_FALSE(ControlVisible(stats, IDC_STA_LBLSPEED));
  const std::vector<std::vector<std::string>> expected = {
      {" " + MonthName(ThisMonthNumber()), "1 hrs   30 min"},
      {" " + MonthName(MonthsBack(1)), "1 hrs   30 min"},
      {" " + MonthName(MonthsBack(2)), "0 hrs   02 min"},
  };
  EXPECT_TRUE(WaitUntil([&] { return ListViewRows(list, 2) == expected; }));
  EXPECT_EQ(ListViewRows(list, 2), expected);

  Press(stats, IDC_STA_CMDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(stats); }));
}

TEST_F(StatsWindowsTest, OnlineTimeWindowListsTheStoredMonths) {
  SeedOfflineWork();
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitReady(dialer));
  Press(dialer, IDC_CMDSHOWONTIME);
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (window = FindProgramWindow("'Work' Online Time")) != nullptr; }));
  auto line = [](const std::string& month, const char* duration) {
    const bool longName = month == "September" || month == "November" || month == "December";
    return " " + month + (longName ? "\t" : "\t\t") + duration;
  };
  const std::vector<std::string> expected = {line(MonthName(ThisMonthNumber()), "1 hrs   30 min"),
                                             line(MonthName(MonthsBack(1)), "1 hrs   30 min"),
                                             line(MonthName(MonthsBack(2)), "0 hrs   02 min")};
  HWND list = GetDlgItem(window, IDC_ONT_LBXTIME);
  EXPECT_TRUE(WaitUntil([&] { return ListBoxLines(list) == expected; }));
  EXPECT_EQ(ListBoxLines(list), expected);

  // Moving the mouse over it rebuilds nothing that changed: still the same lines.
  SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(ListBoxLines(list), expected);

  Press(window, IDC_ONT_CMDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
}

}  // namespace
}  // namespace corvane::testing
