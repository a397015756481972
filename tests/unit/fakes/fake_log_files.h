// Fake of the connection log's files: in-memory files by name, a switch that
// makes every write fail, files that are there but cannot be read or
// replaced, a read that runs out of memory, and a code page conversion from
// Latin-1.
#pragma once

#include <cstdint>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "stats/connection_log_files.h"

namespace corvane::testing {

class FakeLogFiles : public ConnectionLogFiles {
 public:
  uint32_t Append(const std::string& name, const std::string& bytes) override {
    ++appends;
    if (writeError != 0) return writeError;
    files[name] += bytes;
    return 0;
  }
  bool Read(const std::string& name, std::string& bytes) override {
    ++reads;
    bytes.clear();
    if (readThrows) throw std::bad_alloc();
    if (unreadable.count(name) != 0) return false;
    auto found = files.find(name);
    if (found == files.end()) return false;
    bytes = found->second;
    return true;
  }
  int64_t Size(const std::string& name) override {
    auto found = files.find(name);
    return found == files.end() ? -1 : static_cast<int64_t>(found->second.size());
  }
  bool Replace(const std::string& name, const std::string& bytes) override {
    if (writeError != 0 || unreplaceable.count(name) != 0) return false;
    files[name] = bytes;
    return true;
  }
  std::vector<std::string> YearFileNames() override {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) {
      if (name.rfind("Connections-", 0) == 0) names.push_back(name);
    }
    return names;
  }
  std::string ErrorText(uint32_t error) override { return "System error " + std::to_string(error) + "."; }
  std::string PathOf(const std::string& name) override { return "C:\\Local\\Corvane\\" + name; }
  // The ANSI code page taken as Latin-1 (Windows-1252 agrees on the letters tests use).
  std::string Utf8FromAnsi(const std::string& text) override {
    std::string utf8;
    for (unsigned char c : text) {
      if (c < 0x80) {
        utf8 += static_cast<char>(c);
      } else {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return utf8;
  }

  // Back to Latin-1; a character beyond it becomes "?".
  std::string AnsiFromUtf8(const std::string& text) override {
    std::string ansi;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) {
        ansi += static_cast<char>(c);
      } else if ((c & 0xE0) == 0xC0 && c <= 0xC3 && i + 1 < text.size()) {
        ansi += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
      } else if ((c & 0xC0) != 0x80) {
        ansi += '?';
      }
    }
    return ansi;
  }
  uint32_t Export(const std::string& path, const std::string& bytes) override {
    if (writeError != 0) return writeError;
    exported[path] = bytes;
    return 0;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, std::string> exported;
  uint32_t writeError = 0;  // every write fails with it when set
  std::set<std::string> unreadable;     // there (in `files`), but Read fails
  std::set<std::string> unreplaceable;  // Replace fails
  bool readThrows = false;              // every Read runs out of memory
  int appends = 0;
  int reads = 0;
};

}  // namespace corvane::testing
