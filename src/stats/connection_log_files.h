// The files of the connection log, in the program's folder of local data
// (%LOCALAPPDATA%\Corvane): named by file name alone, written whole or
// appended to, and the code page the program's texts arrive in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

class ConnectionLogFiles {
 public:
  virtual ~ConnectionLogFiles() = default;

  // Appends `bytes` to the file `name` in one write and flushes it to the
  // disk, creating the folder and the file when missing. 0, or the
  // system's error code when it cannot.
  virtual uint32_t Append(const std::string& name, const std::string& bytes) = 0;

  // The whole file; false, with `bytes` empty, when it is missing or unreadable.
  virtual bool Read(const std::string& name, std::string& bytes) = 0;

  // Its size in bytes; -1 when there is no such file.
  virtual int64_t Size(const std::string& name) = 0;

  // Makes `bytes` the whole of `name` in one step (written aside, then
  // moved over it), so a cut leaves the old file or the new, never half;
  // the folder is created when missing.
  virtual bool Replace(const std::string& name, const std::string& bytes) = 0;

  // The names of the year files ("Connections-2024.csv", ...), any order.
  virtual std::vector<std::string> YearFileNames() = 0;

  // The system's sentence for `error` (Append's code), for the user.
  virtual std::string ErrorText(uint32_t error) = 0;

  // The full path of `name`, for messages.
  virtual std::string PathOf(const std::string& name) = 0;

  // `text` from the program's ANSI code page as UTF-8, and back (a
  // character the code page lacks becomes its stand-in).
  virtual std::string Utf8FromAnsi(const std::string& text) = 0;
  virtual std::string AnsiFromUtf8(const std::string& text) = 0;

  // Writes `bytes` as the whole file at `path`, anywhere the user chose.
  // 0, or the system's error code.
  virtual uint32_t Export(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace corvane
