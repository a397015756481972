// Win32FileDialog.
#include "win32/win32_file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace corvane {

namespace {

// Room for long paths, far beyond MAX_PATH; a shorter buffer makes the
// dialog fail on a deep folder instead of returning the file.
constexpr size_t kFileNameCapacity = 4096;

// The common dialog wants the pairs separated by NULs, the list ended by two.
std::string CommonDialogFilter(const std::string& filter) {
  std::string pairs = filter;
  std::replace(pairs.begin(), pairs.end(), '|', '\0');
  pairs.append(2, '\0');
  return pairs;
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

bool Win32FileDialog::ChooseFileToOpen(const FileOpenRequest& request, std::string& path) {
  return Choose(request, false, path);
}

bool Win32FileDialog::ChooseFileToSave(const FileOpenRequest& request, std::string& path) {
  return Choose(request, true, path);
}

bool Win32FileDialog::Choose(const FileOpenRequest& request, bool save, std::string& path) {
  const std::string filter = CommonDialogFilter(request.filter);
  std::vector<char> fileName(kFileNameCapacity, '\0');
  request.fileName.copy(fileName.data(), fileName.size() - 1);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrInitialDir = OrNull(request.initialFolder);
  dialog.lpstrTitle = OrNull(request.title);
  dialog.lpstrDefExt = OrNull(request.defaultExtension);
  // The process's current folder stays where it is: the program saves its
  // own link copy there.
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
  path = fileName.data();
  return true;
}

}  // namespace corvane
