// The shell as the program uses it: the single-instance guard, starting
// documents and programs, finding the program that opens a file, and the
// temporary folder with the few file operations done there. Other parts of
// the shell (notification icon, shell links, special folders) have ports of
// their own.
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

  // The system's temporary folder, ending with its separator; empty when
  // the system gives none that fits 255 characters.
  virtual std::string TempFolder() = 0;

  // Creates `path` as an empty file (or empties an existing one) and closes
  // it. False when the file cannot be created.
  virtual bool CreateEmptyFile(const std::string& path) = 0;

  // Deletes the file `path`. False when it could not be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;

  // Asks the shell which program opens `file` in `directory`. `program`
  // receives the shell's whole 260-character answer buffer, NULs included;
  // the result is the shell's code, above 32 when a program was found.
  virtual long FindExecutableFor(const std::string& file, const std::string& directory,
                                 std::string& program) = 0;
};

}  // namespace corvane
