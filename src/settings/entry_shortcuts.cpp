// Desktop and Startup shortcuts of an entry.
#include "settings/entry_shortcuts.h"

#include "settings/entry_name.h"

namespace corvane {

namespace {

const char* const kStartupPrefix = "CRV - ";
const char* const kDescriptionPrefix = "Dialable CRV entry: ";

std::string LinkPath(const std::string& folder, const std::string& name) { return folder + "\\" + name + ".lnk"; }

void RemoveIn(ShellLinkPort& links, const std::string& folder, const std::string& name) {
  if (!folder.empty() && !name.empty()) links.RemoveLink(LinkPath(folder, name));
}

}  // namespace

std::string FolderOf(const std::string& file) {
  const size_t slash = file.find_last_of('\\');
  return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

bool CreateDesktopShortcut(ShellLinkPort& links, const std::string& name, uint8_t icon,
                           const std::string& programFile) {
  if (name.empty() || programFile.empty()) return false;
  ShellLink link;
  link.target = programFile;
  link.arguments = "/" + name;
  link.workingFolder = FolderOf(programFile);
  if (icon != 0) {
    // Icon resources 1 to 21 are the program file's icon groups 0 to 20.
    link.iconFile = programFile;
    link.iconIndex = icon - 1;
  }
  link.show = ShowMode::Normal;
  link.description = kDescriptionPrefix + name;

  const std::string user = links.FolderPath(ShellFolder::UserDesktop);
  const std::string common = links.FolderPath(ShellFolder::CommonDesktop);
  RemoveIn(links, user, name);
  RemoveIn(links, common, name);
  if (!common.empty() && links.CreateLink(LinkPath(common, UpperCase(name)), link)) return true;
  return !user.empty() && links.CreateLink(LinkPath(user, name), link);
}

bool CreateStartupShortcut(ShellLinkPort& links, const std::string& name, const std::string& programFile) {
  const std::string startup = links.FolderPath(ShellFolder::Startup);
  if (startup.empty() || name.empty() || programFile.empty()) return false;
  ShellLink link;
  link.target = programFile;
  link.arguments = "/" + name;
  link.workingFolder = FolderOf(programFile);
  return links.CreateLink(LinkPath(startup, kStartupPrefix + name), link);
}

void RemoveStartupShortcut(ShellLinkPort& links, const std::string& name) {
  RemoveIn(links, links.FolderPath(ShellFolder::Startup), kStartupPrefix + name);
}

void RemoveEntryShortcuts(ShellLinkPort& links, const std::string& typedName, const std::string& name,
                          const std::string& programFile) {
  const std::string user = links.FolderPath(ShellFolder::UserDesktop);
  const std::string common = links.FolderPath(ShellFolder::CommonDesktop);
  RemoveStartupShortcut(links, name);
  RemoveIn(links, user, typedName);
  RemoveIn(links, FolderOf(programFile), name);
  // The all-users copy carries the upper-case name; where file names
  // ignore case the first removal already takes it.
  RemoveIn(links, common, name);
  RemoveIn(links, common, UpperCase(name));
  RemoveIn(links, user, name);
}

}  // namespace corvane
