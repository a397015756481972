// NotificationAreaStandIn.
#include "support/notification_area_stand_in.h"

#include <algorithm>
#include <chrono>

namespace corvane::testing {
namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// Wine's record of one Shell_NotifyIcon call, the same in 32- and 64-bit
// processes; the icon's bitmap, when there is one, follows it.
struct WineNotifyData {
  LONG hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  WCHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  WCHAR szInfo[256];
  UINT uTimeoutOrVersion;
  WCHAR szInfoTitle[64];
  DWORD dwInfoFlags;
  GUID guidItem;
  UINT width;
  UINT height;
  UINT planes;
  UINT bpp;
};

// The program's texts went through the ANSI code page on their way in.
template <size_t N>
std::string Narrow(const WCHAR (&field)[N]) {
  const int length = static_cast<int>(std::find(field, field + N, L'\0') - field);
  if (length == 0) return {};
  std::string text(static_cast<size_t>(length) * 2, '\0');
  const int written = WideCharToMultiByte(CP_ACP, 0, field, length, text.data(), static_cast<int>(text.size()),
                                          nullptr, nullptr);
  text.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return text;
}

}  // namespace

NotificationAreaStandIn::NotificationAreaStandIn() {
  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (started == nullptr) return;
  thread_ = std::thread([this, started] { Run(started); });
  WaitForSingleObject(started, INFINITE);
  CloseHandle(started);
}

NotificationAreaStandIn::~NotificationAreaStandIn() {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (thread_.joinable()) thread_.join();
}

void NotificationAreaStandIn::Run(HANDLE started) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTrayClass;
  const ATOM atom = RegisterClassExW(&windowClass);
  HWND window = atom == 0 ? nullptr
                          : CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, nullptr, WS_POPUP, 0, 0,
                                            0, 0, nullptr, nullptr, windowClass.hInstance, this);
  if (window != nullptr) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  window_ = window;
  SetEvent(started);
  if (window == nullptr) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  UnregisterClassW(kTrayClass, windowClass.hInstance);
}

LRESULT CALLBACK NotificationAreaStandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<NotificationAreaStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_COPYDATA) return self->Take(*reinterpret_cast<COPYDATASTRUCT*>(lParam));
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

BOOL NotificationAreaStandIn::Take(const COPYDATASTRUCT& data) {
  if (data.cbData < sizeof(WineNotifyData)) return FALSE;
  WineNotifyData notify;
  std::copy_n(static_cast<const char*>(data.lpData), sizeof notify, reinterpret_cast<char*>(&notify));
  const DWORD operation = static_cast<DWORD>(data.dwData);
  NotifyRecord record{operation, notify.uFlags, {}, {}, {}, 0};
  if (notify.uFlags & NIF_TIP) record.tip = Narrow(notify.szTip);
  if (notify.uFlags & NIF_INFO) {
    record.info = Narrow(notify.szInfo);
    record.infoTitle = Narrow(notify.szInfoTitle);
    record.infoFlags = notify.dwInfoFlags;
  }
  std::lock_guard lock(mutex_);
  records_.push_back(std::move(record));
  arrived_.notify_all();
  const std::pair<LONG, UINT> icon{notify.hWnd, notify.uID};
  switch (operation) {
    case NIM_ADD:
      return icons_.insert(icon).second;
    case NIM_DELETE:
      return icons_.erase(icon) == 1;
    default:
      return icons_.count(icon) == 1;
  }
}

std::vector<NotifyRecord> NotificationAreaStandIn::Records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

bool NotificationAreaStandIn::WaitForBalloon(const std::string& textPart, DWORD timeoutMs) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    return std::any_of(records_.begin(), records_.end(), [&](const NotifyRecord& record) {
      return (record.flags & NIF_INFO) != 0 && record.info.find(textPart) != std::string::npos;
    });
  });
}

}  // namespace corvane::testing
