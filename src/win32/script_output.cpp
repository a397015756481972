// The standard output of a script's command, or its parent's console.
#include "win32/script_output.h"

namespace corvane {

ScriptOutput::ScriptOutput() {
  const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
  if (given != nullptr && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN) {
    out_ = given;
  } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    consoleOut_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    out_ = consoleOut_.get();
  }
  DWORD mode = 0;
  console_ = out_ != nullptr && GetConsoleMode(out_, &mode);
}

void ScriptOutput::Write(const std::string& text, UINT codePage) {
  if (out_ == nullptr || text.empty()) return;
  DWORD written = 0;
  if (!console_) {
    WriteFile(out_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  WriteConsoleW(out_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace corvane
