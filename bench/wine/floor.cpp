// The floor the program is measured against: as little as a Win32 program
// with a window can be. One small window and a 500 ms timer that does
// nothing. Started with a file name, the window also has a drop-down combo
// box that fills itself with the file's lines when it opens, the fastest way
// the platform allows: the file read in one go, the box's storage reserved
// for every line at once, drawing off while the lines go in.
#include <windows.h>

#include <string>
#include <vector>

#include "read_whole_file.h"

namespace {

using corvane::bench::ReadWholeFile;

constexpr char kClassName[] = "CorvaneBenchFloor";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 500;
constexpr int kComboId = 100;

void FillFromFile(HWND combo, const std::string& path) {
  std::string bytes = ReadWholeFile(path);
  // Each line ends in place with a NUL, so the box copies straight from the
  // file's buffer.
  std::vector<const char*> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    const size_t end = i > start && bytes[i - 1] == '\r' ? i - 1 : i;
    bytes[end] = '\0';
    lines.push_back(bytes.data() + start);
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.data() + start);

  SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  SendMessageA(combo, CB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes.size()));
  for (const char* line : lines) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
  SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kComboId && HIWORD(wParam) == CBN_DROPDOWN) {
        const auto* path = reinterpret_cast<const std::string*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        FillFromFile(reinterpret_cast<HWND>(lParam), *path);
      }
      return 0;
    case WM_DESTROY:
      KillTimer(window, kTimerId);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int show) {
  const std::string listPath = commandLine;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowExA(0, kClassName, "Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&listPath));
  if (!listPath.empty()) {
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                 10, 10, 280, 200, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)),
                                 instance, nullptr);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  SetTimer(window, kTimerId, kTimerMs, nullptr);
  ShowWindow(window, show);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
