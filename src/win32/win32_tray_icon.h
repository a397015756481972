// TrayIconPort over Shell_NotifyIconA: the dialer window's one notification
// icon (id 1) in the shell's first, smallest record form. The icon is
// deleted when this object goes, whatever the program did before.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "system/tray_icon_port.h"
#include "win32/unique_handle.h"

namespace corvane {

// The record the shell is given: first-form size, `window`, id 1, message,
// icon and tip valid (7), callbacks as WM_MOUSEMOVE (512), `icon`, and `tip`
// cut to 63 characters followed by a NUL.
NOTIFYICONDATAA MakeTrayRecord(HWND window, HICON icon, const std::string& tip);

class Win32TrayIcon : public TrayIconPort {
 public:
  // Icons are loaded by resource number from `instance`.
  explicit Win32TrayIcon(HINSTANCE instance) : instance_(instance) {}
  ~Win32TrayIcon() override;
  Win32TrayIcon(const Win32TrayIcon&) = delete;
  Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

  // The window that owns the icon and receives its mouse messages; every
  // call fails until it is set.
  void SetWindow(HWND window) { window_ = window; }

  // Adding while the icon is shown changes it instead (the shell refuses a
  // second add of the same icon).
  bool Add(int iconNumber, const std::string& tip) override;
  bool Modify(int iconNumber, const std::string& tip) override;
  bool Delete() override;

  bool Shown() const { return shown_; }

 private:
  bool Send(DWORD operation, HICON icon, const std::string& tip);
  UniqueIcon LoadTrayIcon(int iconNumber) const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  bool shown_ = false;
  UniqueIcon icon_;  // the picture the shell shows now
};

}  // namespace corvane
