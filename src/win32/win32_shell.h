// ShellPort over a named mutex, ShellExecuteA, FindExecutableA and the
// temporary folder.
#pragma once

#include "system/shell_port.h"
#include "win32/unique_handle.h"

namespace corvane {

class Win32Shell : public ShellPort {
 public:
  bool ClaimSingleInstance() override;
  long Execute(const std::string& operation, const std::string& file, const std::string& parameters,
               const std::string& directory, ShowMode show) override;
  std::string TempFolder() override;
  bool CreateEmptyFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  long FindExecutableFor(const std::string& file, const std::string& directory, std::string& program) override;

  // Name of the mutex that marks a running instance in this session.
  static constexpr const char* kInstanceMutexName = "Local\\Tamberlo.Corvane.Instance";

 private:
  UniqueKernelHandle instanceMutex_;  // held for the life of the process
};

}  // namespace corvane
