// FileDialogPort over the common dialog's GetOpenFileNameA and
// GetSaveFileNameA, owned by the window that is active when it opens.
#pragma once

#include "system/file_dialog_port.h"

namespace corvane {

class Win32FileDialog : public FileDialogPort {
 public:
  bool ChooseFileToOpen(const FileOpenRequest& request, std::string& path) override;
  bool ChooseFileToSave(const FileOpenRequest& request, std::string& path) override;

 private:
  bool Choose(const FileOpenRequest& request, bool save, std::string& path);
};

}  // namespace corvane
