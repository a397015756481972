// Splitting the text of a file into lines, the same way for every reader.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Calls `visit` with each line of `text`, without its break. A line ends at
// CR LF, LF or a lone CR, so files from any editor give no stray CR. A last
// line without a break is kept; a break at the very end adds no empty line.
// Empty text gives no lines.
template <typename Visit>
void ForEachTextLine(std::string_view text, Visit&& visit) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      visit(text.substr(start));
      break;
    }
    visit(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

// The lines of `text` as ForEachTextLine finds them.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace corvane
