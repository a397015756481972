// The shell adapters on the real shell: the notification icon's record and
// its add, modify and delete (and delete on destruction), its balloon as
// the shell receives it, a failing handler of its events, the temporary
// folder, and the default-browser lookup through FindExecutableA.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "support/notification_area_stand_in.h"
#include "ui/default_browser.h"
#include "win32/handler_guard.h"
#include "win32/win32_shell.h"
#include "win32/win32_tray_icon.h"

namespace corvane {
namespace {

TEST(TrayRecordTest, FirstFormWithTheTipCutTo63Characters) {
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  HICON icon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5678));
  const NOTIFYICONDATAA record = MakeTrayRecord(window, icon, "Connected to: 'Work'");
#ifdef _WIN64
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAA_V1_SIZE);
#else
  EXPECT_EQ(record.cbSize, 88u);
#endif
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  // Not WM_MOUSEMOVE: real pointer movement must never look like a click.
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_APP + 1));
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_STREQ(record.szTip, "Connected to: 'Work'");

  struct Case {
    size_t length;
    size_t kept;
  };
  for (const Case& c : {Case{0, 0}, Case{62, 62}, Case{63, 63}, Case{64, 63}, Case{200, 63}}) {
    SCOPED_TRACE(c.length);
    std::string tip;
    for (size_t i = 0; i < c.length; ++i) tip += static_cast<char>('a' + i % 26);
    const NOTIFYICONDATAA cut = MakeTrayRecord(window, icon, tip);
    EXPECT_EQ(std::string(cut.szTip), tip.substr(0, c.kept));
    EXPECT_EQ(cut.szTip[c.kept], '\0');
  }
}

TEST(TrayRecordTest, BalloonRecordCarriesOnlyTheBalloonCutToTheShellsLengths) {
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  const NOTIFYICONDATAA record = MakeBalloonRecord(window, std::string(70, 't'), std::string(300, 'x'));
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAA_V2_SIZE);
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 1u);
  // Neither picture nor tooltip: the icon stays as it is.
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(std::string(record.szInfoTitle), std::string(63, 't'));
  EXPECT_EQ(std::string(record.szInfo), std::string(255, 'x'));
}

// The balloon travels through the shell as the notification area receives
// it, and only while the icon is shown.
TEST(TrayIconTest, TheBalloonReachesTheNotificationArea) {
  testing::NotificationAreaStandIn area;
  ASSERT_TRUE(area.Ready());
  Win32TrayIcon tray(GetModuleHandleA(nullptr));
  EXPECT_FALSE(tray.ShowBalloon("Corvane", "before the icon"));
  ASSERT_TRUE(tray.Add(8, "Connected to: 'Work'"));
  ASSERT_TRUE(tray.ShowBalloon("Corvane", "80 % of the allowance of 'Work' is used"));
  ASSERT_TRUE(area.WaitForBalloon("80 %", 5000));
  const std::vector<testing::NotifyRecord> records = area.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(records[0].tip, "Connected to: 'Work'");
  EXPECT_EQ(records[1].operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(records[1].flags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(records[1].infoTitle, "Corvane");
  EXPECT_EQ(records[1].info, "80 % of the allowance of 'Work' is used");
  EXPECT_EQ(records[1].infoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_TRUE(tray.Delete());
  EXPECT_FALSE(tray.ShowBalloon("Corvane", "after the icon"));
  EXPECT_EQ(area.Records().size(), 3u);
}

// True when the shell still holds an icon 1 of `window` (a modify of the tip
// only succeeds for an icon it knows).
bool ShellHasIcon(HWND window) {
  NOTIFYICONDATAA record = MakeTrayRecord(window, nullptr, "probe");
  record.uFlags = NIF_TIP;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

TEST(TrayIconTest, AddModifyDelete) {
  Win32TrayIcon tray(GetModuleHandleA(nullptr));
  EXPECT_FALSE(tray.Modify(108, "Disconnected"));
  EXPECT_FALSE(tray.Delete());

  ASSERT_TRUE(tray.Add(8, "Connected to: 'Work'"));
  EXPECT_TRUE(ShellHasIcon(tray.Window()));
  EXPECT_TRUE(tray.Modify(108, "Disconnected"));
  EXPECT_TRUE(tray.Modify(kTrayKeepIcon, std::string(100, 'x')));
  // The reconnect's "Connected" adds again: the icon is changed, not refused.
  EXPECT_TRUE(tray.Add(8, "Connected to: 'Work'"));
  EXPECT_TRUE(tray.Delete());
  EXPECT_FALSE(ShellHasIcon(tray.Window()));
  EXPECT_FALSE(tray.Delete());
  EXPECT_FALSE(tray.Modify(8, "gone"));
}

// A top-level window (the task bar's broadcast reaches no other), never
// shown, owned by nobody, and gone with the adapter together with the icon;
// a second adapter meanwhile shares the class and keeps it usable.
TEST(TrayIconTest, TheIconsWindowIsHiddenAndGoesWithTheAdapter) {
  HWND window = nullptr;
  {
    Win32TrayIcon tray(GetModuleHandleA(nullptr));
    window = tray.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    ASSERT_TRUE(tray.Add(101, "Connected to: '*Provider'"));
    ASSERT_TRUE(ShellHasIcon(window));
    EXPECT_FALSE(IsWindowVisible(window));
    {
      Win32TrayIcon second(GetModuleHandleA(nullptr));
      EXPECT_NE(second.Window(), nullptr);
    }
  }
  EXPECT_FALSE(ShellHasIcon(window));
  EXPECT_FALSE(IsWindow(window));
  Win32TrayIcon again(GetModuleHandleA(nullptr));
  EXPECT_TRUE(again.Add(101, "Connected to: '*Provider'"));
}

TEST(TrayIconTest, MouseEventsOnTheIconAreToldApartFromPointerMovement) {
  Win32TrayIcon tray(GetModuleHandleA(nullptr));
  std::vector<uint32_t> events;
  tray.MouseEvent = [&](uint32_t message) { events.push_back(message); };
  // At 144 DPI and beyond a pointer at x = 517 px once read as a right click.
  SendMessageA(tray.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(517, 3));
  SendMessageA(tray.Window(), kTrayCallbackMessage, 1, WM_MOUSEMOVE);
  SendMessageA(tray.Window(), kTrayCallbackMessage, 1, WM_RBUTTONUP);
  EXPECT_EQ(events, (std::vector<uint32_t>{WM_MOUSEMOVE, WM_RBUTTONUP}));
}

// What the program's handler throws stops in the icon's window procedure;
// the next event on the icon still reaches the program.
TEST(TrayIconTest, AHandlerThatThrowsLeavesTheIconAnswering) {
  Win32TrayIcon tray(GetModuleHandleA(nullptr));
  std::vector<uint32_t> events;
  std::vector<std::string> failures;
  tray.MouseEvent = [&](uint32_t message) {
    events.push_back(message);
    if (events.size() == 1) throw std::bad_alloc();
  };
  tray.HandlerFailed = [&](const HandlerFailure& failure) {
    failures.push_back(std::string(failure.where) + (failure.outOfMemory ? ": out of memory" : ""));
  };
  SendMessageA(tray.Window(), kTrayCallbackMessage, 1, WM_RBUTTONUP);
  EXPECT_EQ(failures, std::vector<std::string>{"the tray icon: out of memory"});
  SendMessageA(tray.Window(), kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
  EXPECT_EQ(events, (std::vector<uint32_t>{WM_RBUTTONUP, WM_LBUTTONDBLCLK}));
  EXPECT_EQ(failures.size(), 1u);
}

TEST(TrayIconTest, IconComesBackWhenTheTaskBarIsMadeAnew) {
  Win32TrayIcon tray(GetModuleHandleA(nullptr));
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  SendMessageA(tray.Window(), taskbarCreated, 0, 0);
  EXPECT_FALSE(ShellHasIcon(tray.Window()));  // nothing shown, nothing put back

  ASSERT_TRUE(tray.Add(108, "Disconnected"));
  // The shell restarts: its icons are gone, then it announces the new task
  // bar to every top-level window.
  NOTIFYICONDATAA record = MakeTrayRecord(tray.Window(), nullptr, {});
  record.uFlags = 0;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
  ASSERT_FALSE(ShellHasIcon(tray.Window()));
  SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  EXPECT_TRUE(ShellHasIcon(tray.Window()));
  EXPECT_TRUE(tray.Delete());
}

// Makes web pages open with `program` while it lives, through a class of
// its own; whatever ".html" said before is put back afterwards.
class HtmlAssociation {
 public:
  explicit HtmlAssociation(const std::string& program) {
    char previous[256] = {};
    DWORD size = sizeof previous;
    existed_ = RegGetValueA(HKEY_CLASSES_ROOT, ".html", nullptr, RRF_RT_REG_SZ, nullptr, previous, &size) ==
               ERROR_SUCCESS;
    previous_ = previous;
    SetDefault(".html", kClass);
    SetDefault(std::string(kClass) + "\\shell\\open\\command", "\"" + program + "\" \"%1\"");
  }
  ~HtmlAssociation() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
    if (existed_) {
      SetDefault(".html", previous_);
    } else {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
    }
  }

 private:
  static void SetDefault(const std::string& path, const std::string& text) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, path.c_str(), nullptr, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
  }
  static constexpr const char* kClass = "Corvane.TestPage";
  bool existed_ = false;
  std::string previous_;
};

std::string Upper(std::string text) {
  CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

TEST(ShellTest, TemporaryFolderEndsWithItsSeparator) {
  Win32Shell shell;
  const std::string folder = shell.TempFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ShellTest, DefaultBrowserIsTheProgramThatOpensWebPages) {
  Win32Shell shell;
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string notepad = std::string(windows) + "\\notepad.exe";
  HtmlAssociation association(notepad);
  const std::string browser = DefaultBrowserPath(shell);
  EXPECT_EQ(Upper(browser), Upper(notepad));
  // The probe page does not stay behind.
  EXPECT_EQ(GetFileAttributesA((shell.TempFolder() + "dummy.html").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace corvane
