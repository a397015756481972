// CsvField, SplitCsvRow.
#include "stats/csv_fields.h"

#include <algorithm>

namespace corvane {

namespace {

bool StartsLikeFormula(std::string_view text) {
  return !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' || text[0] == '\'');
}

// Takes off the apostrophe CsvField put before a text that starts like a formula.
std::string Unguarded(std::string text) {
  if (text.size() >= 2 && text[0] == '\'' && StartsLikeFormula(std::string_view(text).substr(1))) text.erase(0, 1);
  return text;
}

}  // namespace

std::string CsvField(std::string_view text) {
  std::string plain;
  if (StartsLikeFormula(text)) plain += '\'';
  for (char c : text) plain += (c == '\r' || c == '\n') ? ' ' : c;
  const bool quoted = plain.find_first_of(",\"") != std::string::npos ||
                      (!plain.empty() && (plain.front() == ' ' || plain.back() == ' '));
  if (!quoted) return plain;
  std::string field = "\"";
  for (char c : plain) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

std::optional<std::vector<std::string>> SplitCsvRow(std::string_view row) {
  std::vector<std::string> fields;
  // A field for every comma (and the last): the vector grows no more.
  fields.reserve(static_cast<size_t>(std::count(row.begin(), row.end(), ',')) + 1);
  size_t at = 0;
  while (true) {
    std::string field;
    if (at < row.size() && row[at] == '"') {
      ++at;
      while (true) {
        if (at >= row.size()) return std::nullopt;
        if (row[at] == '"') {
          if (at + 1 < row.size() && row[at + 1] == '"') {
            field += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        field += row[at++];
      }
      if (at < row.size() && row[at] != ',') return std::nullopt;
    } else {
      const size_t comma = row.find(',', at);
      const size_t end = comma == std::string_view::npos ? row.size() : comma;
      field.assign(row.substr(at, end - at));
      if (field.find('"') != std::string::npos) return std::nullopt;
      at = end;
    }
    fields.push_back(Unguarded(std::move(field)));
    if (at >= row.size()) return fields;
    ++at;  // the comma
  }
}

}  // namespace corvane
