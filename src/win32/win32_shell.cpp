// Win32Shell.
#include "win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <utility>

namespace corvane {

bool Win32Shell::ClaimSingleInstance() {
  if (instanceMutex_) return true;
  UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  if (!mutex) return true;  // no token to be had: don't lock the user out
  if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
  instanceMutex_ = std::move(mutex);
  return true;
}

long Win32Shell::Execute(const std::string& operation, const std::string& file, const std::string& parameters,
                         const std::string& directory, ShowMode show) {
  HINSTANCE result = ShellExecuteA(GetActiveWindow(), operation.c_str(), file.c_str(),
                                   parameters.empty() ? nullptr : parameters.c_str(),
                                   directory.empty() ? nullptr : directory.c_str(), static_cast<int>(show));
  return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

std::string Win32Shell::TempFolder() {
  char buffer[256] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  // 0 is a failure; a length past the buffer is the size it would need,
  // with nothing written.
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

bool Win32Shell::CreateEmptyFile(const std::string& path) {
  const UniqueFileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

bool Win32Shell::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

long Win32Shell::FindExecutableFor(const std::string& file, const std::string& directory, std::string& program) {
  char buffer[MAX_PATH] = {};
  HINSTANCE result = FindExecutableA(file.c_str(), directory.empty() ? nullptr : directory.c_str(), buffer);
  program.assign(buffer, sizeof buffer);
  return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace corvane
