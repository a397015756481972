// The UI thread's message loop, shared by WinMain and the event pump so
// both give modeless dialogs their keyboard handling (Tab, mnemonics).
#pragma once

#include <windows.h>

#include <vector>

namespace corvane {

class MessageLoop {
 public:
  // Windows whose keyboard messages go through IsDialogMessage.
  void AddDialog(HWND dialog);
  void RemoveDialog(HWND dialog);

  // Runs until WM_QUIT; returns its exit code.
  int Run();

  // Dispatches every waiting message; a WM_QUIT seen here is posted again
  // so Run still ends.
  void DispatchWaiting();

  // Waits up to `milliseconds` for a message to arrive, then dispatches
  // what is waiting. Sleeps in the kernel: no spinning.
  void WaitAndDispatch(DWORD milliseconds);

 private:
  void Dispatch(MSG& msg);

  std::vector<HWND> dialogs_;
};

}  // namespace corvane
