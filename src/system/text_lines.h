// Splitting the text of a file into lines, the same way for every reader.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Lines of `text` without their breaks. A line ends at CR LF, LF or a lone
// CR, so files from any editor give no stray CR. A last line without a
// break is kept; a break at the very end adds no empty line. Empty text
// gives no lines.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace corvane
