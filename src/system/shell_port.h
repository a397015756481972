// The shell as the program uses it: the single-instance guard and starting
// documents and programs. Later parts of the shell (notification icon, shell
// links, special folders) get ports of their own.
#pragma once

#include <string>

namespace corvane {

enum class ShowMode { Hide = 0, Normal = 1, Minimized = 2, Maximized = 3, MinimizedNoActivate = 7 };

class ShellPort {
 public:
  virtual ~ShellPort() = default;

  // Claims the program's single-instance token for the life of the process.
  // False when another running instance holds it already.
  virtual bool ClaimSingleInstance() = 0;

  // Starts `file` with `operation` ("open") as the shell would; the result is
  // the shell's code, above 32 on success.
  virtual long Execute(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       ShowMode show) = 0;
};

}  // namespace corvane
