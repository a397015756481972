// Win32TrayIcon.
#include "win32/win32_tray_icon.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace corvane {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr UINT_PTR kSubclassId = 0x7EA1;

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
  const size_t length = std::min(tip.size(), kTrayTipChars);
  std::memcpy(record.szTip, tip.data(), length);
  record.szTip[length] = '\0';
  return record;
}

Win32TrayIcon::Win32TrayIcon(HINSTANCE instance)
    : instance_(instance), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

Win32TrayIcon::~Win32TrayIcon() {
  if (shown_) Delete();
  if (window_ != nullptr) RemoveWindowSubclass(window_, WatchOwner, kSubclassId);
}

void Win32TrayIcon::SetWindow(HWND window) {
  window_ = window;
  SetWindowSubclass(window_, WatchOwner, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32TrayIcon::WatchOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                           DWORD_PTR self) {
  auto* tray = reinterpret_cast<Win32TrayIcon*>(self);
  if (message == kTrayCallbackMessage) {
    if (tray->MouseEvent) tray->MouseEvent(static_cast<uint32_t>(lParam));
    return 0;
  }
  // The shell lost every icon with its old task bar.
  if (message == tray->taskbarCreated_ && tray->taskbarCreated_ != 0 && tray->shown_) {
    tray->Send(NIM_ADD, tray->icon_.get(), tray->tip_);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

bool Win32TrayIcon::Add(int iconNumber, const std::string& tip) {
  if (window_ == nullptr) return false;
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
  if (window_ == nullptr || !shown_) return false;
  // An icon that does not load leaves the picture as it is.
  UniqueIcon loaded = iconNumber == kTrayKeepIcon ? UniqueIcon() : LoadTrayIcon(iconNumber);
  if (!Send(NIM_MODIFY, loaded ? loaded.get() : icon_.get(), tip)) return false;
  if (loaded) icon_ = std::move(loaded);
  tip_ = tip;
  return true;
}

bool Win32TrayIcon::Delete() {
  if (window_ == nullptr || !shown_) return false;
  NOTIFYICONDATAA record = MakeTrayRecord(window_, nullptr, {});
  record.uFlags = 0;
  const bool done = Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
  // Whether or not the shell still knew it, the icon is gone for us.
  shown_ = false;
  icon_.reset();
  tip_.clear();
  return done;
}

bool Win32TrayIcon::Send(DWORD operation, HICON icon, const std::string& tip) {
  NOTIFYICONDATAA record = MakeTrayRecord(window_, icon, tip);
  return Shell_NotifyIconA(operation, &record) != FALSE;
}

UniqueIcon Win32TrayIcon::LoadTrayIcon(int iconNumber) const {
  if (iconNumber <= 0) return UniqueIcon();
  return UniqueIcon(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconNumber), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

}  // namespace corvane
