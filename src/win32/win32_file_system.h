// FileSystemPort over the Win32 file functions.
#pragma once

#include "system/file_system_port.h"

namespace corvane {

class Win32FileSystem : public FileSystemPort {
 public:
  bool FileExists(const std::string& path) override;
  bool ReadLines(const std::string& path, std::vector<std::string>& lines) override;
  bool ReadText(const std::string& path, std::string& text) override;
};

}  // namespace corvane
