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
  // One plain pass over the characters: a phone list has ten thousand lines
  // or more, and a search for either break from every line's start costs
  // several times as much.
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    visit(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) visit(text.substr(start));
}

// The lines of `text` as ForEachTextLine finds them.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace corvane
