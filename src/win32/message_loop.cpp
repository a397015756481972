// MessageLoop.
#include "win32/message_loop.h"

#include <algorithm>

namespace corvane {

void MessageLoop::AddDialog(HWND dialog) { dialogs_.push_back(dialog); }

void MessageLoop::RemoveDialog(HWND dialog) {
  dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end());
}

int MessageLoop::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  return static_cast<int>(msg.wParam);
}

void MessageLoop::DispatchWaiting() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

void MessageLoop::WaitAndDispatch(DWORD milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DispatchWaiting();
}

void MessageLoop::Dispatch(MSG& msg) {
  for (HWND dialog : dialogs_) {
    if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

}  // namespace corvane
