// Win32TrayIcon.
#include "win32/win32_tray_icon.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace corvane {

namespace {

constexpr UINT kTrayIconId = 1;
// Where a failure in the icon's messages is said to have happened.
constexpr char kTrayIconSource[] = "the tray icon";
// How long a balloon stays when the user is at the machine; the shell
// bounds it, and newer Windows lets the user's settings decide.
constexpr UINT kBalloonMilliseconds = 10000;

// Copies up to `chars` characters of `text` into `field`, then a NUL.
template <size_t N>
void CopyCut(char (&field)[N], const std::string& text, size_t chars) {
  static_assert(N > 0);
  const size_t length = std::min({text.size(), chars, N - 1});
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace

NOTIFYICONDATAA MakeTrayRecord(HWND window, HICON icon, const std::string& tip) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  static_assert(sizeof record.szTip > kTrayTipChars);
  CopyCut(record.szTip, tip, kTrayTipChars);
  return record;
}

NOTIFYICONDATAA MakeBalloonRecord(HWND window, const std::string& title, const std::string& text) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_INFO;
  static_assert(sizeof record.szInfoTitle > kBalloonTitleChars && sizeof record.szInfo > kBalloonTextChars);
  CopyCut(record.szInfoTitle, title, kBalloonTitleChars);
  CopyCut(record.szInfo, text, kBalloonTextChars);
  record.uTimeout = kBalloonMilliseconds;
  record.dwInfoFlags = NIIF_WARNING;
  return record;
}

Win32TrayIcon::Win32TrayIcon(HINSTANCE instance)
    : instance_(instance), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kTrayWindowClass;
  // A second adapter at a time finds the class registered by the first.
  if (const ATOM atom = RegisterClassExA(&windowClass); atom != 0) class_.reset({atom, instance_});
  // Never shown, so never on the task bar nor in Alt+Tab (a tool window
  // besides); without an owner, so no other window's end takes it away
  // before this object's, and nothing waits for it when the program ends.
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kTrayWindowClass, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance_, this));
}

Win32TrayIcon::~Win32TrayIcon() {
  if (shown_) Delete();
  // Whatever reaches the window while it is destroyed finds no adapter.
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32TrayIcon::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* tray = reinterpret_cast<Win32TrayIcon*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (tray != nullptr && message == kTrayCallbackMessage) {
    if (tray->MouseEvent) {
      RunGuarded(kTrayIconSource, tray->HandlerFailed, [&] { tray->MouseEvent(static_cast<uint32_t>(lParam)); });
    }
    return 0;
  }
  // The shell lost every icon with its old task bar.
  if (tray != nullptr && message == tray->taskbarCreated_ && tray->taskbarCreated_ != 0 && tray->shown_) {
    tray->Send(NIM_ADD, tray->icon_.get(), tray->tip_);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Win32TrayIcon::Add(int iconNumber, const std::string& tip) {
  if (!window_) return false;
  UniqueIcon icon = LoadTrayIcon(iconNumber);
  bool done = shown_ && Send(NIM_MODIFY, icon.get(), tip);
  // Not shown yet, or the shell lost it (e.g. the task bar was restarted).
  if (!done) done = Send(NIM_ADD, icon.get(), tip);
  if (!done) return false;
  shown_ = true;
  icon_ = std::move(icon);
  tip_ = tip;
  return true;
}

bool Win32TrayIcon::Modify(int iconNumber, const std::string& tip) {
  if (!window_ || !shown_) return false;
  // An icon that does not load leaves the picture as it is.
  UniqueIcon loaded = iconNumber == kTrayKeepIcon ? UniqueIcon() : LoadTrayIcon(iconNumber);
  if (!Send(NIM_MODIFY, loaded ? loaded.get() : icon_.get(), tip)) return false;
  if (loaded) icon_ = std::move(loaded);
  tip_ = tip;
  return true;
}

bool Win32TrayIcon::Delete() {
  if (!window_ || !shown_) return false;
  NOTIFYICONDATAA record = MakeTrayRecord(window_.get(), nullptr, {});
  record.uFlags = 0;
  const bool done = Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
  // Whether or not the shell still knew it, the icon is gone for us.
  shown_ = false;
  icon_.reset();
  tip_.clear();
  return done;
}

bool Win32TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  if (!window_ || !shown_) return false;
  NOTIFYICONDATAA record = MakeBalloonRecord(window_.get(), title, text);
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

bool Win32TrayIcon::Send(DWORD operation, HICON icon, const std::string& tip) {
  NOTIFYICONDATAA record = MakeTrayRecord(window_.get(), icon, tip);
  return Shell_NotifyIconA(operation, &record) != FALSE;
}

UniqueIcon Win32TrayIcon::LoadTrayIcon(int iconNumber) const {
  if (iconNumber <= 0) return UniqueIcon();
  return UniqueIcon(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconNumber), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

}  // namespace corvane
