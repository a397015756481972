// Win32Process.
#include "win32/win32_process.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "win32/unique_handle.h"

namespace corvane {

namespace {

// Windows compares variable names without regard to case, and wants the
// block sorted that way.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
    });
  }
};

// The program's environment with `variables` set, as a block of
// "NAME=value\0" strings ending with one more NUL.
std::string EnvironmentBlock(const std::vector<EnvironmentVariable>& variables) {
  std::map<std::string, std::string, NameLess> entries;
  if (char* strings = GetEnvironmentStringsA()) {
    for (const char* entry = strings; *entry != '\0'; entry += std::string_view(entry).size() + 1) {
      const std::string_view text(entry);
      // "=C:=C:\dir" entries keep their leading '=' in the name.
      const size_t equals = text.find('=', 1);
      if (equals == std::string_view::npos) continue;
      entries[std::string(text.substr(0, equals))] = std::string(text.substr(equals + 1));
    }
    FreeEnvironmentStringsA(strings);
  }
  for (const auto& [name, value] : variables) entries[name] = value;
  std::string block;
  for (const auto& [name, value] : entries) {
    block += name + "=" + value;
    block += '\0';
  }
  block += '\0';
  return block;
}

std::string SystemReason(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string reason(buffer, length);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
    reason.pop_back();
  }
  return reason.empty() ? "error " + std::to_string(code) : reason;
}

}  // namespace

std::string Win32Process::Start(const std::string& program, const std::string& arguments,
                                const std::vector<EnvironmentVariable>& variables) {
  // The program is named by its path alone; the command line only repeats
  // it, quoted, for the program's own argv[0].
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::string environment = EnvironmentBlock(variables);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                      &startup, &process)) {
    return SystemReason(GetLastError());
  }
  const UniqueKernelHandle processHandle(process.hProcess);
  const UniqueKernelHandle threadHandle(process.hThread);
  return {};
}

}  // namespace corvane
