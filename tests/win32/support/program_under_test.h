// Drives the real corvane.exe from a Windows-side test the way a person or a
// screen reader would: start it, find its window, read and press controls,
// and look at the registry it leaves behind.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "win32/unique_handle.h"

namespace corvane::testing {

// `program` in the folder of the running test, where the build puts every
// Windows program.
std::string PathBesideThisProgram(const std::string& program);

class ProgramUnderTest {
 public:
  // Starts `program` (corvane.exe unless told, beside the test binary) with
  // `arguments`.
  explicit ProgramUnderTest(const std::string& arguments, const std::string& program = "corvane.exe");
  ~ProgramUnderTest();  // ends the process if it still runs
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  // The process, for reading its times and memory; null when it did not start.
  HANDLE Process() const { return process_.get(); }

  // The program's dialer window, visible or not; null when none appeared in time.
  HWND MainWindow(DWORD timeoutMs = 10000);
  // Does what the shell does on a mouse event on the program's tray icon:
  // posts `mouseMessage` (WM_RBUTTONUP, ...) to the window the icon was
  // given for. False when that window did not appear in time.
  bool PostTrayMouseEvent(UINT mouseMessage, DWORD timeoutMs = 10000);

  // True when the process ended within the time; `exitCode` receives its code.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  bool Running() const;

 private:
  HWND FindOwnWindow(bool (*matches)(HWND window, const std::string& className), DWORD timeoutMs);

  UniqueKernelHandle process_;
  DWORD processId_ = 0;
};

// Waits until `condition` holds or `timeoutMs` pass, checking every 50 ms.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
  return true;
}

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool ControlVisible(HWND dialog, int id);

// The entry keys under the product key, relative to HKEY_CURRENT_USER.
std::string EntryKey(const std::string& entryName);
// Replaces the entry's key with exactly these string values.
void SeedEntry(const std::string& entryName, const std::vector<std::pair<std::string, std::string>>& values);
void DeleteEntry(const std::string& entryName);
// The value's text, or `missing` when it is not there.
std::string ReadValue(const std::string& keyPath, const std::string& valueName, const std::string& missing = "<none>");

}  // namespace corvane::testing
