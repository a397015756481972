// Splitting the program name off the process command line, the way the
// system's own parser finds the end of the first argument.
#include "app/command_line.h"

namespace corvane {

std::string ArgumentsOf(const std::string& processCommandLine) {
  const std::string& line = processCommandLine;
  size_t pos = 0;
  if (!line.empty() && line[0] == '"') {
    const size_t close = line.find('"', 1);
    pos = close == std::string::npos ? line.size() : close + 1;
  } else {
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
  }
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  size_t end = line.size();
  while (end > pos && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  return line.substr(pos, end - pos);
}

}  // namespace corvane
