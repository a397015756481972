// Where a script's command writes, the program being a windowed one: the
// standard output it was given (a file, a pipe), or else the console of the
// program that started it. It never opens a console of its own; with
// neither, the text goes nowhere and the exit code alone tells.
#pragma once

#include <windows.h>

#include <string>

#include "win32/unique_handle.h"

namespace corvane {

class ScriptOutput {
 public:
  ScriptOutput();

  // Writes `text`, which is in code page `codePage`: to a console as the
  // characters it stands for, to a file or pipe byte for byte.
  void Write(const std::string& text, UINT codePage);

 private:
  HANDLE out_ = nullptr;
  bool console_ = false;
  UniqueFileHandle consoleOut_;
};

}  // namespace corvane
