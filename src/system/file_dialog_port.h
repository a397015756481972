// The common file dialogs: the options window's browse buttons ask the
// user for a list file or a program through the open dialog, the connection
// log's export for a file to write through the Save As dialog.
#pragma once

#include <string>

namespace corvane {

struct FileOpenRequest {
  std::string title;
  // Pairs of description and pattern separated by "|", as
  // "comma separated values (*.csv)|*.csv|all files (*.*)|*.*".
  std::string filter;
  std::string defaultExtension;  // without the dot; added to a typed name that has none
  std::string initialFolder;     // empty: the system's choice
  std::string fileName;          // what the name box starts with; may be empty
};

class FileDialogPort {
 public:
  virtual ~FileDialogPort() = default;

  // Shows the modal dialog and waits. True with `path` the chosen existing
  // file; false, `path` untouched, when the user cancels or the dialog fails.
  virtual bool ChooseFileToOpen(const FileOpenRequest& request, std::string& path) = 0;

  // The Save As dialog, asking before it replaces a file. True with `path`
  // the chosen file; false, `path` untouched, when the user cancels.
  virtual bool ChooseFileToSave(const FileOpenRequest& request, std::string& path) = 0;
};

}  // namespace corvane
