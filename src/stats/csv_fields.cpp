// CsvField, ForEachCsvField.
#include "stats/csv_fields.h"

namespace corvane {

namespace {

// A tab before the formula is no protection: a spreadsheet drops it.
bool StartsLikeFormula(std::string_view text) {
  return !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' || text[0] == '\'' ||
                           text[0] == '\t');
}

// Takes off the apostrophe CsvField put before a text that starts like a formula.
std::string_view Unguarded(std::string_view text) {
  if (text.size() >= 2 && text[0] == '\'' && StartsLikeFormula(text.substr(1))) text.remove_prefix(1);
  return text;
}

}  // namespace

std::string CsvField(std::string_view text) {
  // Line breaks become spaces first: a leading one is a leading space then,
  // and the field is quoted for it.
  std::string plain;
  for (char c : text) plain += (c == '\r' || c == '\n') ? ' ' : c;
  if (StartsLikeFormula(plain)) plain.insert(plain.begin(), '\'');
  // A semicolon is quoted too: where it is the list separator, a
  // spreadsheet splits the field at it.
  const bool quoted = plain.find_first_of(",\";") != std::string::npos ||
                      (!plain.empty() && (plain.front() == ' ' || plain.back() == ' '));
  if (!quoted) return plain;
  std::string field = "\"";
  for (char c : plain) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

bool ForEachCsvField(std::string_view row, const std::function<bool(std::string_view field)>& visit) {
  std::string undoubled;  // a quoted field's text when it had doubled quotes
  size_t at = 0;
  while (true) {
    std::string_view field;
    if (at < row.size() && row[at] == '"') {
      const size_t start = ++at;
      bool doubled = false;
      while (true) {
        if (at >= row.size()) return false;
        if (row[at] != '"') {
          ++at;
        } else if (at + 1 < row.size() && row[at + 1] == '"') {
          doubled = true;
          at += 2;
        } else {
          break;
        }
      }
      field = row.substr(start, at - start);
      ++at;  // the closing quote
      if (at < row.size() && row[at] != ',') return false;
      if (doubled) {
        undoubled.clear();
        for (size_t i = 0; i < field.size(); ++i) {
          undoubled += field[i];
          if (field[i] == '"') ++i;  // its double
        }
        field = undoubled;
      }
    } else {
      const size_t comma = row.find(',', at);
      const size_t end = comma == std::string_view::npos ? row.size() : comma;
      field = row.substr(at, end - at);
      if (field.find('"') != std::string_view::npos) return false;
      at = end;
    }
    if (!visit(Unguarded(field))) return false;
    if (at >= row.size()) return true;
    ++at;  // the comma
  }
}

}  // namespace corvane
