// Win32FileSystem.
#include "win32/win32_file_system.h"

#include <windows.h>

#include "system/text_lines.h"
#include "win32/unique_handle.h"

namespace corvane {

namespace {

// The lists are small text files; anything far larger is not one of them
// and is refused rather than read into memory.
constexpr LONGLONG kMaxFileBytes = 64LL * 1024 * 1024;

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::ReadLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string text;
  if (!ReadText(path, text)) return false;
  lines = SplitTextLines(text);
  return true;
}

bool Win32FileSystem::ReadText(const std::string& path, std::string& text) {
  text.clear();
  // Others may have the list open in an editor meanwhile.
  const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileBytes) return false;

  text.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < text.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), text.data() + done, static_cast<DWORD>(text.size() - done), &read, nullptr)) {
      text.clear();
      return false;
    }
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  text.resize(done);
  return true;
}

}  // namespace corvane
