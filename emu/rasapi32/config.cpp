// Finding and caching the scenario; finding the phonebook.
#include "config.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
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

// What tells one version of the scenario file from another: its path, and
// its time and size as the file system reports them now.
struct ScenarioStamp {
  std::string path;
  bool exists = false;
  FILETIME written{};
  DWORD size = 0;

  bool operator==(const ScenarioStamp& other) const {
    return path == other.path && exists == other.exists && written.dwHighDateTime == other.written.dwHighDateTime &&
           written.dwLowDateTime == other.written.dwLowDateTime && size == other.size;
  }

  // The key of the dial counts, kept in a file across runs: its form stays.
  std::string Key() const {
    if (!exists) return std::string();
    std::ostringstream stamp;
    stamp << path << '|' << written.dwHighDateTime << '.' << written.dwLowDateTime << '|' << size;
    return stamp.str();
  }
};

ScenarioStamp StampNow() {
  ScenarioStamp stamp;
  stamp.path = Environment("CORVANE_RAS_SCENARIO");
  if (stamp.path.empty()) {
    // The module does not move while it is loaded.
    static const std::string besideModule = DefaultScenarioPath();
    stamp.path = besideModule;
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  stamp.exists = !stamp.path.empty() && GetFileAttributesExA(stamp.path.c_str(), GetFileExInfoStandard, &data) != 0;
  if (stamp.exists) {
    stamp.written = data.ftLastWriteTime;
    stamp.size = data.nFileSizeLow;
  }
  return stamp;
}

std::shared_ptr<const Config> ReadConfig(const ScenarioStamp& stamp) {
  auto config = std::make_shared<Config>();
  if (stamp.exists) {
    std::ifstream file(stamp.path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    config->scenarioPath = stamp.path;
    config->scenarioKey = stamp.Key();
    config->scenario = ParseScenario(text.str());
  } else {
    config->scenario = DefaultScenario();
  }
  return config;
}

}  // namespace

std::shared_ptr<const Config> CurrentConfig() {
  static std::mutex guard;
  static ScenarioStamp cachedStamp;
  static std::shared_ptr<const Config> cached;

  // One look at the file per call: a scenario rewritten while a program runs
  // is seen by its next call, and an unchanged one costs no copy.
  ScenarioStamp stamp = StampNow();
  std::lock_guard<std::mutex> lock(guard);
  if (cached == nullptr || !(stamp == cachedStamp)) {
    cached = ReadConfig(stamp);
    cachedStamp = std::move(stamp);
  }
  return cached;
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

// The stand-in's small files in the temporary folder, shared by every
// process that uses it.
std::string TempFile(const char* name) {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  return std::string(folder, length < sizeof folder ? length : 0) + name;
}

std::string DialCountsPath() { return TempFile("corvane-rasapi32-dials.txt"); }
std::string DialLogPath() { return TempFile("corvane-rasapi32-dial-log.txt"); }
std::string LineLogPath() { return TempFile("corvane-rasapi32-line-log.txt"); }
std::string TrafficLogPath() { return TempFile("corvane-rasapi32-traffic-log.txt"); }

std::string WholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
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

void ResetDialCounts() {
  DeleteFileA(DialCountsPath().c_str());
  DeleteFileA(DialLogPath().c_str());
  DeleteFileA(LineLogPath().c_str());
  DeleteFileA(TrafficLogPath().c_str());
}

void LogDial(const std::string& number, const std::string& userName, uint32_t error) {
  std::ofstream file(DialLogPath(), std::ios::binary | std::ios::app);
  file << number << '\t' << userName << '\t' << error << '\n';
}

std::string DialLog() { return WholeFile(DialLogPath()); }

void LogLineEnd(uint64_t handle, const std::string& number, uint64_t upMs) {
  char line[200];
  std::snprintf(line, sizeof line, "0x%llx\t%s\t%llu.%03llu\n", static_cast<unsigned long long>(handle),
                number.c_str(), static_cast<unsigned long long>(upMs / 1000),
                static_cast<unsigned long long>(upMs % 1000));
  std::ofstream file(LineLogPath(), std::ios::binary | std::ios::app);
  file << line;
}

std::string LineLog() { return WholeFile(LineLogPath()); }

void LogTraffic(uint64_t handle, uint32_t sent, uint32_t received, uint64_t upMs) {
  char line[200];
  std::snprintf(line, sizeof line, "0x%llx\t%lu\t%lu\t%llu.%03llu\n", static_cast<unsigned long long>(handle),
                static_cast<unsigned long>(sent), static_cast<unsigned long>(received),
                static_cast<unsigned long long>(upMs / 1000), static_cast<unsigned long long>(upMs % 1000));
  std::ofstream file(TrafficLogPath(), std::ios::binary | std::ios::app);
  file << line;
}

std::string TrafficLog() { return WholeFile(TrafficLogPath()); }

void CreateParentFolders(const std::string& path) {
  for (size_t slash = path.find_first_of("\\/", 3); slash != std::string::npos;
       slash = path.find_first_of("\\/", slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

}  // namespace standin
