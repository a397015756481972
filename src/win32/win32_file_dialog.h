// FileDialogPort over the common dialog's GetOpenFileNameA, owned by the
// window that is active when it opens.
#pragma once

#include "system/file_dialog_port.h"

namespace corvane {

class Win32FileDialog : public FileDialogPort {
 public:
  bool ChooseFileToOpen(const FileOpenRequest& request, std::string& path) override;
};

}  // namespace corvane
