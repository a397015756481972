// lnkinfo run from a Windows-side test: Wine's own name of the file, the
// tool in a Linux shell, its report read back.
#include "support/lnk_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/program_under_test.h"
#include "win32/unique_handle.h"

namespace corvane::testing {

namespace {

// Wine's own name of a file on the host, for a Linux tool to read.
std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  const std::wstring wide(path.begin(), path.end());
  char* unixName = toUnix(wide.c_str());
  if (unixName == nullptr) return {};
  std::string result = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
}

// What lnkinfo (Debian liblnk-utils) prints for the link. Wine starts a
// Linux program but hands it no Windows pipe, so the tool writes a file,
// renamed into place once complete.
std::string LnkInfoOutput(const std::string& linkPath) {
  const std::string report = linkPath + ".txt";
  DeleteFileA(report.c_str());
  std::string command = "Z:\\bin\\sh -c \"lnkinfo '" + UnixPath(linkPath) + "' > '" + UnixPath(report) +
                        ".part' 2>&1; mv '" + UnixPath(report) + ".part' '" + UnixPath(report) + "'\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return {};
  const UniqueKernelHandle thread(info.hThread), process(info.hProcess);
  if (!WaitUntil([&] { return FileExists(report); }, 20000)) return {};
  std::ifstream file(report, std::ios::binary);
  std::string output((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  DeleteFileA(report.c_str());
  return output;
}

}  // namespace

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// lnkinfo's "Name : value" lines, names and values without surrounding blanks.
std::map<std::string, std::string> LnkInfoFields(const std::string& linkPath) {
  const std::string output = LnkInfoOutput(linkPath);
  EXPECT_NE(output.find("Link information"), std::string::npos) << "lnkinfo said: " << output;
  auto trim = [](const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  };
  std::map<std::string, std::string> fields;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const size_t colon = line.find(':');
    // The value's own colons (a drive letter) come after the first one.
    if (colon == std::string::npos || colon == 0) continue;
    fields.emplace(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }
  return fields;
}

}  // namespace corvane::testing
