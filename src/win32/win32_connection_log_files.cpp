// Win32ConnectionLogFiles.
#include "win32/win32_connection_log_files.h"

#include <windows.h>

#include "win32/known_folder.h"
#include "win32/unique_handle.h"

namespace corvane {

namespace {

// One write of all the bytes, then flushed: a record is on the disk, or it
// is not, before the program goes on.
uint32_t WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return GetLastError();
  if (written != bytes.size()) return ERROR_DISK_FULL;
  if (!FlushFileBuffers(file)) return GetLastError();
  return 0;
}

// `text` from code page `from` in code page `to`, through UTF-16.
std::string Recoded(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return {};
  const int wideSize = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideSize);
  const int size = WideCharToMultiByte(to, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string recoded(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideSize, recoded.data(), size, nullptr, nullptr);
  return recoded;
}

}  // namespace

const std::string& Win32ConnectionLogFiles::Folder() {
  if (!looked_) {
    looked_ = true;
    const std::string local = KnownFolderPath(FOLDERID_LocalAppData);
    if (!local.empty()) folder_ = local + "\\Corvane";
  }
  return folder_;
}

std::string Win32ConnectionLogFiles::ErrorText(uint32_t error) {
  char text[512] = {};
  DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                              sizeof text, nullptr);
  while (size > 0 && (text[size - 1] == '\r' || text[size - 1] == '\n' || text[size - 1] == ' ')) --size;
  if (size == 0) return "Error " + std::to_string(error) + ".";
  return std::string(text, size);
}

std::string Win32ConnectionLogFiles::PathOf(const std::string& name) { return Folder() + "\\" + name; }

uint32_t Win32ConnectionLogFiles::MakeFolder() {
  if (Folder().empty()) return ERROR_PATH_NOT_FOUND;
  if (!CreateDirectoryA(Folder().c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return GetLastError();
  return 0;
}

uint32_t Win32ConnectionLogFiles::Append(const std::string& name, const std::string& bytes) {
  if (const uint32_t error = MakeFolder()) return error;
  // Append-only access: every write goes to the end, whoever else appends.
  // Readers (a spreadsheet, the log window) may have it open meanwhile.
  const UniqueFileHandle file(CreateFileA(PathOf(name).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  return WriteAll(file.get(), bytes);
}

bool Win32ConnectionLogFiles::Read(const std::string& name, std::string& bytes) {
  if (Folder().empty()) {
    bytes.clear();
    return false;
  }
  return reader_.ReadText(PathOf(name), bytes);
}

int64_t Win32ConnectionLogFiles::Size(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (Folder().empty() || !GetFileAttributesExA(PathOf(name).c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool Win32ConnectionLogFiles::Replace(const std::string& name, const std::string& bytes) {
  if (MakeFolder() != 0) return false;
  const std::string path = PathOf(name);
  const std::string aside = path + ".new";
  {
    const UniqueFileHandle file(
        CreateFileA(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || WriteAll(file.get(), bytes) != 0) return false;
  }
  return MoveFileExA(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::vector<std::string> Win32ConnectionLogFiles::YearFileNames() {
  std::vector<std::string> names;
  if (Folder().empty()) return names;
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA(PathOf("Connections-*.csv").c_str(), &found));
  if (!search) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
  } while (FindNextFileA(search.get(), &found));
  return names;
}

uint32_t Win32ConnectionLogFiles::Export(const std::string& path, const std::string& bytes) {
  const UniqueFileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  return WriteAll(file.get(), bytes);
}

std::string Win32ConnectionLogFiles::Utf8FromAnsi(const std::string& text) { return Recoded(text, CP_ACP, CP_UTF8); }

std::string Win32ConnectionLogFiles::AnsiFromUtf8(const std::string& text) { return Recoded(text, CP_UTF8, CP_ACP); }

}  // namespace corvane
