// Takes the README's pictures from the real program. Started on a virtual
// desktop in the build's Wine prefix, it starts corvane.exe (beside it) on
// the dial-up service stand-in with a demo entry and leads it the way a user
// would: a dial that finds the line busy, is redialled and connects; the tray
// icon's tooltip and menu; every window opened from there; a line that stays
// busy until the redials run out. Each window's picture is asked of
// scripts/gallery.sh as <name>.png in the folder given; the last line of gallery.log there is "done" or names
// the first picture that could not be taken.
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "app/dialer_ids.h"
#include "picture_request.h"
#include "settings/tariff_settings.h"
#include "stats/call_cost.h"
#include "stats/connection_log.h"
#include "stats/connection_log_ids.h"
#include "stats/statistics_ids.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"
#include "ui/message_ids.h"
#include "ui/options_ids.h"
#include "user_input.h"
#include "win32/win32_clock.h"
#include "win32/win32_connection_log_files.h"

namespace corvane::gallery {
namespace {

using testing::ControlText;
using testing::ProgramUnderTest;
using testing::WaitUntil;
using testing::WindowText;

constexpr char kEntry[] = "Demo";
constexpr DWORD kWindowTimeoutMs = 15000;
constexpr DWORD kFlushMs = 300;

// Stops the tour: the message names what did not appear.
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

// "12,December": the text the program stores for the month `back` months
// before this one, in the user's language.
std::string MonthText(int back) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int month = (now.wMonth + 11 * back - 1) % 12 + 1;
  char name[80] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1, name, sizeof name);
  return std::to_string(month) + "," + name;
}

// The demo entry's tariff: paid by the minute, dearer on weekdays' working
// hours, with a fee per call.
Tariff DemoTariff() {
  Tariff tariff;
  tariff.UnitSeconds = 60;
  tariff.Currency = "EUR";
  tariff.Fee = 10;
  tariff.Price = 2;
  tariff.Bands[0] = {0b0011111, 8, 18, 6};
  return tariff;
}

// The demo entry as someone who has used it for a while would have it: one
// number, a login with a stored password (the options window shows it as
// blanks), a few months of online time, redialling a busy line after a few
// seconds, asking before it disconnects, and the number it had before a
// number file once changed it.
void SeedDemoEntry(const std::string& redials, const std::string& seconds) {
  testing::SeedEntry(kEntry, {{"PhoneNumber", "5550100"},
                              {"UserName", "demo"},
                              {"Password", "\xB4\xB6\xB8\xBA\xBC\xBE"},
                              {"Icon", "8"},
                              {"MonitorTime", "1"},
                              {"StartBrowser", "0"},
                              {"EnableRedial", "1"},
                              {"NumberOfRedials", redials},
                              {"Minutes", "0"},
                              {"Seconds", seconds},
                              {"DoNotAsk", "0"},
                              {"PreviousPhoneNumber", "5550199"},
                              // 22140 s of this month are past the warning level of 7 hours:
                              // the line warns as it comes up.
                              {"AllowanceHours", "7"},
                              {"AllowanceMegabytes", "500"},
                              {"IdleMinutes", "20"},
                              {kTariffUnitSecondsValue, std::to_string(DemoTariff().UnitSeconds)},
                              {kTariffCurrencyValue, DemoTariff().Currency},
                              {kTariffFeeValue, std::to_string(DemoTariff().Fee)},
                              {kTariffPriceValue, std::to_string(DemoTariff().Price)},
                              {std::string(kTariffBandValuePrefix) + "1", TariffBandText(DemoTariff().Bands[0])},
                              {"CurrentMonth", MonthText(0)},
                              {"OnlineTime", "22140"},
                              {"PreviousMonths", MonthText(1) + ",151260@" + MonthText(2) + ",98400@" + MonthText(3) +
                                                     ",121920@"}});
}

std::string TempFolder() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

// Points the stand-in at a scenario of these dials, counted from the first.
void UseScenario(const std::string& dials) {
  const std::string path = TempFolder() + "corvane-gallery.scenario";
  std::ofstream(path, std::ios::trunc) << "device modem Standard 56000 bps V90 Modem\n"
                                          "pace 0.6\n"
                                          "dial-time 3\n"
                                       << dials;
  DeleteFileA((TempFolder() + "corvane-rasapi32-dials.txt").c_str());
  SetEnvironmentVariableA("CORVANE_RAS_SCENARIO", path.c_str());
}

// A shown top-level window of `processId` holding a control `controlId`.
HWND WaitForWindowWith(DWORD processId, int controlId) {
  struct Search {
    DWORD processId;
    int controlId;
    HWND found;
  } search{processId, controlId, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
              auto* s = reinterpret_cast<Search*>(param);
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner != s->processId || !IsWindowVisible(window) || GetDlgItem(window, s->controlId) == nullptr)
                return TRUE;
              s->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      kWindowTimeoutMs);
  if (search.found == nullptr) Fail("no window with control " + std::to_string(controlId));
  return search.found;
}

// A shown top-level window of class `className`, of any process.
// The first shown window of `className` that `wanted` takes.
HWND WaitForShown(const char* className, const std::function<bool(HWND)>& wanted) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = nullptr;
        while ((found = FindWindowExA(nullptr, found, className, nullptr)) != nullptr &&
               !(IsWindowVisible(found) && wanted(found))) {
        }
        return found != nullptr;
      },
      kWindowTimeoutMs);
  if (found == nullptr) Fail(std::string("no window of class ") + className);
  return found;
}

HWND WaitForClass(const char* className) {
  return WaitForShown(className, [](HWND) { return true; });
}

// The tooltip of `processId` that came up beside `point` (another one, the
// tray icon's, may still be about).
HWND WaitForTipNear(DWORD processId, POINT point) {
  constexpr int kNear = 48;
  return WaitForShown(TOOLTIPS_CLASSA, [&](HWND tip) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tip, &owner);
    RECT area{};
    GetWindowRect(tip, &area);
    return owner == processId && area.left - kNear <= point.x && point.x <= area.right + kNear &&
           area.top - kNear <= point.y && point.y <= area.bottom + kNear;
  });
}

void WaitFor(const std::string& what, const std::function<bool()>& condition) {
  if (!WaitUntil(condition, kWindowTimeoutMs * 2)) Fail(what);
}

void WaitGone(HWND window) {
  WaitFor("a window to close", [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

// Presses a button the way its keyboard shortcut or a click does; posted, so
// that a modal window the press opens does not hold this program up.
void Press(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (button == nullptr) Fail("no button " + std::to_string(buttonId));
  PostMessageA(button, BM_CLICK, 0, 0);
}

// Moves a tab strip to `index` with the arrow keys, as a user on the strip would.
void SelectTab(HWND dialog, int tabsId, int index) {
  HWND tabs = GetDlgItem(dialog, tabsId);
  while (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != index) {
    const LRESULT before = SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
    PostMessageA(tabs, WM_KEYDOWN, before < index ? VK_RIGHT : VK_LEFT, 0);
    WaitFor("tab " + std::to_string(index), [&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != before; });
  }
}

class Gallery {
 public:
  explicit Gallery(std::string folder) : folder_(std::move(folder)), log_(folder_ + "gallery.log") {}

  void Log(const std::string& line) { log_ << line << std::endl; }

  // Lets `window` paint what it was last told to, then has `area` taken.
  void Shot(const std::string& name, HWND window, const RECT& area) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    // Wine hands a painted window to the X server on its next flush.
    Sleep(kFlushMs);
    if (!RequestPicture(folder_, name, area)) Fail("picture " + name);
    Log("picture " + name);
  }
  void Shot(const std::string& name, HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    Shot(name, window, area);
  }

 private:
  std::string folder_;
  std::ofstream log_;
};

// The notification area's icons sit right-aligned in the task bar's tray,
// the program's the only one there.
RECT TrayIconArea() {
  HWND tray = WaitForClass("Shell_TrayWnd");
  RECT bar{};
  GetWindowRect(tray, &bar);
  const int side = GetSystemMetrics(SM_CXSMICON) + 4;
  const int top = bar.top + (bar.bottom - bar.top - side) / 2;
  return RECT{bar.right - side, top, bar.right, top + side};
}

POINT CenterOf(const RECT& area) { return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2}; }

RECT UnionOf(const RECT& a, const RECT& b) {
  RECT both{};
  UnionRect(&both, &a, &b);
  return both;
}

RECT Inflated(RECT area, int by) {
  InflateRect(&area, by, by);
  return area;
}

HWND OpenTrayMenu() {
  RightClickAt(CenterOf(TrayIconArea()));
  return WaitForClass("#32768");
}

// Opens the tray menu and picks its `position`th item (separators skipped)
// with the arrow keys and Enter.
void ChooseTrayItem(int position) {
  HWND menu = OpenTrayMenu();
  for (int i = 0; i < position; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  WaitGone(menu);
}

// A connection log of a few dozen lines over this month and the two before
// it: evenings mostly, now and then a dropped line, a second entry.
void SeedDemoLog() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  Win32ConnectionLogFiles files;
  Win32Clock clock;
  const Tariff tariff = DemoTariff();
  std::string text = ConnectionLogStart();
  uint32_t draw = 12345;
  const auto next = [&draw](uint32_t below) {
    draw = draw * 1103515245 + 12345;
    return (draw >> 16) % below;
  };
  for (int back = 2; back >= 0; --back) {
    const int month = (now.wMonth + 12 - back - 1) % 12 + 1;
    const int year = now.wYear - (now.wMonth - back < 1 ? 1 : 0);
    const int lastDay = back == 0 ? now.wDay : 28;
    for (int day = 1; day <= lastDay; day += 1 + static_cast<int>(next(3))) {
      ConnectionRecord record;
      const bool work = next(5) == 0;
      record.Entry = work ? "Work" : kEntry;
      record.Number = work ? "5550177" : "5550100";
      record.Login = work ? "ann" : "demo";
      record.Started = {year, month, day, 18 + static_cast<int>(next(5)), static_cast<int>(next(60)),
                        static_cast<int>(next(60)), 60};
      record.Seconds = 300 + next(5400);
      record.Ended = AddSeconds(record.Started, record.Seconds);
      record.Speed = next(4) == 0 ? 28800 : 49333;
      record.Sent = record.Seconds * (300 + next(400));
      record.Received = record.Seconds * (2000 + next(3000));
      record.EndedBy = next(6) == 0 ? ConnectionEnd::LineDropped : ConnectionEnd::User;
      record.BookedIn = {year, month};
      if (!work) {
        record.Cost = CallCost(tariff, UtcSeconds(record.Started), record.Seconds,
                               [&clock](int64_t utc) { return clock.LocalTimeAt(utc); });
        record.CostDecimals = tariff.Decimals;
        record.CostCurrency = tariff.Currency;
      }
      text += "\r\n" + ConnectionRow(record);
    }
  }
  if (!files.Replace(kConnectionLogFile, text)) Fail("the demo connection log");
}

// Seeds the demo entry and the stand-in's dials; the entry's name.
const char* PrepareDemo(const std::string& redials, const std::string& seconds, const std::string& dials) {
  SeedDemoEntry(redials, seconds);
  UseScenario(dials);
  return kEntry;
}

// corvane.exe started on the demo entry, with its dialer window.
struct DemoProgram {
  DemoProgram(const std::string& redials, const std::string& seconds, const std::string& dials)
      : program(PrepareDemo(redials, seconds, dials)),
        processId(GetProcessId(program.Process())),
        dialer(program.MainWindow(kWindowTimeoutMs)) {
    if (dialer == nullptr) Fail("the dialer");
  }
  ProgramUnderTest program;
  DWORD processId;
  HWND dialer;
};

// The allowance's warning as the desktop's notification area draws it: a
// balloon tooltip of the shell, beside the icon. Where the shell draws none
// the tour says so in its log and goes on.
void ShootBalloon(Gallery& gallery, const RECT& icon) {
  HWND balloon = nullptr;
  WaitUntil(
      [&] {
        while ((balloon = FindWindowExA(nullptr, balloon, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
          if (IsWindowVisible(balloon) && (GetWindowLongA(balloon, GWL_STYLE) & TTS_BALLOON) != 0) return true;
        }
        return false;
      },
      kWindowTimeoutMs);
  if (balloon == nullptr) {
    gallery.Log("no balloon: the shell drew none for the allowance's warning");
    return;
  }
  RECT area{};
  GetWindowRect(balloon, &area);
  gallery.Shot("tray-balloon", balloon, Inflated(UnionOf(area, icon), 4));
  // Out of the way of the tooltip's picture.
  ShowWindow(balloon, SW_HIDE);
}

enum TrayItem { kOptions = 1, kStatistics = 2, kConnectionLog = 3, kDisconnect = 4 };

void ConnectedTour(Gallery& gallery) {
  SeedDemoLog();
  DemoProgram demo("3", "5", "dial busy\ndial connect 49333 rx 4500 tx 700\n");
  HWND dialer = demo.dialer;

  WaitFor("dialing", [&] { return ControlText(dialer, IDC_LBLMESS).find("Dialing") != std::string::npos; });
  gallery.Shot("dialer-dialing", dialer);
  WaitFor("the redial countdown",
          [&] { return ControlText(dialer, IDC_TXTERR).find("Redialing in :   3") != std::string::npos; });
  gallery.Shot("dialer-busy", dialer);
  if (!testing::WaitConnected(demo.program, dialer, 40000)) Fail("the connection");

  const RECT icon = TrayIconArea();
  ShootBalloon(gallery, icon);
  MovePointerTo(CenterOf(icon));
  HWND tip = WaitForClass(TOOLTIPS_CLASSA);
  RECT tipArea{};
  GetWindowRect(tip, &tipArea);
  gallery.Shot("tray-tooltip", tip, Inflated(UnionOf(tipArea, icon), 4));

  HWND menu = OpenTrayMenu();
  RECT menuArea{};
  GetWindowRect(menu, &menuArea);
  gallery.Shot("tray-menu", menu, Inflated(UnionOf(menuArea, icon), 4));
  PressKey(VK_ESCAPE);
  WaitGone(menu);

  ChooseTrayItem(kStatistics);
  HWND statistics = WaitForWindowWith(demo.processId, IDC_STA_TBSSTATS);
  WaitFor("the byte counts", [&] { return !ControlText(statistics, IDC_STA_LBLRX).empty(); });
  gallery.Shot("statistics-connection", statistics);
  SelectTab(statistics, IDC_STA_TBSSTATS, 1);
  gallery.Shot("statistics-monthly", statistics);
  Press(statistics, IDC_STA_CMDOK);
  WaitGone(statistics);

  ChooseTrayItem(kConnectionLog);
  HWND connectionLog = WaitForWindowWith(demo.processId, IDC_LOG_LVWLOG);
  WaitFor("the logged lines", [&] { return SendDlgItemMessageA(connectionLog, IDC_LOG_LVWLOG, LVM_GETITEMCOUNT, 0, 0) > 0; });
  gallery.Shot("connection-log", connectionLog);
  // The pointer resting in the first day's column of this month's chart
  // brings that day's date and time up (the demo log always has a line
  // on the 1st).
  RECT chart{};
  GetWindowRect(GetDlgItem(connectionLog, IDC_LOG_CHART), &chart);
  const POINT day{chart.left + (chart.right - chart.left) * 9 / 100, chart.bottom - (chart.bottom - chart.top) / 3};
  MovePointerTo(day);
  HWND dayTip = WaitForTipNear(demo.processId, day);
  RECT dayTipArea{};
  GetWindowRect(dayTip, &dayTipArea);
  gallery.Shot("connection-log-chart-tip", dayTip, Inflated(UnionOf(dayTipArea, chart), 4));
  Press(connectionLog, IDC_LOG_CMDCLOSE);
  WaitGone(connectionLog);

  ChooseTrayItem(kOptions);
  HWND options = WaitForWindowWith(demo.processId, IDC_OPT_TBSOPTIONS);
  const char* const tabs[] = {"options-general", "options-login",  "options-automate", "options-custom",
                              "options-about",   "options-limits", "options-actions"};
  for (int index = 0; index < 7; ++index) {
    SelectTab(options, IDC_OPT_TBSOPTIONS, index);
    if (std::string(tabs[index]) == "options-actions") {
      // Typed as a user would (the window is cancelled): stored, the
      // connect action would have run when the demo line came up.
      SetDlgItemTextA(options, IDC_OPT_TXTCONNECTACTION, "C:\\Program Files\\Mail\\fetch.exe");
      SetDlgItemTextA(options, IDC_OPT_TXTCONNECTARGS, "--all --quiet");
      SetDlgItemTextA(options, IDC_OPT_TXTDISCONNECTACTION, "C:\\Users\\demo\\line-down.exe");
    }
    gallery.Shot(tabs[index], options);
  }
  SelectTab(options, IDC_OPT_TBSOPTIONS, 0);

  Press(options, IDC_OPT_CMDHELP);
  HWND help = WaitForWindowWith(demo.processId, IDC_HELP_TXTHELP);
  gallery.Shot("help", help);
  PostMessageA(help, WM_CLOSE, 0, 0);
  WaitGone(help);

  PostMessageA(options, WM_COMMAND, MAKEWPARAM(IDC_OPT_IMGICON0, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(options, IDC_OPT_IMGICON0)));
  HWND icons = WaitForWindowWith(demo.processId, IDC_ICONS_IMG1 + 1);
  gallery.Shot("icons", icons);
  PostMessageA(icons, WM_CLOSE, 0, 0);
  WaitGone(icons);
  Press(options, IDC_OPT_CMDCANCEL);
  WaitGone(options);

  ChooseTrayItem(kDisconnect);
  HWND question = WaitForWindowWith(demo.processId, IDC_MSG_CHKASK);
  gallery.Shot("question", question);
  Press(question, IDC_MSG_CMDYES);
  WaitGone(question);
}

void RedialsRunOutTour(Gallery& gallery) {
  DemoProgram demo("1", "1", "dial busy\n");
  HWND dialer = demo.dialer;
  WaitFor("End of Redials", [&] { return WindowText(dialer) == "End of Redials"; });
  gallery.Shot("dialer-end-of-redials", dialer);

  Press(dialer, IDC_CMDSHOWONTIME);
  HWND onlineTime = WaitForWindowWith(demo.processId, IDC_ONT_LBXTIME);
  gallery.Shot("online-time", onlineTime);
  Press(onlineTime, IDC_ONT_CMDOK);
  WaitGone(onlineTime);
}

}  // namespace
}  // namespace corvane::gallery

int main(int argc, char** argv) {
  using namespace corvane::gallery;
  if (argc != 2) return 2;
  std::string folder = argv[1];
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  Gallery gallery(folder);
  try {
    ConnectedTour(gallery);
    RedialsRunOutTour(gallery);
  } catch (const std::exception& failure) {
    gallery.Log(std::string("failed: ") + failure.what());
    corvane::testing::DeleteEntry(kEntry);
    return 1;
  }
  corvane::testing::DeleteEntry(kEntry);
  gallery.Log("done");
  return 0;
}
