// Fields of one CSV row (RFC 4180): quoting a text for a row, and splitting a
// row back into its texts. A row here is one line: the program never writes a
// line break inside a field, so a reader can split a file by lines and a torn
// line never runs into the next.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// `text` as a field: quoted, with its quotes doubled, when it holds a comma,
// a quote or a space at either end; line breaks become spaces. A text a
// spreadsheet would take for a formula (it starts with =, +, -, @) gets a
// leading apostrophe, as does one that starts with an apostrophe, so a
// number from a downloaded file cannot run in the user's spreadsheet.
std::string CsvField(std::string_view text);

// The fields of `row` (no line break), apostrophes added by CsvField taken
// off again; nullopt when a quoted field is not closed or text follows its
// closing quote.
std::optional<std::vector<std::string>> SplitCsvRow(std::string_view row);

}  // namespace corvane
