// A notification area of the test's own, to read what a program shows there.
// Wine's shell hands every Shell_NotifyIcon call to the first window of the
// task bar's class ("Shell_TrayWnd") as a WM_COPYDATA carrying Wine's own
// record of the call. This object makes such a window, topmost so that it
// is found before the real one, on a thread of its own (a program calling
// the shell waits for the answer, and the test need not pump messages for
// it), and keeps every record it is sent. While it lives, the programs'
// icons live here rather than in the real task bar; it answers as a shell
// does: an add of a known icon, or a change or removal of an unknown one,
// fails.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace corvane::testing {

struct NotifyRecord {
  DWORD operation;  // NIM_ADD, NIM_MODIFY, NIM_DELETE, ...
  UINT flags;       // NIF_* of the fields the program filled
  std::string tip;
  std::string info;       // a balloon's text
  std::string infoTitle;  // a balloon's title
  DWORD infoFlags;        // a balloon's picture (NIIF_*)
};

class NotificationAreaStandIn {
 public:
  NotificationAreaStandIn();
  ~NotificationAreaStandIn();
  NotificationAreaStandIn(const NotificationAreaStandIn&) = delete;
  NotificationAreaStandIn& operator=(const NotificationAreaStandIn&) = delete;

  // False when the window could not be made.
  bool Ready() const { return window_ != nullptr; }

  // Every record taken so far, oldest first.
  std::vector<NotifyRecord> Records() const;

  // Waits until a balloon (a record with NIF_INFO) whose text holds
  // `textPart` has arrived; false after `timeoutMs` without one.
  bool WaitForBalloon(const std::string& textPart, DWORD timeoutMs) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Run(HANDLE started);
  BOOL Take(const COPYDATASTRUCT& data);

  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<NotifyRecord> records_;
  std::set<std::pair<LONG, UINT>> icons_;  // (window, id) of the icons shown here
  HWND window_ = nullptr;
  std::thread thread_;
};

}  // namespace corvane::testing
