// Fields of one CSV row (RFC 4180): quoting a text for a row, and walking a
// row's fields back. A row here is one line: the program never writes a
// line break inside a field, so a reader can split a file by lines and a torn
// line never runs into the next.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// `text` as a field: quoted, with its quotes doubled, when it holds a comma,
// a semicolon, a quote or a space at either end; line breaks become spaces.
// A text a spreadsheet would take for a formula (it starts with =, +, -, @
// or a tab) gets a leading apostrophe, as does one that starts with an
// apostrophe, so a number from a downloaded file cannot run in the user's
// spreadsheet.
std::string CsvField(std::string_view text);

// Hands the fields of `row` (no line break) to `visit` one by one, left to
// right, apostrophes added by CsvField taken off again. A field is a view
// into `row`, or for a quoted field with doubled quotes into a text that
// holds only until the next call. False when a quoted field is not closed
// or text follows its closing quote, or when `visit` returns false (it
// stops the walk there).
bool ForEachCsvField(std::string_view row, const std::function<bool(std::string_view field)>& visit);

}  // namespace corvane
