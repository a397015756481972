// The phonebook: a text file in the style of rasphone.pbk, one [section] per
// entry, one Key=Value line per field of the entry record. Callers hold the
// state lock, which also serialises every access to the file.
#pragma once

#include <string>
#include <vector>

#include "records.h"

namespace standin {

struct PhonebookEntry {
  std::string name;  // as it was first stored
  RasEntry record;   // the newest version, dwSize unset
};

// Every entry of the file, in file order; empty when the file is missing.
std::vector<PhonebookEntry> LoadPhonebook(const std::string& path);

// The entry named `name` (letter case ignored), or null.
const PhonebookEntry* FindEntry(const std::vector<PhonebookEntry>& entries, const std::string& name);

// Writes the whole file; false when it cannot be written.
bool SavePhonebook(const std::string& path, const std::vector<PhonebookEntry>& entries);

bool SameName(const std::string& a, const std::string& b);

}  // namespace standin
