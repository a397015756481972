// KnownFolderPath.
#include "win32/known_folder.h"

#include "win32/unique_handle.h"

namespace corvane {

namespace {

// The text in the ANSI code page; false when the page cannot spell it.
bool NarrowExactly(const std::wstring& wide, std::string& narrow) {
  // A UTF-8 code page spells everything and refuses the lossiness flag.
  BOOL lossy = FALSE;
  BOOL* lossyFlag = GetACP() == CP_UTF8 ? nullptr : &lossy;
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, lossyFlag);
  if (size <= 0 || lossy) return false;
  narrow.assign(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size - 1));
  return true;
}

// The program speaks ANSI: a folder whose name the code page cannot spell
// is given by its short name, which it can, rather than by a garbled one.
std::string NarrowPath(const std::wstring& wide) {
  std::string narrow;
  if (NarrowExactly(wide, narrow)) return narrow;
  const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring shortPath(size, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
  if (length == 0 || length >= size) return {};
  shortPath.resize(length);
  return NarrowExactly(shortPath, narrow) ? narrow : std::string();
}

}  // namespace

std::string KnownFolderPath(REFKNOWNFOLDERID id) {
  PWSTR raw = nullptr;
  const HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
  const UniqueCoTaskString path(raw);  // the caller frees it, even on failure
  if (FAILED(result) || !path) return {};
  return NarrowPath(path.get());
}

}  // namespace corvane
