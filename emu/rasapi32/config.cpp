// Finding and caching the scenario; finding the phonebook.
#include "config.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <utility>
#include <vector>

namespace standin {

HMODULE g_module = nullptr;

namespace {

std::string Environment(const char* name) {
  char value[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string DefaultScenarioPath() {
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_module, module, sizeof module);
  if (length == 0 || length >= sizeof module) return std::string();
  return FolderOf(std::string(module, length)) + "\\rasapi32.scenario";
}

}  // namespace

Config CurrentConfig() {
  static std::mutex guard;
  static Config cached;
  static bool loaded = false;

  std::string path = Environment("CORVANE_RAS_SCENARIO");
  if (path.empty()) path = DefaultScenarioPath();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const bool exists = !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
  std::string key;
  if (exists) {
    std::ostringstream stamp;
    stamp << path << '|' << data.ftLastWriteTime.dwHighDateTime << '.' << data.ftLastWriteTime.dwLowDateTime << '|'
          << data.nFileSizeLow;
    key = stamp.str();
  }

  std::lock_guard<std::mutex> lock(guard);
  if (loaded && cached.scenarioKey == key) return cached;
  Config config;
  if (exists) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    config.scenarioPath = path;
    config.scenarioKey = key;
    config.scenario = ParseScenario(text.str());
  } else {
    config.scenario = DefaultScenario();
  }
  cached = config;
  loaded = true;
  return config;
}

std::string PhonebookPath(const char* explicitPath, const Config& config) {
  if (explicitPath != nullptr && explicitPath[0] != 0) return explicitPath;
  std::string path = Environment("CORVANE_RAS_PHONEBOOK");
  if (!path.empty()) return path;
  if (!config.scenario.phonebook.empty()) {
    path = config.scenario.phonebook;
    if (!IsAbsolute(path) && !config.scenarioPath.empty()) path = FolderOf(config.scenarioPath) + "\\" + path;
    return path;
  }
  std::string base = Environment("APPDATA");
  if (base.empty()) base = FolderOf(DefaultScenarioPath());
  return base + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
}

namespace {

constexpr size_t kKeptCounts = 32;

std::string DialCountsPath() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  return std::string(folder, length < sizeof folder ? length : 0) + "corvane-rasapi32-dials.txt";
}

}  // namespace

uint32_t NextDialIndex(const std::string& key) {
  // One "count<TAB>key" line per scenario version, the most recent last.
  std::vector<std::pair<uint32_t, std::string>> counts;
  {
    std::ifstream file(DialCountsPath(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
      const size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      counts.emplace_back(static_cast<uint32_t>(std::strtoul(line.c_str(), nullptr, 10)), line.substr(tab + 1));
    }
  }
  uint32_t index = 0;
  for (size_t i = 0; i < counts.size(); ++i) {
    if (counts[i].second != key) continue;
    index = counts[i].first;
    counts.erase(counts.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  counts.emplace_back(index + 1, key);
  if (counts.size() > kKeptCounts) counts.erase(counts.begin());
  std::ofstream file(DialCountsPath(), std::ios::binary | std::ios::trunc);
  for (const auto& [count, name] : counts) file << count << '\t' << name << '\n';
  return index;
}

namespace {

std::string DialLogPath() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  return std::string(folder, length < sizeof folder ? length : 0) + "corvane-rasapi32-dial-log.txt";
}

}  // namespace

void ResetDialCounts() {
  DeleteFileA(DialCountsPath().c_str());
  DeleteFileA(DialLogPath().c_str());
}

void LogDial(const std::string& number, const std::string& userName, uint32_t error) {
  std::ofstream file(DialLogPath(), std::ios::binary | std::ios::app);
  file << number << '\t' << userName << '\t' << error << '\n';
}

std::string DialLog() {
  std::ifstream file(DialLogPath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void CreateParentFolders(const std::string& path) {
  for (size_t slash = path.find_first_of("\\/", 3); slash != std::string::npos;
       slash = path.find_first_of("\\/", slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

}  // namespace standin
