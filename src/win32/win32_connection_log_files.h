// ConnectionLogFiles over %LOCALAPPDATA%\Corvane: appends flushed to the
// disk, whole files replaced by a move, the ANSI code page turned to UTF-8.
#pragma once

#include "stats/connection_log_files.h"
#include "win32/win32_file_system.h"

namespace corvane {

class Win32ConnectionLogFiles : public ConnectionLogFiles {
 public:
  uint32_t Append(const std::string& name, const std::string& bytes) override;
  bool Read(const std::string& name, std::string& bytes) override;
  int64_t Size(const std::string& name) override;
  bool Replace(const std::string& name, const std::string& bytes) override;
  std::vector<std::string> YearFileNames() override;
  std::string ErrorText(uint32_t error) override;
  std::string PathOf(const std::string& name) override;
  std::string Utf8FromAnsi(const std::string& text) override;
  std::string AnsiFromUtf8(const std::string& text) override;
  uint32_t Export(const std::string& path, const std::string& bytes) override;

 private:
  // The folder, looked up once; empty when the system has none.
  const std::string& Folder();
  // Creates the folder when missing; 0, or the system's error code.
  uint32_t MakeFolder();

  std::string folder_;
  bool looked_ = false;
  Win32FileSystem reader_;
};

}  // namespace corvane
