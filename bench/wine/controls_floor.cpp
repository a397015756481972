// The second floor the program is measured against: what a window with the
// dialer's kinds of controls costs on this platform by itself. A dialog from
// a template like the dialer's (a label, a drop-down combo box, a one-line
// and two multi-line edit boxes, three buttons and an icon button, two icon
// pictures), the same manifest and common controls, a notification-area icon
// with a tooltip and a 500 ms timer that does nothing. The keyboard focus is
// on the Dial button, as in the dialer (a caret in an edit box would blink).
// Its arguments, any of: "tray" hides the window once shown, as the
// connected dialer does, and leaves the tray icon; "countdown" rewrites the
// status text once a second, as the redial countdown does, a quarter second
// off the tick (the countdown's seconds run from the failed attempt, the
// ticks from the dial, so they wake the program apart); "look" asks the
// dial-up service for its connections at every tick, the one call the
// supervisor's rules need; "list <file>", the rest of the line naming a file
// of cells, opens the list window (list_floor_window.h) on it when asked.

#include <windows.h>
#include <commctrl.h>
#include <ras.h>
#include <shellapi.h>

#include <string>

#include "controls_floor_ids.h"
#include "list_floor_window.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 500;
constexpr UINT_PTR kCountdownTimer = 2;
constexpr UINT kCountdownMs = 1000;
constexpr UINT_PTR kCountdownStartTimer = 3;
constexpr UINT kCountdownOffsetMs = 250;
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;
// The program's icons, which the floor carries too: its default entry icon
// (the pictures, the caption and the tray) and the clock on the button.
constexpr int kEntryIcon = 8;
constexpr int kClockIcon = 130;

struct Floor {
  bool tray = false;
  bool countdown = false;
  bool look = false;
  std::string listPath;
  int secondsLeft = 3600;
  LRESULT looks = 0;
};

// True when `word` is one of the blank-separated words of `line`.
bool HasWord(const std::string& line, const std::string& word) {
  for (size_t start = 0; start < line.size();) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    if (line.compare(start, end - start, word) == 0) return true;
    start = end + 1;
  }
  return false;
}

// The supervisor's look at the line: room for one connection.
void LookAtTheLine() {
  RASCONNA connection{};
  connection.dwSize = sizeof connection;
  DWORD bytes = sizeof connection;
  DWORD count = 0;
  RasEnumConnectionsA(&connection, &bytes, &count);
}

HICON LoadIconSized(HINSTANCE instance, int number, int metricX, int metricY) {
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(number), IMAGE_ICON, GetSystemMetrics(metricX),
                                       GetSystemMetrics(metricY), LR_SHARED));
}

void AddTrayIcon(HWND window, HICON icon) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayMessage;
  record.hIcon = icon;
  lstrcpynA(record.szTip, "Controls floor", sizeof record.szTip);
  Shell_NotifyIconA(NIM_ADD, &record);
}

void DeleteTrayIcon(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &record);
}

void ShowIcons(HWND dialog, HINSTANCE instance) {
  const HICON large = LoadIconSized(instance, kEntryIcon, SM_CXICON, SM_CYICON);
  const HICON small = LoadIconSized(instance, kEntryIcon, SM_CXSMICON, SM_CYSMICON);
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendDlgItemMessageA(dialog, IDC_FLOOR_PICTURE1, STM_SETICON, reinterpret_cast<WPARAM>(large), 0);
  SendDlgItemMessageA(dialog, IDC_FLOOR_PICTURE2, STM_SETICON, reinterpret_cast<WPARAM>(large), 0);
  SendDlgItemMessageA(dialog, IDC_FLOOR_CLOCK, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(LoadIconSized(instance, kClockIcon, SM_CXSMICON, SM_CYSMICON)));
  AddTrayIcon(dialog, small);
}

// The countdown's one visible change a second: the status box's second line.
void RewriteStatus(HWND dialog, Floor& floor) {
  const std::string text =
      "Line busy\r\nRedialing in :   " + std::to_string(floor.secondsLeft > 0 ? floor.secondsLeft-- : 0) +
      " seconds.";
  SetDlgItemTextA(dialog, IDC_FLOOR_STATUS, text.c_str());
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* floor = reinterpret_cast<Floor*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      floor = reinterpret_cast<Floor*>(lParam);
      ShowIcons(dialog, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)));
      SetTimer(dialog, kTickTimer, kTickMs, nullptr);
      if (floor->countdown) {
        RewriteStatus(dialog, *floor);
        SetTimer(dialog, kCountdownStartTimer, kCountdownOffsetMs, nullptr);
      }
      if (floor->look) SetWindowTextA(dialog, "Controls floor, looking at the line");
      if (!floor->listPath.empty()) SetWindowTextA(dialog, "Controls floor, with a list");
      SetFocus(GetDlgItem(dialog, IDC_FLOOR_BUTTON2));
      return FALSE;
    case WM_TIMER:
      if (wParam == kCountdownStartTimer) {
        KillTimer(dialog, kCountdownStartTimer);
        SetTimer(dialog, kCountdownTimer, kCountdownMs, nullptr);
      }
      if (wParam == kCountdownTimer) RewriteStatus(dialog, *floor);
      if (wParam == kTickTimer && floor->look) {
        LookAtTheLine();
        ++floor->looks;
      }
      return TRUE;
    case WM_FLOOR_LOOKS:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, floor->looks);
      return TRUE;
    case WM_FLOOR_OPEN_LIST: {
      HWND list = corvane::bench::OpenListFloorWindow(
          reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), floor->listPath);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(list));
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kTickTimer);
      KillTimer(dialog, kCountdownStartTimer);
      KillTimer(dialog, kCountdownTimer);
      DeleteTrayIcon(dialog);
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  Floor floor;
  const std::string arguments = commandLine;
  floor.tray = HasWord(arguments, "tray");
  floor.countdown = HasWord(arguments, "countdown");
  floor.look = HasWord(arguments, "look");
  constexpr char kList[] = "list ";
  if (arguments.rfind(kList, 0) == 0) floor.listPath = arguments.substr(sizeof kList - 1);
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONTROLS_FLOOR), nullptr, DialogProc,
                                   reinterpret_cast<LPARAM>(&floor));
  if (dialog == nullptr) return 1;
  ShowWindow(dialog, show);
  if (floor.tray) {
    UpdateWindow(dialog);
    ShowWindow(dialog, SW_HIDE);
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
