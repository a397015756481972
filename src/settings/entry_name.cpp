// Entry names from the command line. Case rules work on the ANSI bytes of
// the name, letters of the ASCII range only, as the registry compares key
// names without regard to case in that range anyway.
#include "settings/entry_name.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string EntryNameFromCommandLine(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine.front() == '/') return commandLine.substr(1);
  return commandLine;
}

std::string Capitalised(const std::string& name) {
  std::string result = name;
  for (size_t i = 0; i < result.size(); ++i) result[i] = i == 0 ? Upper(result[i]) : Lower(result[i]);
  return result;
}

std::string UpperCase(const std::string& text) {
  std::string result = text;
  std::transform(result.begin(), result.end(), result.begin(), Upper);
  return result;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsCustomEntryName(const std::string& name, const std::string& customEntryKey) {
  if (name.empty() || customEntryKey.empty()) return false;
  return EqualsIgnoringCase(customEntryKey.substr(1), name);
}

}  // namespace corvane
