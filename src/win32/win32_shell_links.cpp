// Win32ShellLinks.
#include "win32/win32_shell_links.h"

#include <windows.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "win32/com_ptr.h"
#include "win32/known_folder.h"
#include "win32/unique_handle.h"

namespace corvane {

namespace {

// A link file records only these three; anything else would be read back
// as Normal by the shell anyway.
int LinkShowCommand(ShowMode show) {
  switch (show) {
    case ShowMode::Maximized:
      return SW_SHOWMAXIMIZED;
    case ShowMode::Minimized:
    case ShowMode::MinimizedNoActivate:
      return SW_SHOWMINNOACTIVE;
    default:
      return SW_SHOWNORMAL;
  }
}

std::wstring WidePath(const std::string& path) {
  const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), size);
  wide.resize(static_cast<size_t>(size - 1));
  return wide;
}

// Where systems without the known-folder call kept the same folders.
std::string ShellFoldersValue(HKEY hive, const char* valueName) {
  static constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  char buffer[MAX_PATH] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueA(hive, kShellFolders, valueName, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return {};
  std::string path = buffer;
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

bool Win32ShellLinks::CreateLink(const std::string& linkPath, const ShellLink& link) {
  const ComApartment apartment;
  if (!apartment.Ready()) return false;
  ComPtr<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(shellLink.Put())))) {
    return false;
  }
  if (FAILED(shellLink->SetPath(link.target.c_str()))) return false;
  if (!link.workingFolder.empty()) shellLink->SetWorkingDirectory(link.workingFolder.c_str());
  if (!link.arguments.empty()) shellLink->SetArguments(link.arguments.c_str());
  if (!link.iconFile.empty()) shellLink->SetIconLocation(link.iconFile.c_str(), link.iconIndex);
  shellLink->SetDescription(link.description.c_str());
  shellLink->SetShowCmd(LinkShowCommand(link.show));
  // Records what the shell knows of the target now, so the link can still
  // find it after a move; never asks the user anything.
  shellLink->Resolve(nullptr, SLR_NO_UI | SLR_UPDATE);

  ComPtr<IPersistFile> file;
  if (FAILED(shellLink.As(file))) return false;
  const std::wstring widePath = WidePath(linkPath);
  return !widePath.empty() && SUCCEEDED(file->Save(widePath.c_str(), TRUE));
}

bool Win32ShellLinks::RemoveLink(const std::string& linkPath) { return DeleteFileA(linkPath.c_str()) != FALSE; }

std::string Win32ShellLinks::FolderPath(ShellFolder folder) {
  switch (folder) {
    case ShellFolder::UserDesktop: {
      const std::string path = KnownFolderPath(FOLDERID_Desktop);
      return path.empty() ? ShellFoldersValue(HKEY_CURRENT_USER, "Desktop") : path;
    }
    case ShellFolder::CommonDesktop: {
      const std::string path = KnownFolderPath(FOLDERID_PublicDesktop);
      return path.empty() ? ShellFoldersValue(HKEY_LOCAL_MACHINE, "Common Desktop") : path;
    }
    case ShellFolder::Startup: {
      const std::string path = KnownFolderPath(FOLDERID_Startup);
      return path.empty() ? ShellFoldersValue(HKEY_CURRENT_USER, "Startup") : path;
    }
  }
  return {};
}

}  // namespace corvane
