// Reading the program's small text files (the phone list and the user list)
// as lines of text, or as one text.
#pragma once

#include <string>
#include <vector>

namespace corvane {

class FileSystemPort {
 public:
  virtual ~FileSystemPort() = default;

  // True when `path` names an existing file; a folder is not a file.
  virtual bool FileExists(const std::string& path) = 0;

  // The whole file as lines split by SplitTextLines (text_lines.h). False,
  // with `lines` left empty, when it cannot be opened or read.
  virtual bool ReadLines(const std::string& path, std::vector<std::string>& lines) = 0;

  // The whole file as one text, line breaks included, for a reader that
  // splits it itself (ForEachTextLine). False, with `text` left empty, when
  // it cannot be opened or read.
  virtual bool ReadText(const std::string& path, std::string& text) = 0;
};

}  // namespace corvane
