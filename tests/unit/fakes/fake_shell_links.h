// Fakes of the shell-link and file-open dialog ports: links kept in memory
// by path, folders given as fixed answers, and a dialog that answers with a
// preset file or a cancel and records what it was asked.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "system/file_dialog_port.h"
#include "system/shell_link_port.h"

namespace corvane::testing {

class FakeShellLinks : public ShellLinkPort {
 public:
  bool CreateLink(const std::string& linkPath, const ShellLink& link) override {
    if (!canCreate) return false;
    links[linkPath] = link;
    return true;
  }
  bool RemoveLink(const std::string& linkPath) override {
    removed.push_back(linkPath);
    return links.erase(linkPath) > 0;
  }
  std::string FolderPath(ShellFolder folder) override {
    auto found = folders.find(folder);
    return found == folders.end() ? std::string() : found->second;
  }

  bool canCreate = true;
  std::map<std::string, ShellLink> links;  // link files that exist now
  std::vector<std::string> removed;        // every path RemoveLink was asked about
  std::map<ShellFolder, std::string> folders{{ShellFolder::UserDesktop, "C:\\Users\\me\\Desktop"},
                                              {ShellFolder::CommonDesktop, "C:\\Users\\Public\\Desktop"},
                                              {ShellFolder::Startup, "C:\\Users\\me\\Start Menu\\Programs\\Startup"}};
};

class FakeFileDialog : public FileDialogPort {
 public:
  bool ChooseFileToOpen(const FileOpenRequest& request, std::string& path) override {
    requests.push_back(request);
    if (cancels) return false;
    path = chosenPath;
    return true;
  }
  bool ChooseFileToSave(const FileOpenRequest& request, std::string& path) override {
    return ChooseFileToOpen(request, path);
  }

  bool cancels = false;
  std::string chosenPath = "C:\\Lists\\phones.csv";
  std::vector<FileOpenRequest> requests;
};

}  // namespace corvane::testing
