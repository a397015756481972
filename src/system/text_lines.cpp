// SplitTextLines.
#include "system/text_lines.h"

namespace corvane {

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachTextLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace corvane
