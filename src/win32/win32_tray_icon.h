// TrayIconPort over Shell_NotifyIconA: the program's one notification icon
// (id 1) in the shell's first, smallest record form (the second for a
// balloon, which the first cannot carry). The icon belongs to a
// hidden window of the adapter's own, which takes the icon's messages: the
// mouse events on the icon, and the shell's announcement that the task bar
// was made anew (after explorer restarted), when a shown icon is put back.
// Keeping them off the dialer window spares its every message (its timer's
// included) a detour through a subclass. The icon and the window are gone
// when this object goes, whatever the program did before.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "system/tray_icon_port.h"
#include "win32/handler_guard.h"
#include "win32/unique_handle.h"

namespace corvane {

// The message the shell sends the icon's window for mouse events on the
// icon (the mouse message in lParam). A private one: were it WM_MOUSEMOVE,
// the pointer passing over the window at the x of a button message would be
// taken for a click on the icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The class of the icon's window.
inline constexpr char kTrayWindowClass[] = "CorvaneTrayIcon";

// The record the shell is given: first-form size, `window`, id 1, message,
// icon and tip valid (7), callbacks as kTrayCallbackMessage, `icon`, and
// `tip` cut to 63 characters followed by a NUL.
NOTIFYICONDATAA MakeTrayRecord(HWND window, HICON icon, const std::string& tip);

// The record that shows a balloon from icon 1 of `window`: the second form's
// size (the first has no balloon), only the balloon valid, the warning
// picture, `title` and `text` cut to the shell's lengths. The icon's picture
// and tooltip stay as they are.
NOTIFYICONDATAA MakeBalloonRecord(HWND window, const std::string& title, const std::string& text);

class Win32TrayIcon : public TrayIconPort {
 public:
  // Icons are loaded by resource number from `instance`, where the icon's
  // window class is registered too.
  explicit Win32TrayIcon(HINSTANCE instance);
  ~Win32TrayIcon() override;
  Win32TrayIcon(const Win32TrayIcon&) = delete;
  Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

  // The hidden top-level window the shell is given for the icon (a
  // message-only window would miss the task bar's broadcast); null when it
  // could not be made, and then every call fails.
  HWND Window() const { return window_.get(); }

  // Called with the mouse message (WM_RBUTTONUP, ...) of each mouse event
  // on the icon.
  std::function<void(uint32_t mouseMessage)> MouseEvent;
  // Told what MouseEvent threw; the icon goes on answering.
  HandlerFailureSink HandlerFailed;

  // Adding while the icon is shown changes it instead (the shell refuses a
  // second add of the same icon).
  bool Add(int iconNumber, const std::string& tip) override;
  bool Modify(int iconNumber, const std::string& tip) override;
  bool Delete() override;
  bool ShowBalloon(const std::string& title, const std::string& text) override;

  bool Shown() const { return shown_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Send(DWORD operation, HICON icon, const std::string& tip);
  UniqueIcon LoadTrayIcon(int iconNumber) const;

  HINSTANCE instance_;
  UINT taskbarCreated_;
  UniqueWindowClass class_;  // empty while another adapter's registration serves
  UniqueWindow window_;      // goes before its class
  bool shown_ = false;
  UniqueIcon icon_;  // the picture the shell shows now
  std::string tip_;  // the tooltip the shell shows now
};

}  // namespace corvane
