// How the entry name is taken from the command line and compared.
#pragma once

#include <string>

namespace corvane {

// The whole command line, one leading "/" dropped.
std::string EntryNameFromCommandLine(const std::string& commandLine);

// First character upper case, the rest lower case.
std::string Capitalised(const std::string& name);

// Every letter upper case.
std::string UpperCase(const std::string& text);

bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// True when `name` is not empty and names the custom entry recorded as
// `customEntryKey` (the key name with its leading "*"), ignoring case.
bool IsCustomEntryName(const std::string& name, const std::string& customEntryKey);

}  // namespace corvane
