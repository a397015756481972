#include "read_whole_file.h"

#include <windows.h>

#include "win32/unique_handle.h"

namespace corvane::bench {

std::string ReadWholeFile(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

}  // namespace corvane::bench
