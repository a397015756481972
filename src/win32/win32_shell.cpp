// Win32Shell.
#include "win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

namespace corvane {

Win32Shell::~Win32Shell() {
  if (instanceMutex_ != nullptr) CloseHandle(instanceMutex_);
}

bool Win32Shell::ClaimSingleInstance() {
  if (instanceMutex_ != nullptr) return true;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  if (mutex == nullptr) return true;  // no token to be had: don't lock the user out
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  instanceMutex_ = mutex;
  return true;
}

long Win32Shell::Execute(const std::string& operation, const std::string& file, const std::string& parameters,
                         const std::string& directory, ShowMode show) {
  HINSTANCE result = ShellExecuteA(GetActiveWindow(), operation.c_str(), file.c_str(),
                                   parameters.empty() ? nullptr : parameters.c_str(),
                                   directory.empty() ? nullptr : directory.c_str(), static_cast<int>(show));
  return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace corvane
