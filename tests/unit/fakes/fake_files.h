// Fakes of the file and download ports: in-memory files given as lines, and
// a download that answers with a preset status and body.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "system/download_port.h"
#include "system/file_system_port.h"

namespace corvane::testing {

class FakeFileSystem : public FileSystemPort {
 public:
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool ReadLines(const std::string& path, std::vector<std::string>& lines) override {
    lines.clear();
    auto found = files.find(path);
    if (found == files.end() || unreadable) return false;
    lines = found->second;
    return true;
  }
  bool ReadText(const std::string& path, std::string& text) override {
    text.clear();
    std::vector<std::string> lines;
    if (!ReadLines(path, lines)) return false;
    for (const std::string& line : lines) text += line + "\r\n";
    return true;
  }

  std::map<std::string, std::vector<std::string>> files;
  bool unreadable = false;  // files exist but cannot be read
};

class FakeDownload : public DownloadPort {
 public:
  struct Request {
    std::string url;
    unsigned timeoutMs;
    size_t maxBytes;
  };
  int32_t Download(const std::string& url, unsigned timeoutMs, size_t maxBytes, std::string& body) override {
    requests.push_back({url, timeoutMs, maxBytes});
    if (onEvents) onEvents();
    if (DownloadSucceeded(status)) body = this->body;
    return status;
  }

  int32_t status = 200;
  std::string body;
  std::vector<Request> requests;
  // Runs as the window events that arrive while the transfer goes on.
  std::function<void()> onEvents;
};

}  // namespace corvane::testing
